// Whole-file reads and crash-safe whole-file writes.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace quendra::platform {

class FileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The file's bytes; nullopt when it does not exist. Throws FileError when it exists but cannot be read.
std::optional<std::string> read_whole_file(const std::string& path);

// Replaces the file's content with `data` so that a crash at any point leaves either the old or the new
// file: the bytes go to a temporary file in the same folder, are flushed to disk, and the temporary file
// is renamed over the target. A symbolic link is followed, so the link stays and its target changes.
// Throws FileError on failure; the target is then unchanged.
void write_file_atomically(const std::string& path, std::string_view data);

// True for an existing regular file (POSIX) or any non-directory file (Win32).
bool file_exists(const std::string& path);

// The absolute, normalised form of a path that may not exist yet, for comparing two spellings of one file.
std::string canonical_file_path(const std::string& path);

}  // namespace quendra::platform
