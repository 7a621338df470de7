#include "dialog/options_dialog_hook.h"

namespace quendra {

// No window system is assumed here: the dialog's tree and its behaviour are available, a view is not.
OptionsDialogView PlatformDialogView() {
  return nullptr;
}

}  // namespace quendra
