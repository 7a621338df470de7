// TzelPlugin: the base of every module instance the exports talk to. It holds what the host protocol needs per
// instance (identity, settings location, load state, role flags, output and event rows, the log channel,
// parser items, the host's data sources) and the events through which a concrete module does the work.
//
// Threads: commands run one at a time under CommandLock and write the host-given fields; data calls may run
// on any thread at the same time and only read them. The log operations may run on any thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "common/custom_commands.h"
#include "common/ole_variant.h"
#include "common/params_list.h"
#include "common/thread_containers.h"
#include "platform/module.h"
#include "platform/registry.h"
#include "platform/window.h"
#include "plugin/call_record.h"
#include "plugin/parser_items.h"
#include "plugin/thread_rows.h"

namespace quendra {

class TzelPlugin;

struct TConfigDataSource {
  int32_t ID = 0;
  std::string Name;
  std::string FullName;
};

// Translates a module's interface texts; supplied by the localisation layer at start-up.
class PluginTranslator {
 public:
  virtual ~PluginTranslator() = default;
  // The default language of the language file, empty when the file has none or does not exist.
  virtual std::string ReadFileLanguage() = 0;
  virtual bool HasLanguageFile() const = 0;
  virtual void TranslateModule(TzelPlugin& module, const std::string& language, const std::string& base) = 0;
  // One pass over texts the module keeps outside its own properties (its message table): `pass` gets the
  // function that translates one text from `base` into `language` and calls it for each. False when no pass
  // ran (the language file holds no translations).
  using TextTranslation = std::function<std::string(std::string_view text)>;
  virtual bool TranslateTexts(const std::string& language, const std::string& base,
                              const std::function<void(const TextTranslation&)>& pass) = 0;
};
using TranslatorFactory = std::unique_ptr<PluginTranslator> (*)(const std::string& language_file);
void RegisterTranslatorFactory(TranslatorFactory factory);

constexpr int kLogBufferLines = 100;
constexpr uint32_t kLogSendTimeoutMs = 1000;

class TzelPlugin {
 public:
  using CommandEvent = std::function<void(TzelPlugin& sender, PPluginCallRec rec, int32_t& result)>;
  using CustomCommandEvent =
      std::function<void(TzelPlugin& sender, const std::string& command, PPluginCallRec rec, int32_t& result)>;
  using NotifyEvent = std::function<void(TzelPlugin& sender)>;

  explicit TzelPlugin(PPluginCallRec rec);
  virtual ~TzelPlugin();
  TzelPlugin(const TzelPlugin&) = delete;
  TzelPlugin& operator=(const TzelPlugin&) = delete;

  // Runs after the concrete module's constructor: applies the language of the language file.
  void AfterConstruction();

  // Published properties (the concrete module sets them in its constructor).
  std::string MsgNoData = "No data for processing";
  std::string MsgWriteComplete = "Data have been processed successfully";
  std::string MsgWriteCompleteError = "Data have been processed with errors";
  float MinVersion = 4.0f;
  std::string Description;
  std::string LogTitle;
  TModuleTypes ModuleType;
  TModuleOptions ModuleOptions = 0;
  std::string EventsSupported;
  bool IsMultiThreadSupported = true;

  // Published events, in declaration order. An empty function is "no handler".
  std::function<void(TzelPlugin& sender, PPluginCallRec rec, bool& success)> OnShowOptionsDialog;
  CustomCommandEvent OnExecuteCustomCommand;
  CustomCommandEvent OnEvent;
  CommandEvent OnLoad;
  CommandEvent OnUnload;
  NotifyEvent OnSaveSettingsNow;
  NotifyEvent OnLoadSettingsNow;
  NotifyEvent OnSetParserItems;
  std::function<void(TzelPlugin& sender, TModuleTypes types)> OnStateChanged;
  CommandEvent OnProcessData;
  CommandEvent OnGetData;
  NotifyEvent OnBeforeGetParserItems;
  NotifyEvent OnChangeLanguage;

