// The command channel: ExecuteCommand and the built-in commands.
#include <atomic>
#include <charconv>

#include "common/errors.h"
#include "platform/clock.h"
#include "plugin/plugin.h"

namespace quendra {

namespace {

// Hosts sharing the library share one icon; without an application icon only the count is kept.
std::atomic<int32_t> g_icon_users{0};

TzelParamsList* params_of(PPluginCallRec rec) { return TzelParamsList::from(rec->Params); }

std::string text_or_empty(const TzelParamsList* params, std::string_view name) {
  return params ? params->text(name).value_or(std::string()) : std::string();
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= 32) s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= 32) s.remove_suffix(1);
  return s;
}

// A decimal integer as the data-source list gives it; -1 when the field is not one.
int32_t decimal_or_minus_one(std::string_view field) {
  int32_t value = -1;
  auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
  return error == std::errc() && end == field.data() + field.size() ? value : -1;
}

}  // namespace

std::string TzelPlugin::ReadIniFileParam(const TzelParamsList* params, bool store) {
  std::string file = text_or_empty(params, "INI-FILE");
  if (store && params) INIFile = file;
  return file;
}

void TzelPlugin::ReadLanguageParam(const TzelParamsList* params) {
  if (!params) return;
  if (auto code = params->text("LANGUAGE")) ChangeLanguage(*code);
}

int32_t TzelPlugin::ExecuteCommand(const std::string& command, PPluginCallRec rec) {
  std::lock_guard lock(CommandLock);
  if (CommandDepth.fetch_add(1) + 1 != 1) {
    // A command of this instance is already running on this thread: its handler called back into us.
    CommandDepth.fetch_sub(1);
    throw AssertionFailure(kPluginModuleUnit);
  }
  struct DepthGuard {
    std::atomic<int32_t>& depth;
    ~DepthGuard() { depth.fetch_sub(1); }
  } depth_guard{CommandDepth};

  TzelParamsList* params = params_of(rec);
  ReadLanguageParam(params);
  if (auto window = params->integer("MessagesProcessorHandle"))
    LogWindow.store(static_cast<platform::WindowHandle>(*window));
  if (auto owner = params->integer("OWNERFORM")) OwnerForm.store(static_cast<platform::WindowHandle>(*owner));

  if (command == "LOAD") return LoadModule(rec);
  if (command == "UNLOAD") return UnloadModule(rec);
  if (command == "SET-ITEMS") {
    OleVariant items = params->GetValue("ITEMS");
    if (!items.is_text()) return QUENDRA_INVALID;
    ParserItems.SetParserItemsText(items.to_ansi(), true);
    if (OnSetParserItems) OnSetParserItems(*this);
    return 0;
  }
  if (command == "SET-STATE") return SetState(rec);
  if (command == "ITEMS") {
    TzelParamsListItem* result = params->FindItem("RESULT");
    if (!result) return QUENDRA_INVALID;
    if (OnBeforeGetParserItems) OnBeforeGetParserItems(*this);
    ParserItemsText = ParserItems.GetParserItemsText();
    result->SetItemValue(OleVariant::from_ansi_as_wide(ParserItemsText));
    return 0;
  }
  if (command == "EVENTS-SUPPORT") {
    params->SetValue("RESULT", OleVariant::from_ansi_as_wide(EventsSupported), false);
    return 0;
  }
  if (command == "EVENT") {
    auto type = params->text("EVENT-TYPE");
    if (!type) return QUENDRA_INVALID;
    if (!OnEvent) return 0;
    int32_t result = QUENDRA_INVALID;
    try {
      OnEvent(*this, *type, rec, result);
    } catch (...) {
      return QUENDRA_FAILED;
    }
    return result;
  }
  if (command == "SAVE-SETTINGS-NOW") return SettingsNow(rec, false);
  if (command == "LOAD-SETTINGS-NOW") return SettingsNow(rec, true);

  if (!OnExecuteCustomCommand) return QUENDRA_UNKNOWN_COMMAND;
  int32_t result = QUENDRA_UNKNOWN_COMMAND;
  try {
    OnExecuteCustomCommand(*this, command, rec, result);
  } catch (...) {
    return QUENDRA_FAILED;
  }
  return result;
}

