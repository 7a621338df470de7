// Whether a directory entry is a file a user means to offer: a normal, read-only or archive file, not a
// folder and not marked hidden or system.
#pragma once

#include <string>

namespace quendra {

bool IsPlainVisibleFile(const std::string& path);

}  // namespace quendra
