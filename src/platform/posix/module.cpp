#include "platform/module.h"

#include <dlfcn.h>

#include <stdexcept>

namespace quendra::platform {

std::string own_module_path() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&own_module_path), &info) && info.dli_fname) return info.dli_fname;
  return {};
}

// ELF files carry no version resource: the build stamps the project version into the code instead.
std::array<uint16_t, 4> own_file_version() {
#ifdef QUENDRA_FILE_VERSION
  return {QUENDRA_FILE_VERSION};
#else
  throw std::runtime_error("no file version");
#endif
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
