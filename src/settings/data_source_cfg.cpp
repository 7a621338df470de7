#include "settings/data_source_cfg.h"

#include <exception>

namespace quendra {

TDataSourceCfg::TDataSourceCfg(DataSourceCfgHooks hooks) : hooks_(std::move(hooks)) {
  for (auto& table : tables_) table = std::make_shared<const TzelTranslationTable>(true);
}

std::shared_ptr<const TzelTranslationTable> TDataSourceCfg::TranslationTable(int index) const {
  const std::lock_guard<std::mutex> guard(tables_lock_);
  return tables_.at(static_cast<std::size_t>(index));
}

const TClassInfo& TDataSourceCfg::StaticClass() {
  static const TClassInfo info{"TDataSourceCfg", &TProxyCodeObject::StaticClass(), {}};
  return info;
}

void TDataSourceCfg::LoadConfig(int module_types) {
  if (hooks_.LoadSettings) hooks_.LoadSettings(*this);

  const int types = (module_types > 255 ? 255 : module_types) & 0xFF;
  if ((types & kDataParserBit) == 0) return;

  const auto guarded = [this](auto step) {
    try {
      step();
    } catch (const std::exception& e) {
      if (hooks_.LogConfigError) hooks_.LogConfigError(e.what());
    }
  };
  guarded([this] {
    RebuildTranslationTables();
    if (hooks_.LoadNodeRules) hooks_.LoadNodeRules();
  });
  guarded([this] {
    if (hooks_.LoadPacketFilters) hooks_.LoadPacketFilters();
  });
}

void TDataSourceCfg::SaveConfig() {
  // A save that did not reach the store (a read-only folder, a full disk) is logged: the user would
  // otherwise find the old settings back without a word.
  if (hooks_.SaveSettings && !hooks_.SaveSettings(*this) && hooks_.LogConfigError)
    hooks_.LogConfigError("the settings could not be saved");
}

void TDataSourceCfg::RebuildTranslationTables() {
  // All three are built before any is put in place, so a failure leaves the previous set whole.
  const TStringList* maps[3] = {&MapTransl0_Strings, &MapTransl1_Strings, &MapTransl2_Strings};
  std::array<std::shared_ptr<const TzelTranslationTable>, 3> built;
  for (std::size_t i = 0; i < built.size(); ++i) {
    auto table = std::make_shared<TzelTranslationTable>(true);
    table->LoadFromStrings(maps[i]->Lines());
    built[i] = std::move(table);
  }
  const std::lock_guard<std::mutex> guard(tables_lock_);
  // The old tables go with `built`, after the lock is released; a reader holding one keeps it.
  tables_.swap(built);
}

}  // namespace quendra
