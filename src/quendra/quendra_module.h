// TaPlugin: this plug-in's module class, a data-parser module. Its handlers give the framework's events their
// meaning: loading the parser's configuration, rules and filters, keeping one container per data source of
// the host, announcing the values it can produce, and cutting, filtering and parsing the received data.
//
// Threads: packets run on any host thread at the same time; they read the parser's state (configuration,
// rules, signs, filters, containers) under a shared hold of the parser lock. Commands that rebuild or destroy
// that state take the lock exclusively, so a running packet finishes with the objects it started with.
#pragma once

#include <atomic>
#include <memory>
#include <shared_mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <utility>
#include <vector>

#include "plugin/plugin.h"
#include "quendra/data_source_container.h"
#include "quendra/node_rules.h"
#include "quendra/packet_filters.h"
#include "quendra/text_resources.h"
#include "settings/data_source_cfg.h"
#include "settings/settings_operations.h"

namespace quendra {

// Display names of the 256 character codes, for the options dialog's character choosers.
std::vector<std::string> BuildCharacterList();

class TaPlugin : public TzelPlugin {
 public:
  explicit TaPlugin(PPluginCallRec rec);
  ~TaPlugin() override;

  TTextResources Texts;
  std::vector<std::string> CharacterList;
  // Set from creation until the parser is loaded, and again from the start of an unload.
  std::atomic<bool> ParserUnloaded{true};

  // Where this instance's settings live, for the settings store.
  SettingsLocation Location() const;

  // The parser's state; read under parser_lock(), written under an exclusive hold.
  std::shared_mutex& parser_lock() { return parser_lock_; }
  const TDataSourceCfg* Cfg() const { return cfg_.get(); }
  const std::vector<rules::TParserItem>& NodeRules() const { return node_rules_.items(); }
  const rules::RootSigns& Signs() const { return signs_; }
  TSerialPortDM* FindDataSource(int32_t id) const;
  std::size_t DataSourceCount() const { return data_sources_.size(); }

  // A fresh configuration object whose rebuild hooks act on this module.
  std::unique_ptr<TDataSourceCfg> NewConfiguration();
  // Replaces the configuration by `cfg`, loaded completely from the store (after a confirmed dialog).
  void ReplaceConfiguration(std::unique_ptr<TDataSourceCfg> cfg);

 private:
  // Handlers.
  void zelPluginLoad();
  void zelPluginUnload();
  void zelPluginStateChanged(TModuleTypes types);
  void zelPluginBeforeGetParserItems();
  void zelPluginSaveSettingsNow();
  void zelPluginLoadSettingsNow();
  int32_t zelPluginProcessData(PPluginCallRec rec);
  bool zelPluginShowOptionsDialog(PPluginCallRec rec);
  // Translates the message table into Language, starting from its English texts.
  void TranslateMessageTexts();
  // The descriptions of the parser items, which the host shows, into Language.
  void TranslateParserItems();

  // The pipeline.
  int32_t ProcessPacket(PPluginCallRec rec, TSerialPortDM& container);
  // The position of the first start sign in the buffer and which of the two it is; -1 when there is none yet.
  std::pair<std::ptrdiff_t, const std::string*> FindStartSign(const TFIFOStream& stream) const;
  void CutBlocks(TSerialPortDM& container, TCustomParserClient& client);
  void ProcessBlock(TSerialPortDM& container, TCustomParserClient& client, std::string_view body);
  void ParseBlock(TSerialPortDM& container, TCustomParserClient& client, std::string_view text);
  std::string& ResultTextOfThisThread();

  std::shared_mutex parser_lock_;
  std::unique_ptr<TDataSourceCfg> cfg_;
  rules::NodeRuleTable node_rules_;
  rules::RootSigns signs_;
  std::unique_ptr<TPacketFilters> packet_filters_;
  std::vector<std::unique_ptr<TSerialPortDM>> data_sources_;

  // The accepted blocks' text handed to the host, one buffer per host thread (as the output rows).
  std::mutex result_texts_mutex_;
  std::unordered_map<std::thread::id, std::string> result_texts_;
};

// Makes FindPlugin create TaPlugin instances; called once at library start-up.
void RegisterModuleClass();

// The options dialog lives in a higher layer, which registers how to show it at start-up. It shows the dialog
// modally for `module` and returns true when the user confirmed it (the store then holds the new settings).
// Without a registered dialog, ShowOptionsDialog reports no success and logs why.
using OptionsDialogFn = bool (*)(TaPlugin& module, PPluginCallRec rec);
void RegisterOptionsDialog(OptionsDialogFn show);

}  // namespace quendra
