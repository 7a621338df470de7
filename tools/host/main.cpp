// quendra-host: a data-logging host in miniature. It loads the plug-in library and talks to it only through
// its exports, as a real host does.
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "platform/module.h"
#include "plugin_library.h"

namespace {

constexpr uint32_t kInstanceHandle = 1;

struct Options {
  std::string plugin = QUENDRA_DEFAULT_PLUGIN;
  bool info = false;
};

void usage() {
  std::fputs(
      "usage: quendra-host [--plugin PATH] --info\n"
      "  --plugin PATH  the plug-in library (default: the one built beside this program)\n"
      "  --info         print what the plug-in reports about itself\n",
      stderr);
}

bool parse(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--plugin" && i + 1 < argc) {
      options.plugin = argv[++i];
    } else if (arg == "--info") {
      options.info = true;
    } else {
      return false;
    }
  }
  return options.info;
}

std::string module_type_text(int32_t type) {
  static const char* const kNames[] = {"mttDataQuery",  "mttDataParser", "mttDataExport", "mttEventsHandling",
                                       "mttLogging",    "mttFilter",     "mttDeviceLayer", "mttMenuExt"};
  std::string names;
  for (int bit = 0; bit < 8; ++bit)
    if (type & (1 << bit)) names += std::string(names.empty() ? "" : ", ") + kNames[bit];
  return std::to_string(type) + " [" + names + "]";
}

std::string file_version_text(const std::string& path) {
  try {
    auto v = quendra::platform::file_version(path);
    return std::to_string(v[0]) + "." + std::to_string(v[1]) + "." + std::to_string(v[2]) + " build " +
           std::to_string(v[3]);
  } catch (const std::exception&) {
    return "unknown";
  }
}

int print_info(const quendra::host::PluginLibrary& library, const std::string& path) {
  using quendra::host::ParamsPtr;
  const auto& api = library.api();
  ParamsPtr params(quendra::TzelParamsList::create());
  QuendraCallRec rec = library.record(kInstanceHandle, params.get());
  const char* description = api.GetModuleDescription(&rec);
  std::printf("interface version:    %d\n", api.GetPluginIntfVersion());
  std::printf("description:          %s\n", description ? description : "");
  std::printf("version:              %s\n", file_version_text(path).c_str());
  std::printf("module type:          %s\n", module_type_text(api.GetModuleType(&rec)).c_str());
  std::printf("minimum host version: %.1f\n", static_cast<double>(api.GetAppMinVersion(&rec)));
  std::printf("multi-thread support: %s\n", api.MultiThreadSupport(&rec) ? "yes" : "no");
  library.drain_log(kInstanceHandle);
  QuendraCallRec release = library.record(kInstanceHandle, nullptr);
  release.ReleaseFlag = QUENDRA_RELEASE_FLAG;
  api.ExecutePluginCommand(&release);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!parse(argc, argv, options)) {
    usage();
    return 1;
  }
  try {
    quendra::host::PluginLibrary library(options.plugin);
    return print_info(library, options.plugin);
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "quendra-host: %s\n", failure.what());
    return 2;
  }
}
