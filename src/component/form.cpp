#include "component/form.h"

#include "component/property_binding.h"

namespace quendra {

const TClassInfo& TForm::StaticClass() {
  static const TClassInfo info{
      "TForm", &TWinControl::StaticClass(), {binding::Field("Caption", &TForm::Caption)}};
  return info;
}

}  // namespace quendra
