#include "component/list_controls.h"

#include "component/property_binding.h"

namespace quendra {

using binding::Accessor;
using binding::Field;

const TClassInfo& TItemsControl::StaticClass() {
  static const TClassInfo info{"TItemsControl",
                               &TWinControl::StaticClass(),
                               {
                                   Field("Items", &TItemsControl::Items),
                                   Accessor<TItemsControl>(
                                       "ItemIndex", [](const TItemsControl& c) { return c.ItemIndex(); },
                                       [](TItemsControl& c, int index) { c.SetItemIndex(index); }),
                               }};
  return info;
}

int TItemsControl::ItemIndex() const {
  return item_index_ >= 0 && static_cast<std::size_t>(item_index_) < Items.Count() ? item_index_ : -1;
}

std::string TItemsControl::SelectedText() const {
  const int index = ItemIndex();
  return index < 0 ? std::string() : Items[static_cast<std::size_t>(index)];
}

const TClassInfo& TComboBox::StaticClass() {
  static const TClassInfo info{"TComboBox", &TItemsControl::StaticClass(), {}};
  return info;
}

const TClassInfo& TListBox::StaticClass() {
  static const TClassInfo info{"TListBox", &TItemsControl::StaticClass(), {}};
  return info;
}

const TClassInfo& TRadioGroup::StaticClass() {
  static const TClassInfo info{"TRadioGroup",
                               &TItemsControl::StaticClass(),
                               {
                                   Field("Caption", &TRadioGroup::Caption),
                                   Field("Columns", &TRadioGroup::Columns),
                               }};
  return info;
}

}  // namespace quendra
