// Fresh GUIDs in registry text form.
#pragma once

#include <string>

namespace quendra::platform {

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper-case hexadecimal, a new random (version 4) GUID each call.
std::string new_guid_text();

}  // namespace quendra::platform
