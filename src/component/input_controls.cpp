#include "component/input_controls.h"

#include "component/property_binding.h"

namespace quendra {

using binding::Field;

const TClassInfo& TEdit::StaticClass() {
  static const TClassInfo info{"TEdit", &TWinControl::StaticClass(), {Field("Text", &TEdit::Text)}};
  return info;
}

const TClassInfo& TSpinEdit::StaticClass() {
  static const TClassInfo info{"TSpinEdit",
                               &TWinControl::StaticClass(),
                               {
                                   Field("Value", &TSpinEdit::Value),
                                   Field("MinValue", &TSpinEdit::MinValue),
                                   Field("MaxValue", &TSpinEdit::MaxValue),
                               }};
  return info;
}

const TClassInfo& TCheckBox::StaticClass() {
  static const TClassInfo info{"TCheckBox",
                               &TWinControl::StaticClass(),
                               {
                                   Field("Caption", &TCheckBox::Caption),
                                   Field("Checked", &TCheckBox::Checked),
                               }};
  return info;
}

}  // namespace quendra
