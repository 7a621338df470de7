// Push buttons. A button may close its form with a modal result, be the form's default or cancel button,
// or drop down a menu instead of being clicked.
#pragma once

#include <functional>
#include <string>

#include "component/control.h"
#include "component/menus.h"

namespace quendra {

enum class TModalResult { mrNone = 0, mrOk = 1, mrCancel = 2 };

class TButton : public TWinControl {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  std::string Caption;
  bool Default = false;
  bool Cancel = false;
  // Shows the caption's "&" as such rather than as an accelerator mark.
  bool NoPrefix = false;
  TModalResult ModalResult = TModalResult::mrNone;
  // When set, a click drops this menu down instead of running OnClick.
  TPopupMenu* DropDownMenu = nullptr;
  std::function<void()> OnClick;
};

}  // namespace quendra