int32_t TzelPlugin::LoadModule(PPluginCallRec rec) {
  try {
    if (LoadCount.fetch_add(1) + 1 > 1) return 0;
    TzelParamsList* params = params_of(rec);
    SenderID = rec->SenderID;
    RegistryPath = text_or_empty(params, "RegistryPath");
    INISectionPrefix = text_or_empty(params, "INISectionPrefix");
    if (auto host = params->integer("HANDLE")) HostModule = static_cast<platform::ModuleHandle>(*host);
    ApplicationName = text_or_empty(params, "ApplicationName");
    if (!HostModule && !ApplicationName.empty()) HostModule = platform::find_loaded_module(ApplicationName);
    INIFile = text_or_empty(params, "INI-FILE");
    OutputRows.create();
    if (!EventRows) EventRows.reset(TzelRowsParamsList::create());

    HostSendData = HostSendString = HostSendByte = nullptr;
    if (HostModule) {
      g_icon_users.fetch_add(1);
      HostSendData = platform::find_entry_point(HostModule, "fSendData");
      HostSendString = platform::find_entry_point(HostModule, "fSendString");
      HostSendByte = platform::find_entry_point(HostModule, "fSendByte");
    }
    Unloaded.store(false);
    int32_t result = 0;
    if (OnLoad) OnLoad(*this, rec, result);
    return result;
  } catch (...) {
    return QUENDRA_FAILED;
  }
}

int32_t TzelPlugin::UnloadModule(PPluginCallRec rec) {
  try {
    int32_t count = LoadCount.fetch_sub(1) - 1;
    if (count < 0) {
      LoadCount.store(0);
      return 0;
    }
    if (count > 0) return 0;
    if (HostModule) g_icon_users.fetch_sub(1);
    Unloaded.store(true);
    for (auto& state : ModuleState) state.store(false);

    auto swallow = [](auto&& step) {
      try {
        step();
      } catch (...) {
      }
    };
    std::string ini_file = ReadIniFileParam(params_of(rec), false);
    if (ini_file != INIFile) {
      INIFile = ini_file;
      swallow([&] {
        if (OnSaveSettingsNow) OnSaveSettingsNow(*this);
      });
    }
    int32_t result = 0;
    swallow([&] {
      if (OnUnload) OnUnload(*this, rec, result);
    });
    // Data calls already inside may still be filling or handing out the row lists: let them finish first.
    // New ones are refused since Unloaded is set. If one never ends, the lists stay (freed with the
    // instance) rather than vanish under it.
    if (WaitForDataCalls()) {
      swallow([&] { OutputRows.reset(); });
      swallow([&] { EventRows.reset(); });
    }
    HostModule = 0;
    LogWindow.store(0);
    return result;
  } catch (...) {
    return QUENDRA_FAILED;
  }
}

bool TzelPlugin::WaitForDataCalls() {
  constexpr uint32_t kWaitMs = 30000;
  const uint32_t start = platform::tick_count();
  while (RunningDataCalls.load() > 0) {
    if (platform::tick_count() - start >= kWaitMs) return false;
    platform::pump_messages();  // a running call may be logging to a window of this thread
    platform::sleep_ms(1);
  }
  return true;
}

int32_t TzelPlugin::SetState(PPluginCallRec rec) {
  TzelParamsList* params = params_of(rec);
  if (auto sources = params->text("DATA-SOURCES-IN-CFG")) {
    ConfigDataSources.clear();
    for (const std::string& line : TThreadStringList::SplitLines(*sources)) {
      std::string_view fields[3];
      std::string_view rest = line;
      for (auto& field : fields) {
        std::size_t semicolon = rest.find(';');
        field = trim(rest.substr(0, semicolon));
        rest = semicolon == std::string_view::npos ? std::string_view() : rest.substr(semicolon + 1);
      }
      int32_t id = decimal_or_minus_one(fields[0]);
      if (id == -1) continue;
      ConfigDataSources.push_back({id, std::string(fields[1]), std::string(fields[2])});
    }
  }
  OleVariant result_value = params->GetValue("RESULT");
  if (result_value.is_missing()) return QUENDRA_INVALID;
  auto state = result_value.to_int64();
  if (!state) throw std::invalid_argument("RESULT is not an integer");
  const TModuleTypes types = TModuleTypes::from_bits(rec->ModuleTypes);
  for (int t = 0; t < kModuleTypeCount; ++t)
    if (types.contains(static_cast<TModuleType>(t))) ModuleState[t].store(*state == 1);
  if (OnStateChanged) OnStateChanged(*this, types);
  return 0;
}

int32_t TzelPlugin::SettingsNow(PPluginCallRec rec, bool load) {
  const std::string remembered = INIFile;
  struct Restore {
    std::string& target;
    const std::string& value;
    ~Restore() { target = value; }
  } restore{INIFile, remembered};
  INIFile = ReadIniFileParam(params_of(rec), false);
  if (load) {
    if (OnLoadSettingsNow) OnLoadSettingsNow(*this);
    INIFile = remembered;
  }
  if (OnSaveSettingsNow) OnSaveSettingsNow(*this);
  return 0;
}

}  // namespace quendra

