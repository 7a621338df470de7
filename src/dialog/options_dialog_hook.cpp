#include "dialog/options_dialog_hook.h"

#include <exception>
#include <mutex>
#include <string>

#include "quendra/quendra_module.h"
#include "settings/settings_map.h"

namespace quendra {

namespace {

std::mutex g_translator_mutex;
DialogTranslator g_translator;

platform::WindowRect ToRect(const TBounds& b) {
  return {b.Left, b.Top, b.Right(), b.Bottom()};
}

bool ShowWithPlatformView(TaPlugin& module, PPluginCallRec rec) {
  OptionsDialogView view = PlatformDialogView();
  try {
    return view != nullptr && RunOptionsDialog(module, rec, view);
  } catch (const std::exception& failure) {
    // The framework swallows the failure; the user still learns why the dialog went away.
    module.AddLog(0, std::string("The options dialog failed: ") + failure.what());
    throw;
  }
}

}  // namespace

void RegisterDialogTranslator(DialogTranslator translate) {
  std::lock_guard lock(g_translator_mutex);
  g_translator = std::move(translate);
}

OptionsDialogHost HostOf(TaPlugin& module) {
  OptionsDialogHost host;
  host.Map.SetLines(DataSourceSettingsMap());
  host.Location = module.Location();
  host.ModuleDir = module.ModuleDir;
  host.ModuleFileName = module.ModuleFileName;
  host.Description = module.Description;
  host.VersionText = module.VersionText;
  host.CharacterList = module.CharacterList;
  host.SaveDialogBounds = [&module](const TBounds& b) { module.SaveDialogBounds(ToRect(b)); };
  host.DialogBoundsChanged = [&module](const TBounds& b) { return module.DialogBoundsChanged(ToRect(b)); };
  host.CenterOnOwner = [&module](TBounds& b) {
    platform::WindowRect rect = ToRect(b);
    if (!module.CenterOnOwner(rect)) return false;
    b = {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
    return true;
  };
  DialogTranslator translate;
  {
    std::lock_guard lock(g_translator_mutex);
    translate = g_translator;
  }
  if (translate) host.Translate = [&module, translate](TComponent& form) { translate(module, form); };
  return host;
}

bool RunOptionsDialog(TaPlugin& module, PPluginCallRec rec, OptionsDialogView view) {
  TfrmOption form(HostOf(module));
  const bool query =
      rec != nullptr && ModuleTypesFromInt(rec->ModuleTypes).contains(TModuleType::mttDataQuery);
  form.SetTag(query ? 0 : 10);
  form.FormCreate();
  TModalResult result = TModalResult::mrCancel;
  try {
    result = view(form, module.OwnerForm.load());
  } catch (...) {
    // A view that failed half-way leaves the store as it was, apart from the bounds.
    form.Close(TModalResult::mrCancel);
    throw;
  }
  form.Close(result);
  return result == TModalResult::mrOk;
}

void InstallOptionsDialog() {
  if (PlatformDialogView() != nullptr) RegisterOptionsDialog(&ShowWithPlatformView);
}

}  // namespace quendra
