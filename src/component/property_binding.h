// Builders for a class's property table: bind a published name to a data member or to a getter and
// setter pair. The value type picks the kind: integers are Integer, double is Floating, bool is an
// Enumeration named "False"/"True", std::string is Text, PropertyValue is Variant, and a TPersistent
// member is a read-only Object property (loading replaces its content, never the object).
#pragma once

#include <concepts>
#include <limits>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "component/persistent.h"

namespace quendra::binding {

template <class T>
constexpr PropertyKind KindOf() {
  if constexpr (std::is_same_v<T, bool>) {
    return PropertyKind::Enumeration;
  } else if constexpr (std::is_integral_v<T>) {
    return PropertyKind::Integer;
  } else if constexpr (std::is_floating_point_v<T>) {
    return PropertyKind::Floating;
  } else if constexpr (std::is_same_v<T, std::string>) {
    return PropertyKind::Text;
  } else if constexpr (std::is_same_v<T, PropertyValue>) {
    return PropertyKind::Variant;
  } else {
    static_assert(sizeof(T) == 0, "no property kind for this type");
  }
}

template <class T>
PropertyValue ToValue(const T& v) {
  if constexpr (std::is_same_v<T, bool>) {
    return std::int64_t{v ? 1 : 0};
  } else if constexpr (std::is_integral_v<T>) {
    return static_cast<std::int64_t>(v);
  } else if constexpr (std::is_floating_point_v<T>) {
    return static_cast<double>(v);
  } else {
    return PropertyValue{v};
  }
}

template <class T>
T FromValue(const PropertyValue& v) {
  if constexpr (std::is_same_v<T, bool>) {
    return ValueToInteger(v) != 0;
  } else if constexpr (std::is_integral_v<T>) {
    const std::int64_t n = ValueToInteger(v);
    bool in_range;
    if constexpr (std::is_signed_v<T>) {
      in_range = n >= static_cast<std::int64_t>(std::numeric_limits<T>::min()) &&
                 n <= static_cast<std::int64_t>(std::numeric_limits<T>::max());
    } else {
      in_range = n >= 0 && static_cast<std::uint64_t>(n) <= std::numeric_limits<T>::max();
    }
    if (!in_range) throw EPropertyError("Integer value out of range");
    return static_cast<T>(n);
  } else if constexpr (std::is_floating_point_v<T>) {
    return static_cast<T>(ValueToFloat(v));
  } else if constexpr (std::is_same_v<T, std::string>) {
    return ValueToText(v);
  } else {
    return v;
  }
}

inline std::vector<std::string> BooleanNames() {
  return {"False", "True"};
}

// A value property held in a data member: `Field("Left", &TControl::Left)`.
template <class C, class T>
PropertyInfo Field(std::string name, T C::*member) {
  PropertyInfo info;
  info.Name = std::move(name);
  if constexpr (std::is_base_of_v<TPersistent, T>) {
    info.Kind = PropertyKind::Object;
    info.Get = [](const TPersistent&) { return PropertyValue{}; };
    info.Object = [member](TPersistent& self) -> TPersistent* { return &(static_cast<C&>(self).*member); };
  } else {
    info.Kind = KindOf<T>();
    if constexpr (std::is_same_v<T, bool>) info.EnumNames = BooleanNames();
    info.Get = [member](const TPersistent& self) { return ToValue(static_cast<const C&>(self).*member); };
    info.Set = [member](TPersistent& self, const PropertyValue& v) {
      static_cast<C&>(self).*member = FromValue<T>(v);
    };
  }
  return info;
}

// A value property behind a getter and an optional setter (pass nullptr for read-only):
// `Accessor<TControl>("Width", [](const TControl& c) { return c.Width(); }, [](TControl& c, int w) {...})`.
template <class C, class Getter, class Setter>
PropertyInfo Accessor(std::string name, Getter get, Setter set) {
  using T = std::remove_cvref_t<std::invoke_result_t<Getter, const C&>>;
  PropertyInfo info;
  info.Name = std::move(name);
  info.Kind = KindOf<T>();
  if constexpr (std::is_same_v<T, bool>) info.EnumNames = BooleanNames();
  info.Get = [get](const TPersistent& self) { return ToValue<T>(get(static_cast<const C&>(self))); };
  if constexpr (!std::is_same_v<Setter, std::nullptr_t>) {
    info.Set = [set](TPersistent& self, const PropertyValue& v) {
      set(static_cast<C&>(self), FromValue<T>(v));
    };
  }
  return info;
}

// A read-only Object property reached through a function (for objects held by pointer).
template <class C, class Getter>
PropertyInfo ObjectAccessor(std::string name, Getter get) {
  PropertyInfo info;
  info.Name = std::move(name);
  info.Kind = PropertyKind::Object;
  info.Get = [](const TPersistent&) { return PropertyValue{}; };
  info.Object = [get](TPersistent& self) -> TPersistent* { return get(static_cast<C&>(self)); };
  return info;
}

// An enumeration held as a C++ enum whose values run 0, 1, ... in the order of `names`.
template <class C, class E>
requires std::is_enum_v<E> PropertyInfo EnumField(std::string name, E C::*member,
                                                  std::vector<std::string> names) {
  PropertyInfo info;
  info.Name = std::move(name);
  info.Kind = PropertyKind::Enumeration;
  const auto count = static_cast<std::int64_t>(names.size());
  info.EnumNames = std::move(names);
  info.Get = [member](const TPersistent& self) {
    return PropertyValue{static_cast<std::int64_t>(static_cast<const C&>(self).*member)};
  };
  info.Set = [member, count](TPersistent& self, const PropertyValue& v) {
    const std::int64_t n = ValueToInteger(v);
    if (n < 0 || n >= count) throw EPropertyError("Enumeration value out of range");
    static_cast<C&>(self).*member = static_cast<E>(n);
  };
  return info;
}

}  // namespace quendra::binding
