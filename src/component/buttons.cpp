#include "component/buttons.h"

#include "component/property_binding.h"

namespace quendra {

using binding::Field;

const TClassInfo& TButton::StaticClass() {
  static const TClassInfo info{"TButton",
                               &TWinControl::StaticClass(),
                               {
                                   Field("Caption", &TButton::Caption),
                                   Field("Default", &TButton::Default),
                                   Field("Cancel", &TButton::Cancel),
                               }};
  return info;
}

}  // namespace quendra
