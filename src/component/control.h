// Controls as plain objects: bounds, hint, help context, enabled and visible state, and the parent that
// shows them. Nothing here draws; a platform view reads this tree and shows it.
#pragma once

#include <vector>

#include "component/component.h"

namespace quendra {

struct TBounds {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;

  int Right() const { return Left + Width; }
  int Bottom() const { return Top + Height; }
  bool operator==(const TBounds&) const = default;
};

class TWinControl;

class TControl : public TComponent {
 public:
  TControl() = default;
  ~TControl() override;

  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  int Left() const { return bounds_.Left; }
  int Top() const { return bounds_.Top; }
  int Width() const { return bounds_.Width; }
  int Height() const { return bounds_.Height; }
  void SetLeft(int v) { bounds_.Left = v; }
  void SetTop(int v) { bounds_.Top = v; }
  void SetWidth(int v) { bounds_.Width = v; }
  void SetHeight(int v) { bounds_.Height = v; }
  const TBounds& Bounds() const { return bounds_; }
  void SetBounds(const TBounds& bounds) { bounds_ = bounds; }

  std::string Hint;
  bool Enabled = true;
  bool Visible = true;
  int HelpContext = 0;

  // The control that shows this one (not its owner); null when it is not placed.
  TWinControl* Parent() const { return parent_; }
  void SetParent(TWinControl* parent);

 private:
  friend class TWinControl;
  TBounds bounds_;
  TWinControl* parent_ = nullptr;
};

// A control that can hold other controls.
class TWinControl : public TControl {
 public:
  TWinControl() = default;
  ~TWinControl() override;

  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  // The controls placed on this one, in placing order; they stay owned by their owners.
  const std::vector<TControl*>& Controls() const { return controls_; }

 private:
  friend class TControl;
  std::vector<TControl*> controls_;
};

}  // namespace quendra
