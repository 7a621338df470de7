#include "platform/module.h"

#include <dlfcn.h>

#include <charconv>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string_view>

namespace quendra::platform {

std::string own_module_path() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&own_module_path), &info) && info.dli_fname) return info.dli_fname;
  return {};
}

namespace {

// Parses "major.minor.release.build" at `p`.
bool parse_version(const char* p, const char* end, std::array<uint16_t, 4>& parts) {
  for (std::size_t i = 0; i < parts.size(); ++i) {
    auto [next, error] = std::from_chars(p, end, parts[i]);
    if (error != std::errc() || (i < 3 && (next == end || *next != '.'))) return false;
    p = next + 1;
  }
  return true;
}

}  // namespace

std::array<uint16_t, 4> file_version(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  // The marker also occurs in this very code (without a version after it), so try every occurrence.
  constexpr std::string_view marker = "@(#)QUENDRA-FILE-VERSION ";
  std::array<uint16_t, 4> parts{};
  for (std::size_t at = bytes.find(marker); at != std::string::npos; at = bytes.find(marker, at + 1)) {
    if (parse_version(bytes.data() + at + marker.size(), bytes.data() + bytes.size(), parts)) return parts;
  }
  throw std::runtime_error("no file version in " + path);
}

ModuleHandle load_library(const std::string& path) {
  return reinterpret_cast<ModuleHandle>(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL));
}

void free_library(ModuleHandle module) {
  if (module) dlclose(reinterpret_cast<void*>(module));
}

std::string last_load_error() {
  const char* error = dlerror();
  return error ? error : "";
}

ModuleHandle find_loaded_module(const std::string& name) {
  if (name.empty()) return 0;
  void* handle = dlopen(name.c_str(), RTLD_LAZY | RTLD_NOLOAD);
  if (!handle) return 0;
  dlclose(handle);  // RTLD_NOLOAD took a reference; the module stays loaded by its owner
  return reinterpret_cast<ModuleHandle>(handle);
}

void* find_entry_point(ModuleHandle module, const char* name) {
  if (!module) return nullptr;
  return dlsym(reinterpret_cast<void*>(module), name);
}

}  // namespace quendra::platform
