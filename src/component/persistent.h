// The root of the component model: objects that publish named, typed properties at run time.
//
// Every class that publishes properties has one static TClassInfo naming the class, its parent class and
// its own properties in declaration order. Lookups walk the chain, so a derived class sees everything its
// ancestors publish. Names compare without regard to ASCII letter case. The settings store, the options
// dialog and the interface-text translator reach objects only through this table.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace quendra {

class TPersistent;

// The kinds of property the callers tell apart. Other stands for sets, method references and anything
// else that is published but never persisted; Unknown is "no property", as for an unresolved entry.
enum class PropertyKind { Unknown, Integer, Floating, Enumeration, Text, Variant, Object, Other };

// A property's value in transit: nothing, an integer (also an enumeration's ordinal), a floating number or
// 8-bit text in the ANSI code page.
using PropertyValue = std::variant<std::monostate, std::int64_t, double, std::string>;

inline bool IsEmptyValue(const PropertyValue& v) {
  return std::holds_alternative<std::monostate>(v);
}

// Conversions used when a value meets a property of another kind; they throw EPropertyError when the value
// cannot stand for the kind (text that is no number, a floating number outside the integer range).
std::int64_t ValueToInteger(const PropertyValue& v);
double ValueToFloat(const PropertyValue& v);
std::string ValueToText(const PropertyValue& v);

// Thrown for every misuse of a property: unknown name, wrong kind, read-only, bad value.
class EPropertyError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct PropertyInfo {
  std::string Name;
  PropertyKind Kind = PropertyKind::Unknown;
  // Reads the value; for Object properties it yields an empty value (use Object).
  std::function<PropertyValue(const TPersistent&)> Get;
  // Writes the value; empty when the property is read-only.
  std::function<void(TPersistent&, const PropertyValue&)> Set;
  // The object an Object property refers to (may be null); empty for other kinds.
  std::function<TPersistent*(TPersistent&)> Object;
  // The value names of an Enumeration, by ordinal ("False", "True" for booleans).
  std::vector<std::string> EnumNames;

  bool Writable() const { return static_cast<bool>(Set); }
};

class TClassInfo {
 public:
  TClassInfo(std::string name, const TClassInfo* parent, std::vector<PropertyInfo> properties);

  const std::string& Name() const { return name_; }
  const TClassInfo* Parent() const { return parent_; }
  // This class's own properties, in declaration order.
  const std::vector<PropertyInfo>& OwnProperties() const { return properties_; }

  // Searches this class, then its ancestors; null when no class of the chain publishes the name.
  const PropertyInfo* Find(std::string_view name) const;
  // All published properties, the root class's first.
  std::vector<const PropertyInfo*> AllProperties() const;
  // True when this class or an ancestor has the given name (ASCII case ignored).
  bool InheritsFrom(std::string_view class_name) const;

 private:
  std::string name_;
  const TClassInfo* parent_;
  std::vector<PropertyInfo> properties_;
};

class TPersistent {
 public:
  TPersistent() = default;
  TPersistent(const TPersistent&) = delete;
  TPersistent& operator=(const TPersistent&) = delete;
  virtual ~TPersistent() = default;

  static const TClassInfo& StaticClass();
  virtual const TClassInfo& ClassInfo() const { return StaticClass(); }
  const std::string& ClassName() const { return ClassInfo().Name(); }

  // Published properties by name; these throw EPropertyError when the name is unknown or the kind is wrong.
  const PropertyInfo* FindProperty(std::string_view name) const { return ClassInfo().Find(name); }
  const PropertyInfo& Property(std::string_view name) const;

  PropertyValue GetProp(std::string_view name) const;
  void SetProp(std::string_view name, const PropertyValue& value);

  std::string GetStrProp(std::string_view name) const;
  void SetStrProp(std::string_view name, std::string_view value);
  std::int64_t GetOrdProp(std::string_view name) const;
  void SetOrdProp(std::string_view name, std::int64_t value);
  double GetFloatProp(std::string_view name) const;
  void SetFloatProp(std::string_view name, double value);
  bool GetBoolProp(std::string_view name) const;
  void SetBoolProp(std::string_view name, bool value);
  // An enumeration by its value name ("True"); setting an unknown name throws.
  std::string GetEnumProp(std::string_view name) const;
  void SetEnumProp(std::string_view name, std::string_view value_name);
  TPersistent* GetObjectProp(std::string_view name);
};

// Reads and writes one property of one object; what a resolved name or path gives.
struct PropertyRef {
  TPersistent* Instance = nullptr;
  const PropertyInfo* Info = nullptr;

  explicit operator bool() const { return Instance != nullptr && Info != nullptr; }
  PropertyKind Kind() const { return Info ? Info->Kind : PropertyKind::Unknown; }
  PropertyValue Get() const;
  void Set(const PropertyValue& value) const;
  TPersistent* Object() const;
  // Enumeration value names; SetEnumName throws EPropertyError for a name the type does not have.
  std::string EnumName() const;
  void SetEnumName(std::string_view value_name) const;
};

}  // namespace quendra
