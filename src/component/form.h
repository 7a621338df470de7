// A form: the top-level control that owns the controls of one window.
#pragma once

#include <string>

#include "component/control.h"

namespace quendra {

class TForm : public TWinControl {
 public:
  TForm() = default;

  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  std::string Caption;
};

}  // namespace quendra
