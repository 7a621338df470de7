// The configuration of one parser module instance: every persisted setting (TProxyCodeObject) plus the
// state derived from them on load.
//
// The configuration reaches its module only through DataSourceCfgHooks, set by the module that owns it:
// the settings store at the module's location, the rebuilding of the module's rules and filters, and its
// log. An unset hook is skipped.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "settings/proxy_code_object.h"
#include "text/translation_table.h"

namespace quendra {

struct DataSourceCfgHooks {
  // One store operation with the module's settings map at its current location, this object the target.
  std::function<bool(TPersistent& target)> LoadSettings;
  std::function<bool(TPersistent& target)> SaveSettings;
  // Rebuilds the module's nodes-and-attributes rules and root-element tags from XMLs_Hint and BegSign_Text.
  std::function<void()> LoadNodeRules;
  // Rebuilds the module's packet filters from Filters_Hint.
  std::function<void()> LoadPacketFilters;
  // Logs a failed rebuild or save: the module writes its ErrConfigChange text ("Error occurred while changing
  // the configuration (%s)") with `error` in place of "%s", message type 0.
  std::function<void(const std::string& error)> LogConfigError;
};

class TDataSourceCfg : public TProxyCodeObject {
 public:
  // The module types bit of the data parser role (bit 1 of the host's TModuleTypes).
  static constexpr int kDataParserBit = 1 << 1;
  // What LoadConfig takes to mean every module type.
  static constexpr int kAllModuleTypes = 65535;

  // The three translation tables, by the map they are built from.
  enum TranslationTableIndex { kDataPacketTable = 0, kStringVariablesTable = 1, kRawDataTable = 2 };

  explicit TDataSourceCfg(DataSourceCfgHooks hooks = {});

  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  // Loads every setting from the store; then, when `module_types` (clamped to 255, its low eight bits a
  // TModuleTypes set) holds the data parser role, rebuilds the derived state in two guarded steps:
  // translation tables and rules, then filters. A failing step is logged and the next one still runs.
  void LoadConfig(int module_types);
  // Writes every setting to the store; derived state is never written. A failed save is logged through
  // LogConfigError.
  void SaveConfig();

  // The table built from MapTransl<index>_Strings at the last load with the parser role (empty before).
  // Any thread may call this while another reloads: a reload puts new tables in place and never changes a
  // table a reader holds.
  std::shared_ptr<const TzelTranslationTable> TranslationTable(int index) const;

  const DataSourceCfgHooks& Hooks() const { return hooks_; }
  void SetHooks(DataSourceCfgHooks hooks) { hooks_ = std::move(hooks); }

 private:
  // Rebuilds the three translation tables (data packet, string variables, RAW data) from MapTransl0..2.
  void RebuildTranslationTables();

  DataSourceCfgHooks hooks_;
  // Guards only the swap of the table pointers, never a translation: readers copy a pointer and go.
  mutable std::mutex tables_lock_;
  std::array<std::shared_ptr<const TzelTranslationTable>, 3> tables_;
};

}  // namespace quendra
