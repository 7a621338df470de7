// Start-up and shutdown of the library: the instance registry and the module class exist from load to unload.
#include "common/item_names.h"
#include "dialog/options_dialog_hook.h"
#include "localisation/module_translator.h"
#include "plugin/plugin_registry.h"
#include "quendra/quendra_module.h"

namespace {

struct LibraryLifetime {
  LibraryLifetime() {
    quendra::StartItemNames();  // outlives the instances and their lists
    quendra::StartPluginRegistry();
    quendra::RegisterModuleClass();
    quendra::InstallOptionsDialog();
    quendra::RegisterTranslatorFactory(&quendra::MakeModuleTranslator);
    quendra::RegisterDialogTranslator(
        [](quendra::TaPlugin& m, quendra::TComponent& f) { quendra::TranslateComponentTexts(m, f); });
  }
  ~LibraryLifetime() { quendra::ShutdownPluginRegistry(); }
};

// Static initialisation runs when the library is loaded (DllMain's process attach on Windows) and the
// destructor when it is unloaded, so no explicit DLL entry point is needed.
const LibraryLifetime g_lifetime;

}  // namespace
