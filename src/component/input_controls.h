// The value-holding controls whose properties are persisted: a one-line edit, a numeric spin edit and a
// check box.
#pragma once

#include <functional>
#include <string>

#include "component/control.h"

namespace quendra {

class TEdit : public TWinControl {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  std::string Text;
  // Run when the user changed the text.
  std::function<void()> OnChange;
};

// The value is a floating number so that one control serves counts, identifiers and time-outs alike;
// the limits are for the view and the user's typing, loading a value does not clamp it.
class TSpinEdit : public TWinControl {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  double Value = 0;
  double MinValue = 0;
  double MaxValue = 0;
  // Shown and typed in hexadecimal ("0x#######"), for identifiers written that way.
  bool Hexadecimal = false;
};

class TCheckBox : public TWinControl {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  std::string Caption;
  bool Checked = false;
  // Run when the user toggled the box.
  std::function<void()> OnClick;
};

}  // namespace quendra
