// How the module opens its options dialog: a platform view shows the dialog's tree modally; this layer
// creates the tree for a module, has it shown, and saves the controls when it closes. Where the platform
// has no view, nothing is registered and the module says the dialog is not available.
#pragma once

#include <functional>

#include "component/buttons.h"
#include "dialog/options_dialog.h"
#include "platform/window.h"
#include "plugin/call_record.h"

namespace quendra {

class TaPlugin;

// Shows `form` modally over `owner` (0: no host window) and returns how it closed (the close box is
// mrCancel). The form is created and loaded before, and saved after, by the caller.
using OptionsDialogView = TModalResult (*)(TfrmOption& form, platform::WindowHandle owner);

// The platform's view, or null where the platform has none.
OptionsDialogView PlatformDialogView();

// The interface-text localisation of the dialog's tree; supplied by the layer that owns the translator.
using DialogTranslator = std::function<void(TaPlugin& module, TComponent& form)>;
void RegisterDialogTranslator(DialogTranslator translate);

// What the dialog takes from `module`.
OptionsDialogHost HostOf(TaPlugin& module);

// Creates the dialog for `module` (first page by the call's roles), shows it with `view` and saves it as it
// closed; true when the user confirmed.
bool RunOptionsDialog(TaPlugin& module, PPluginCallRec rec, OptionsDialogView view);

// Registers the dialog with the module class when the platform has a view; called once at start-up.
void InstallOptionsDialog();

}  // namespace quendra
