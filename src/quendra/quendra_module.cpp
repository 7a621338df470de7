#include "quendra/quendra_module.h"

#include "plugin/plugin_registry.h"

namespace quendra {

TaPlugin::TaPlugin(PPluginCallRec rec) : TzelPlugin(rec) {
  Description = "Quendra";
  LogTitle = "Quendra";
  MinVersion = 4.0f;
  ModuleType = {TModuleType::mttDataParser};
}

void RegisterModuleClass() {
  RegisterPluginClass([](PPluginCallRec rec) -> std::unique_ptr<TzelPlugin> { return std::make_unique<TaPlugin>(rec); });
}

}  // namespace quendra
