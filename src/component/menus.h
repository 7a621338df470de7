// Pop-up menus and their items. Items are components owned by their menu, in menu order, so a walk over
// the menu reaches their captions.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "component/component.h"

namespace quendra {

class TMenuItem : public TComponent {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  bool IsSeparator() const { return Caption == "-"; }

  std::string Caption;  // "-" is a separator
  std::string Hint;
  bool Visible = true;
  std::function<void(TMenuItem&)> OnClick;
};

class TPopupMenu : public TComponent {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  std::size_t Count() const { return items_.size(); }
  TMenuItem& Items(std::size_t index) const { return *items_.at(index); }
  // A new item at `index` (at most Count()); its name may be empty.
  TMenuItem& Insert(std::size_t index, std::string name = {});
  TMenuItem& Add(std::string name = {}) { return Insert(items_.size(), std::move(name)); }

  // Run before the menu is shown, so it can fill itself.
  std::function<void(TPopupMenu&)> OnPopup;

 private:
  std::vector<TMenuItem*> items_;
};

}  // namespace quendra
