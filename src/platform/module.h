// The library's own file and other loaded modules: path, file version, entry points.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace quendra::platform {

using ModuleHandle = uintptr_t;

// Full path of the library (or program) this code is linked into.
std::string own_module_path();

// The four parts of the file version (major, minor, release, build). Throws std::runtime_error when the
// file carries none.
std::array<uint16_t, 4> own_file_version();

// A loaded module of the process by file name ("host.exe"); 0 when there is none.
ModuleHandle find_loaded_module(const std::string& name);

// An exported entry point of a loaded module; null when missing.
void* find_entry_point(ModuleHandle module, const char* name);

}  // namespace quendra::platform
