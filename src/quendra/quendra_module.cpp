#include "quendra/quendra_module.h"

#include <algorithm>
#include <mutex>

#include "platform/ansi_codepage.h"
#include "plugin/plugin_registry.h"
#include "settings/settings_map.h"
#include "text/format_text.h"

namespace quendra {

namespace {

TRegistryRoot store_root(platform::RegistryRoot root) {
  switch (root) {
    case platform::RegistryRoot::ClassesRoot:
      return TRegistryRoot::rrHKEY_CLASSES_ROOT;
    case platform::RegistryRoot::CurrentUser:
      return TRegistryRoot::rrHKEY_CURRENT_USER;
    case platform::RegistryRoot::LocalMachine:
      return TRegistryRoot::rrHKEY_LOCAL_MACHINE;
    case platform::RegistryRoot::Users:
      return TRegistryRoot::rrHKEY_USERS;
    case platform::RegistryRoot::CurrentConfig:
      return TRegistryRoot::rrHKEY_CURRENT_CONFIG;
  }
  return TRegistryRoot::rrNone;
}

std::atomic<OptionsDialogFn> g_options_dialog{nullptr};

const TStringList& settings_map() {
  static const TStringList map(DataSourceSettingsMap());
  return map;
}

}  // namespace

TaPlugin::TaPlugin(PPluginCallRec rec) : TzelPlugin(rec) {
  Description = "Quendra";
  LogTitle = "Quendra";
  MinVersion = 4.0f;
  ModuleType = {TModuleType::mttDataParser};
  IsMultiThreadSupported = true;
  CharacterList = BuildCharacterList();

  OnLoad = [this](TzelPlugin&, PPluginCallRec, int32_t&) { zelPluginLoad(); };
  OnUnload = [this](TzelPlugin&, PPluginCallRec, int32_t&) { zelPluginUnload(); };
  OnStateChanged = [this](TzelPlugin&, TModuleTypes types) { zelPluginStateChanged(types); };
  OnBeforeGetParserItems = [this](TzelPlugin&) { zelPluginBeforeGetParserItems(); };
  OnSaveSettingsNow = [this](TzelPlugin&) { zelPluginSaveSettingsNow(); };
  OnLoadSettingsNow = [this](TzelPlugin&) { zelPluginLoadSettingsNow(); };
  OnProcessData = [this](TzelPlugin&, PPluginCallRec rec, int32_t& result) {
    result = zelPluginProcessData(rec);
  };
  OnGetData = [](TzelPlugin&, PPluginCallRec, int32_t& result) { result = 0; };
  OnShowOptionsDialog = [this](TzelPlugin&, PPluginCallRec rec, bool& success) {
    success = zelPluginShowOptionsDialog(rec);
  };
  OnChangeLanguage = [this](TzelPlugin&) { TranslateMessageTexts(); };
  TranslateMessageTexts();
}

void TaPlugin::TranslateMessageTexts() {
  if (Language.empty()) Language = "NONE";
  if (!Translator) return;
  // Packets log with these texts: they change only while no packet runs.
  std::unique_lock lock(parser_lock_);
  const TTextResources english;
  for (std::string_view name : english.PropertyNames()) Texts.SetProperty(name, *english.Property(name));
  const platform::AnsiCodePage& cp = platform::AnsiCodePage::System();
  Translator->TranslateTexts(Language, "EN", [this, &cp](const PluginTranslator::TextTranslation& translate) {
    Texts.TranslateTexts([&](std::u16string_view text) { return cp.ToUtf16(translate(cp.FromUtf16(text))); });
  });
}

TaPlugin::~TaPlugin() {
  std::unique_lock lock(parser_lock_);
  data_sources_.clear();
}

SettingsLocation TaPlugin::Location() const {
  SettingsLocation location;
  location.RegistryRoot = store_root(RegistryRoot);
  location.SecondRegistryRoot = store_root(SecondRegistryRoot);
  location.RegistryPath = RegistryPath;
  location.IniFile = INIFile;
  location.IniSectionPrefix = INISectionPrefix;
  return location;
}

TSerialPortDM* TaPlugin::FindDataSource(int32_t id) const {
  for (auto it = data_sources_.rbegin(); it != data_sources_.rend(); ++it)
    if ((*it)->DataSourceID == id) return it->get();
  return nullptr;
}

std::unique_ptr<TDataSourceCfg> TaPlugin::NewConfiguration() {
  auto cfg = std::make_unique<TDataSourceCfg>();
  TDataSourceCfg* target = cfg.get();
  DataSourceCfgHooks hooks;
  hooks.LoadSettings = [this](TPersistent& object) {
    return LoadSettings(Location(), settings_map(), object);
  };
  hooks.SaveSettings = [this](TPersistent& object) {
    return SaveSettings(Location(), settings_map(), object);
  };
  hooks.LoadNodeRules = [this, target] {
    // Only a module with the parser role active has rules and signs; without them nothing is cut.
    signs_ = {};
    node_rules_ = {};
    if (!IsModuleActive(TModuleType::mttDataParser)) return;
    signs_ = rules::RootSigns::FromRootName(target->BegSign_Text);
    node_rules_ = rules::ReadNodeRules(target->XMLs_Hint);
  };
  hooks.LoadPacketFilters = [this, target] {
    if (packet_filters_) packet_filters_->Load(target->Filters_Hint);
  };
  hooks.LogConfigError = [this](const std::string& error) {
    AddLog(0, FormatText(Texts.ErrConfigChange, {error}));
  };
  cfg->SetHooks(std::move(hooks));
  return cfg;
}

void TaPlugin::ReplaceConfiguration(std::unique_ptr<TDataSourceCfg> cfg) {
  std::unique_lock lock(parser_lock_);
  cfg->LoadConfig(TDataSourceCfg::kAllModuleTypes);
  cfg_ = std::move(cfg);
}

void TaPlugin::zelPluginLoad() {
  std::unique_lock lock(parser_lock_);
  node_rules_ = {};
  packet_filters_ = std::make_unique<TPacketFilters>();
  cfg_ = NewConfiguration();
  ParserUnloaded = false;
  cfg_->LoadConfig(TDataSourceCfg::kAllModuleTypes);
}

void TaPlugin::zelPluginUnload() {
  ParserUnloaded = true;
  std::unique_lock lock(parser_lock_);
  node_rules_ = {};
  signs_ = {};
  packet_filters_.reset();
  cfg_.reset();
}

void TaPlugin::zelPluginStateChanged(TModuleTypes types) {
  std::unique_lock lock(parser_lock_);
  std::vector<std::unique_ptr<TSerialPortDM>> old;
  old.swap(data_sources_);
  if (!ModuleStateSet().empty()) {
    for (const TConfigDataSource& source : ConfigDataSources) {
      auto same = [&](const std::unique_ptr<TSerialPortDM>& c) { return c && c->DataSourceID == source.ID; };
      if (std::any_of(data_sources_.begin(), data_sources_.end(), same)) continue;
      auto kept = std::find_if(old.rbegin(), old.rend(), same);
      if (kept != old.rend()) {
        data_sources_.push_back(std::move(*kept));
      } else {
        data_sources_.push_back(
            std::make_unique<TSerialPortDM>(this, source.ID, source.Name, source.FullName));
      }
    }
  }
  old.clear();  // the containers no data source names any more, with their clients and buffered bytes
  if (cfg_) cfg_->LoadConfig(types.bits());
}

void TaPlugin::zelPluginBeforeGetParserItems() {
  std::shared_lock lock(parser_lock_);
  if (!cfg_) return;
  ParserItems.Clear();
  ParserItems.AddStandardParserItems(true);
  for (const rules::TParserItem& rule : rules::ReadNodeRules(cfg_->XMLs_Hint))
    ParserItems.AddParserItem(rule.Name, "", "", rule.DataType);
  TranslateParserItems();
}

void TaPlugin::TranslateParserItems() {
  if (!Translator) return;
  std::vector<TParserItem> items = ParserItems.items();
  const auto translate_all = [&items](const PluginTranslator::TextTranslation& translate) {
    for (TParserItem& item : items) {
      // "|" and line breaks would split the host's items text: such a translation is not taken.
      std::string text = translate(item.Description);
      if (text.find_first_of("|\r\n") == std::string::npos) item.Description = std::move(text);
    }
  };
  if (!Translator->TranslateTexts(Language, "EN", translate_all)) return;
  ParserItems.Clear();
  for (TParserItem& item : items)
    ParserItems.AddParserItem(item.Name, item.Description, item.Extra, item.DataType);
}

void TaPlugin::zelPluginSaveSettingsNow() {
  std::shared_lock lock(parser_lock_);
  if (cfg_) cfg_->SaveConfig();
}

void TaPlugin::zelPluginLoadSettingsNow() {
  std::unique_lock lock(parser_lock_);
  if (cfg_) cfg_->LoadConfig(TDataSourceCfg::kAllModuleTypes);
}

bool TaPlugin::zelPluginShowOptionsDialog(PPluginCallRec rec) {
  OptionsDialogFn show = g_options_dialog.load();
  if (!show) {
    AddLog(0, "The options dialog is not available on this platform");
    return false;
  }
  if (!show(*this, rec)) return false;
  // The dialog wrote the store; the module takes the settings from there as a whole.
  ReplaceConfiguration(NewConfiguration());
  return true;
}

void RegisterOptionsDialog(OptionsDialogFn show) {
  g_options_dialog.store(show);
}

void RegisterModuleClass() {
  RegisterPluginClass(
      [](PPluginCallRec rec) -> std::unique_ptr<TzelPlugin> { return std::make_unique<TaPlugin>(rec); });
}

}  // namespace quendra