  // Run-time state.
  uint32_t Handle = 0;
  int32_t SenderID = 0;
  std::atomic<int32_t> LoadCount{0};
  std::atomic<bool> Unloaded{false};
  std::atomic<bool> Busy{false};
  // Data calls inside the instance right now. UNLOAD waits for them before it frees what they hand out.
  std::atomic<int32_t> RunningDataCalls{0};
  struct DataCallScope {
    explicit DataCallScope(TzelPlugin& p) : plugin(p) { plugin.RunningDataCalls.fetch_add(1); }
    ~DataCallScope() { plugin.RunningDataCalls.fetch_sub(1); }
    DataCallScope(const DataCallScope&) = delete;
    DataCallScope& operator=(const DataCallScope&) = delete;
    TzelPlugin& plugin;
  };
  std::recursive_mutex CommandLock;
  std::atomic<int32_t> CommandDepth{0};
  std::atomic<bool> ModuleState[kModuleTypeCount] = {};
  std::string RegistryPath, INISectionPrefix, INIFile;
  // The registry root tried first, and the one tried when the first cannot be opened.
  platform::RegistryRoot RegistryRoot = platform::RegistryRoot::LocalMachine;
  platform::RegistryRoot SecondRegistryRoot = platform::RegistryRoot::CurrentUser;
  std::string ApplicationName;
  platform::ModuleHandle HostModule = 0;
  void* HostSendData = nullptr;  // "fSendData", "fSendString", "fSendByte" of the host module, or null
  void* HostSendString = nullptr;
  void* HostSendByte = nullptr;
  std::atomic<platform::WindowHandle> OwnerForm{0};
  std::atomic<platform::WindowHandle> LogWindow{0};
  ThreadRows OutputRows;
  std::unique_ptr<TzelRowsParamsList, ListDeleter<TzelRowsParamsList>> EventRows;
  TThreadStringList LogBuffer;
  TzelPluginCustomCmdList CustomCommands;
  ParserItemList ParserItems;
  std::string ParserItemsText;
  std::vector<TConfigDataSource> ConfigDataSources;
  std::string ModuleDir, ModuleFileName, VersionText;
  std::string Language = "EN";
  bool LanguageApplied = false;
  platform::WindowRect DialogBounds;
  std::unique_ptr<PluginTranslator> Translator;

  bool IsModuleActive(TModuleType type) const { return ModuleState[static_cast<int>(type)].load(); }
  TModuleTypes ModuleStateSet() const;

  // Log channel: deliver at once to LogWindow, fall back to the buffer the host drains with GetLogEx.
  void AddLog(int msg_type, std::string_view text) noexcept;
  void AddLogBuffered(int msg_type, std::string_view text) noexcept;
  void NotifyLogWaiting() noexcept;
  std::string FormatLogLine(int msg_type, std::string_view text) const;

  // Language.
  void TranslateComponentTexts();
  void ApplyLanguage();
  void ChangeLanguage(const std::string& code);

  // Dialog placement.
  bool CenterOnOwner(platform::WindowRect& form) const;
  void SaveDialogBounds(const platform::WindowRect& form) { DialogBounds = form; }
  bool DialogBoundsChanged(const platform::WindowRect& form) const;

  // Commands (ExecutePluginCommand after the record and list checks).
  int32_t ExecuteCommand(const std::string& command, PPluginCallRec rec);
  // INI-FILE of a list, empty when missing; with `store` it also becomes INIFile.
  std::string ReadIniFileParam(const TzelParamsList* params, bool store);
  void ReadLanguageParam(const TzelParamsList* params);

  // Data calls, inside the busy guard.
  int32_t ProcessDataCall(PPluginCallRec rec);
  int32_t GetDataCall(PPluginCallRec rec);
  int32_t GetEventsCall(PPluginCallRec rec);

 private:
  int32_t LoadModule(PPluginCallRec rec);
  int32_t UnloadModule(PPluginCallRec rec);
  int32_t SetState(PPluginCallRec rec);
  int32_t SettingsNow(PPluginCallRec rec, bool load);
  bool WaitForDataCalls();
  bool send_log_text(uintptr_t tag, const std::string& text) const;

  std::recursive_mutex language_mutex_;
};

// The standard named values put in front of a packet's parsed values; returns how many were appended.
int AddStandardValues(TzelParamsList* list, std::string_view full_packet, std::string_view packet,
                      int32_t data_source_id, int32_t client_id, std::string_view source_name,
                      std::string_view full_name, std::string_view client_name);

}  // namespace quendra
