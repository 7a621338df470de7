// TaPlugin: this plug-in's module class, a data-parser module.
#pragma once

#include "plugin/plugin.h"

namespace quendra {

class TaPlugin : public TzelPlugin {
 public:
  explicit TaPlugin(PPluginCallRec rec);
};

// Makes FindPlugin create TaPlugin instances; called once at library start-up.
void RegisterModuleClass();

}  // namespace quendra
