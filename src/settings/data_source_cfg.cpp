#include "settings/data_source_cfg.h"

#include <exception>

namespace quendra {

TDataSourceCfg::TDataSourceCfg(DataSourceCfgHooks hooks) : hooks_(std::move(hooks)) {}

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
  if (hooks_.SaveSettings) hooks_.SaveSettings(*this);
}

void TDataSourceCfg::RebuildTranslationTables() {
  // Hook for the translation tables of the text layer, wired once that layer is in the tree.
}

}  // namespace quendra
