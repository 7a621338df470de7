// Controls that show text or group other controls and hold no value of their own: labels, rules,
// panels and group boxes.
#pragma once

#include <functional>
#include <string>

#include "component/control.h"

namespace quendra {

class TLabel : public TControl {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  std::string Caption;
  std::string FontName;  // empty: the form's font
  int FontHeight = 0;    // pixels; 0: the form's font
};

// A horizontal rule.
class TBevel : public TControl {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }
};

class TPanel : public TWinControl {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  std::string Caption;
  // Run after the panel's size changed (the view calls it; the model calls it after a layout).
  std::function<void()> OnResize;
};

class TGroupBox : public TWinControl {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  std::string Caption;
};

}  // namespace quendra
