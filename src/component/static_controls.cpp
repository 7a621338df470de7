#include "component/static_controls.h"

#include "component/property_binding.h"

namespace quendra {

using binding::Field;

const TClassInfo& TLabel::StaticClass() {
  static const TClassInfo info{"TLabel", &TControl::StaticClass(), {Field("Caption", &TLabel::Caption)}};
  return info;
}

const TClassInfo& TBevel::StaticClass() {
  static const TClassInfo info{"TBevel", &TControl::StaticClass(), {}};
  return info;
}

const TClassInfo& TPanel::StaticClass() {
  static const TClassInfo info{"TPanel", &TWinControl::StaticClass(), {Field("Caption", &TPanel::Caption)}};
  return info;
}

const TClassInfo& TGroupBox::StaticClass() {
  static const TClassInfo info{
      "TGroupBox", &TWinControl::StaticClass(), {Field("Caption", &TGroupBox::Caption)}};
  return info;
}

}  // namespace quendra
