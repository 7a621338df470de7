// A form: the top-level control that owns the controls of one window.
#pragma once

#include <functional>
#include <string>

#include "component/control.h"

namespace quendra {

class TForm : public TWinControl {
 public:
  TForm() = default;

  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  std::string Caption;
  std::string HelpFile;
  // Bounds the form must not be made smaller than.
  int MinWidth = 0;
  int MinHeight = 0;
};

}  // namespace quendra
