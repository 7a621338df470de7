#include "plugin/plugin_exports.h"

#include <cstring>
#include <exception>

#include "common/errors.h"
#include "plugin/plugin_registry.h"
#include "plugin/wait_for_flags.h"

namespace quendra::exports {

namespace {

constexpr uint32_t kBusyWaitMs = 30000;

PluginPtr find(PPluginCallRec rec) noexcept {
  try {
    return FindPlugin(rec);
  } catch (...) {
    return nullptr;
  }
}

// The guard every data export passes: a loaded instance is entered at once; an unloaded one with a call still
// running is waited for, then refused.
template <typename Step>
int32_t guarded_data_call(PPluginCallRec rec, bool clear_result, Step step) noexcept {
  if (!IsValidCallRec(rec)) return QUENDRA_INVALID;
  PluginPtr plugin = find(rec);
  if (!plugin) return QUENDRA_INVALID;
  try {
    if (!WaitForFlags(kBusyWaitMs, {&plugin->Busy, &plugin->Unloaded}, false)) return QUENDRA_INVALID;
  } catch (...) {
    return QUENDRA_INVALID;
  }
  // Counted before the Unloaded check, so an UNLOAD that sets the flag either refuses this call or waits for it.
  TzelPlugin::DataCallScope running(*plugin);
  if (plugin->Unloaded.load()) return QUENDRA_INVALID;
  plugin->Busy.store(true);
  if (clear_result) rec->ResultValue = 0;
  int32_t result;
  try {
    result = step(*plugin);
  } catch (...) {
    result = QUENDRA_FAILED;
  }
  plugin->Busy.store(false);
  return result;
}

// Shared negotiation of GetLogEx and GetCustomCommands: the text goes into the host's buffer only when it fits;
// otherwise ResultValue tells the host the size it needs.
int32_t copy_text_out(PPluginCallRec rec, const std::string& text) {
  rec->ResultValue = static_cast<intptr_t>(text.size());
  if (text.empty() || text.size() > static_cast<std::size_t>(rec->DataSize < 0 ? 0 : rec->DataSize) || !rec->Data)
    return 0;
  std::memcpy(rec->Data, text.data(), text.size());
  return static_cast<int32_t>(text.size());
}

// The frame of the two text exports: result 0 and an integer ResultValue unless the instance builds a text.
template <typename Build>
int32_t text_export(PPluginCallRec rec, Build build) noexcept {
  if (!rec) return 0;
  try {
    rec->ResultValue = 0;
    rec->ResultType = QUENDRA_DT_INTEGER;
    PluginPtr plugin = find(rec);
    return plugin ? build(*plugin) : 0;
  } catch (...) {
    return 0;
  }
}

}  // namespace

int32_t GetLogEx(PPluginCallRec rec) noexcept {
  return text_export(rec, [&](TzelPlugin& plugin) {
    // The buffer stays locked from reading to clearing, so no line is lost or sent twice.
    return plugin.LogBuffer.with_lock([&](TThreadStringList::List& lines) {
      std::string text = TThreadStringList::JoinLines(lines);
      if (!text.empty() && rec->DataSize == 0) {
        rec->ResultValue = static_cast<intptr_t>(text.size());
        lines.clear();  // a zero-size buffer asks to discard the waiting lines
        return 0;
      }
      int32_t copied = copy_text_out(rec, text);
      if (copied) lines.clear();
      return copied;
    });
  });
}

int32_t GetCustomCommands(PPluginCallRec rec) noexcept {
  return text_export(rec, [&](TzelPlugin& plugin) {
    if (!plugin.ModuleType.contains(TModuleType::mttMenuExt)) return 0;
    return copy_text_out(rec, plugin.CustomCommands.GetCustomCommandsText());
  });
}

int32_t GetEvents(PPluginCallRec rec) noexcept {
  return guarded_data_call(rec, false, [&](TzelPlugin& p) { return p.GetEventsCall(rec); });
}

int32_t GetData(PPluginCallRec rec) noexcept {
  return guarded_data_call(rec, true, [&](TzelPlugin& p) { return p.GetDataCall(rec); });
}

int32_t ProcessData(PPluginCallRec rec) noexcept {
  return guarded_data_call(rec, true, [&](TzelPlugin& p) { return p.ProcessDataCall(rec); });
}

void ShowOptionsDialog(PPluginCallRec rec) noexcept {
  if (!rec) return;
  try {
    rec->ResultType = QUENDRA_DT_INTEGER;
    rec->ResultSize = 4;
    rec->ResultValue = 2;
    PluginPtr plugin = find(rec);
    if (!plugin) return;
    if (!plugin->OnShowOptionsDialog) {
      rec->ResultValue = 3;
      return;
    }
    rec->ResultValue = 4;
    if (TzelParamsList* params = TzelParamsList::from(rec->Params); TzelParamsList::is_valid(rec->Params)) {
      plugin->ReadIniFileParam(params, true);
      plugin->ReadLanguageParam(params);
      if (auto owner = params->integer("OWNERFORM")) plugin->OwnerForm.store(static_cast<platform::WindowHandle>(*owner));
    }
    bool success = false;
    try {
      plugin->OnShowOptionsDialog(*plugin, rec, success);
    } catch (...) {
    }
    rec->ResultValue = success ? 1 : 0;
    if (!success) return;
    ForEachPlugin([&](TzelPlugin& sibling) {
      if (&sibling == plugin.get() || sibling.RegistryPath != plugin->RegistryPath || !sibling.OnLoadSettingsNow)
        return;
      try {
        sibling.OnLoadSettingsNow(sibling);
      } catch (...) {
      }
    });
  } catch (...) {
  }
}

uint8_t MultiThreadSupport(PPluginCallRec rec) noexcept {
  PluginPtr plugin = find(rec);
  return plugin && plugin->IsMultiThreadSupported ? 1 : 0;
}

int32_t GetPluginIntfVersion() noexcept { return QUENDRA_INTF_VERSION; }

float GetAppMinVersion(PPluginCallRec rec) noexcept {
  PluginPtr plugin = find(rec);
  return plugin ? plugin->MinVersion : -1.0f;
}

int32_t GetModuleType(PPluginCallRec rec) noexcept {
  PluginPtr plugin = find(rec);
  if (!plugin) return 0;
  return ModuleTypesToInt(plugin->ModuleType) | (static_cast<int32_t>(plugin->ModuleOptions & 0x03) << 16);
}

const char* GetModuleDescription(PPluginCallRec rec) noexcept {
  PluginPtr plugin = find(rec);
  return plugin ? plugin->Description.c_str() : nullptr;
}

int32_t ExecutePluginCommand(PPluginCallRec rec) noexcept {
  if (!IsValidCallRec(rec)) return QUENDRA_INVALID;
  PluginPtr plugin = find(rec);
  if (!plugin) return QUENDRA_INVALID;
  try {
    if (!TzelParamsList::is_valid(rec->Params)) throw InvalidCallParameters();
    auto command = TzelParamsList::from(rec->Params)->text("COMMAND");
    if (!command) return QUENDRA_INVALID;
    try {
      return plugin->ExecuteCommand(*command, rec);
    } catch (const std::exception& failure) {
      plugin->AddLogBuffered(0, failure.what());
      return QUENDRA_FAILED;
    } catch (...) {
      plugin->AddLogBuffered(0, "Unknown failure while executing the command");
      return QUENDRA_FAILED;
    }
  } catch (...) {
    return QUENDRA_FAILED;
  }
}

}  // namespace quendra::exports
