// A non-visual component that holds a string list under a name, so a list can be persisted and translated
// like any control property ("MapTransl0.Strings").
#pragma once

#include "component/component.h"
#include "component/string_list.h"

namespace quendra {

class TStringsHolder : public TComponent {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  TStringList Strings;
};

}  // namespace quendra
