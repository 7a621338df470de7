// The library's own file and other loaded modules: path, file version, entry points.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace quendra::platform {

using ModuleHandle = uintptr_t;

// Full path of the library (or program) this code is linked into.
std::string own_module_path();

// The four parts of a file's version (major, minor, release, build). Throws std::runtime_error when the file
// carries none. Windows reads the version resource; ELF files carry the what-string
// "@(#)QUENDRA-FILE-VERSION major.minor.release.build" instead.
std::array<uint16_t, 4> file_version(const std::string& path);
inline std::array<uint16_t, 4> own_file_version() { return file_version(own_module_path()); }

// Loads a library for a host program; 0 on failure (see last_load_error).
ModuleHandle load_library(const std::string& path);
void free_library(ModuleHandle module);
std::string last_load_error();

// A loaded module of the process by file name ("host.exe"); 0 when there is none.
ModuleHandle find_loaded_module(const std::string& name);

// An exported entry point of a loaded module; null when missing.
void* find_entry_point(ModuleHandle module, const char* name);

}  // namespace quendra::platform
