#include "platform/module.h"

#include <windows.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace quendra::platform {

namespace {

HMODULE own_module() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&own_module), &module);
  return module;
}

}  // namespace

std::string own_module_path() {
  char path[MAX_PATH * 2];
  DWORD n = GetModuleFileNameA(own_module(), path, sizeof path);
  return std::string(path, n < sizeof path ? n : 0);
}

std::array<uint16_t, 4> file_version(const std::string& path) {
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
  if (!size) throw std::runtime_error("no version resource");
  std::vector<char> data(size);
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!GetFileVersionInfoA(path.c_str(), 0, size, data.data()) ||
      !VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&info), &length) || !info)
    throw std::runtime_error("unreadable version resource");
  return {HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS), HIWORD(info->dwFileVersionLS),
          LOWORD(info->dwFileVersionLS)};
}

ModuleHandle load_library(const std::string& path) {
  return reinterpret_cast<ModuleHandle>(LoadLibraryA(path.c_str()));
}

void free_library(ModuleHandle module) {
  if (module) FreeLibrary(reinterpret_cast<HMODULE>(module));
}

std::string last_load_error() { return "Windows error " + std::to_string(GetLastError()); }

ModuleHandle find_loaded_module(const std::string& name) {
  return name.empty() ? 0 : reinterpret_cast<ModuleHandle>(GetModuleHandleA(name.c_str()));
}

void* find_entry_point(ModuleHandle module, const char* name) {
  if (!module) return nullptr;
  return reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(module), name));
}

}  // namespace quendra::platform
