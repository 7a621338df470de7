#include "component/menus.h"

#include <stdexcept>

#include "component/property_binding.h"

namespace quendra {

using binding::Field;

const TClassInfo& TMenuItem::StaticClass() {
  static const TClassInfo info{"TMenuItem",
                               &TComponent::StaticClass(),
                               {
                                   Field("Caption", &TMenuItem::Caption),
                                   Field("Hint", &TMenuItem::Hint),
                                   Field("Visible", &TMenuItem::Visible),
                               }};
  return info;
}

const TClassInfo& TPopupMenu::StaticClass() {
  static const TClassInfo info{"TPopupMenu", &TComponent::StaticClass(), {}};
  return info;
}

TMenuItem& TPopupMenu::Insert(std::size_t index, std::string name) {
  if (index > items_.size()) throw std::out_of_range("Menu index out of bounds");
  TMenuItem& item = Create<TMenuItem>(std::move(name));
  items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(index), &item);
  return item;
}

}  // namespace quendra
