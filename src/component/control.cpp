#include "component/control.h"

#include <algorithm>

#include "component/property_binding.h"

namespace quendra {

const TClassInfo& TControl::StaticClass() {
  using binding::Accessor;
  using binding::Field;
  static const TClassInfo info{
      "TControl",
      &TComponent::StaticClass(),
      {
          Accessor<TControl>(
              "Left", [](const TControl& c) { return c.Left(); }, [](TControl& c, int v) { c.SetLeft(v); }),
          Accessor<TControl>(
              "Top", [](const TControl& c) { return c.Top(); }, [](TControl& c, int v) { c.SetTop(v); }),
          Accessor<TControl>(
              "Width", [](const TControl& c) { return c.Width(); },
              [](TControl& c, int v) { c.SetWidth(v); }),
          Accessor<TControl>(
              "Height", [](const TControl& c) { return c.Height(); },
              [](TControl& c, int v) { c.SetHeight(v); }),
          Field("Hint", &TControl::Hint),
          Field("Enabled", &TControl::Enabled),
          Field("Visible", &TControl::Visible),
          Field("HelpContext", &TControl::HelpContext),
      }};
  return info;
}

TControl::~TControl() {
  SetParent(nullptr);
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (parent_ != nullptr) std::erase(parent_->controls_, this);
  parent_ = parent;
  if (parent_ != nullptr) parent_->controls_.push_back(this);
}

const TClassInfo& TWinControl::StaticClass() {
  static const TClassInfo info{"TWinControl", &TControl::StaticClass(), {}};
  return info;
}

TWinControl::~TWinControl() {
  // Children may outlive their parent when their owner frees them later; they are then simply unplaced.
  for (TControl* c : controls_) c->parent_ = nullptr;
  controls_.clear();
}

}  // namespace quendra
