// Drives the exports as an arbitrary host would: each input is a sequence of calls (commands, data chunks, log
// drains, releases, spoiled records) on a few instances. Nothing may crash, leak or hang.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/params_list.h"
#include "plugin/plugin_exports.h"
#include "plugin/plugin_registry.h"
#include "quendra/quendra_module.h"

namespace {

using namespace quendra;
using ParamsPtr = std::unique_ptr<TzelParamsList, ListDeleter<TzelParamsList>>;

class Input {
 public:
  Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool done() const { return at_ >= size_; }
  uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
  std::string text() {
    std::size_t n = byte();
    n = std::min(n, size_ - at_);
    std::string s(reinterpret_cast<const char*>(data_ + at_), n);
    at_ += n;
    return s;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};

const char* const kCommands[] = {"LOAD", "UNLOAD", "SET-ITEMS", "SET-STATE", "ITEMS", "EVENTS-SUPPORT", "EVENT",
                                 "LOAD-SETTINGS-NOW", "load", ""};

void set_environment(const char* name, const std::string& value) {
#ifdef _WIN32
  _putenv_s(name, value.c_str());
#else
  setenv(name, value.c_str(), 1);
#endif
}

struct Setup {
  Setup() {
    const auto dir = std::filesystem::temp_directory_path() / "quendra-fuzz-exports";
    std::filesystem::create_directories(dir);
    set_environment("QUENDRA_REGISTRY_ROOT", (dir / "registry").string());
    set_environment("QUENDRA_LOCK_DIR", (dir / "locks").string());
    StartPluginRegistry();
    RegisterModuleClass();
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Setup setup;
  Input in(data, size);
  std::vector<char> log(256);
  for (int steps = 0; !in.done() && steps < 64; ++steps) {
    ParamsPtr params(TzelParamsList::create());
    QuendraCallRec rec{};
    rec.RecSize = sizeof rec;
    rec.Handle = 1 + in.byte() % 3;
    rec.ModuleTypes = in.byte();
    rec.Params = params->raw();
    rec.DataSourceID = in.byte() % 4;
    rec.ClientID = in.byte() % 4;
    std::string payload;
    const uint8_t op = in.byte();
    switch (op % 12) {
      case 0: {
        const char* command = kCommands[in.byte() % std::size(kCommands)];
        params->Add("COMMAND", OleVariant::from_ansi_as_wide(command));
        params->Add("DATA-SOURCES-IN-CFG", OleVariant::from_ansi_as_wide(in.text()));
        params->Add("RESULT", in.byte() % 2 ? OleVariant::from_int32(in.byte() % 3) : OleVariant::from_ansi_as_wide(in.text()));
        params->Add("ITEMS", OleVariant::from_ansi_as_wide(in.text()));
        params->Add("EVENT-TYPE", OleVariant::from_ansi_as_wide(in.text()));
        exports::ExecutePluginCommand(&rec);
        break;
      }
      case 1:
      case 2:
      case 3:
        payload = in.text();
        rec.DataType = QUENDRA_DT_TEXT;
        rec.Data = payload.data();
        rec.DataSize = static_cast<int32_t>(payload.size());
        exports::ProcessData(&rec);
        break;
      case 4: exports::GetData(&rec); break;
      case 5:
        rec.ResultValue = in.byte() % 2 ? 0 : rec.ResultValue;
        exports::GetEvents(&rec);
        exports::GetEvents(&rec);
        break;
      case 6:
        rec.Data = log.data();
        rec.DataSize = in.byte();
        exports::GetLogEx(&rec);
        exports::GetCustomCommands(&rec);
        break;
      case 7:
        rec.ReleaseFlag = QUENDRA_RELEASE_FLAG;
        rec.Params = in.byte() % 2 ? nullptr : rec.Params;
        exports::ExecutePluginCommand(&rec);
        break;
      case 8: rec.RecSize = in.byte(); exports::ProcessData(&rec); exports::ExecutePluginCommand(&rec); break;
      case 9: exports::ShowOptionsDialog(&rec); break;
      case 10:
        exports::GetModuleType(&rec);
        exports::GetModuleDescription(&rec);
        exports::GetAppMinVersion(&rec);
        exports::MultiThreadSupport(&rec);
        break;
      case 11: {
        QuendraParamsList fake{};  // a list without its validity mark
        rec.Params = &fake;
        exports::ExecutePluginCommand(&rec);
        exports::ProcessData(&rec);
        break;
      }
    }
  }
  // Every input starts from no instances, so one input cannot hide state for the next.
  for (uint32_t handle = 1; handle <= 3; ++handle) {
    QuendraCallRec release{};
    release.RecSize = sizeof release;
    release.Handle = handle;
    release.ReleaseFlag = QUENDRA_RELEASE_FLAG;
    exports::ExecutePluginCommand(&release);
  }
  return 0;
}
