#include "component/strings_holder.h"

#include "component/property_binding.h"

namespace quendra {

const TClassInfo& TStringsHolder::StaticClass() {
  static const TClassInfo info{
      "TStringsHolder", &TComponent::StaticClass(), {binding::Field("Strings", &TStringsHolder::Strings)}};
  return info;
}

}  // namespace quendra
