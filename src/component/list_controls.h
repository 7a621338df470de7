// Controls that offer a list of item texts: the drop-down list, the list box and the radio group. The
// selection is an item position; -1 is "nothing selected", and a position outside the items reads as -1.
#pragma once

#include <functional>
#include <string>

#include "component/control.h"
#include "component/string_list.h"

namespace quendra {

class TItemsControl : public TWinControl {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  int ItemIndex() const;
  // Any number is accepted; one outside the items selects nothing.
  void SetItemIndex(int index) { item_index_ = index; }
  // The selected item's text, or "" when nothing is selected.
  std::string SelectedText() const;

  TStringList Items;

 private:
  int item_index_ = -1;
};

// A drop-down list (the user picks, never types).
class TComboBox : public TItemsControl {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  // Run when the user picks an item.
  std::function<void()> OnChange;
};

class TListBox : public TItemsControl {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  // Run when the user clicks a line (ItemIndex is the line).
  std::function<void()> OnClick;
};

class TRadioGroup : public TItemsControl {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  std::string Caption;
  int Columns = 1;
  // Run when the user picks a button.
  std::function<void()> OnClick;
};

}  // namespace quendra
