#include "component/persistent.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "component/ascii_text.h"
#include "component/text_numbers.h"

namespace quendra {

std::int64_t ValueToInteger(const PropertyValue& v) {
  if (const auto* n = std::get_if<std::int64_t>(&v)) return *n;
  if (const auto* d = std::get_if<double>(&v)) {
    // Detect and prevent out-of-range conversion: a double beyond int64 is undefined behaviour to cast.
    if (!std::isfinite(*d) || std::fabs(*d) >= 9.2e18)
      throw EPropertyError("Floating value out of integer range");
    return std::llround(*d);
  }
  if (const auto* s = std::get_if<std::string>(&v)) {
    if (auto n = ParseInteger(*s)) return *n;
    throw EPropertyError("'" + *s + "' is not a valid integer value");
  }
  return 0;
}

double ValueToFloat(const PropertyValue& v) {
  if (const auto* n = std::get_if<std::int64_t>(&v)) return static_cast<double>(*n);
  if (const auto* d = std::get_if<double>(&v)) return *d;
  if (const auto* s = std::get_if<std::string>(&v)) {
    if (auto d = ParseFloat(*s)) return *d;
    throw EPropertyError("'" + *s + "' is not a valid floating point value");
  }
  return 0.0;
}

std::string ValueToText(const PropertyValue& v) {
  if (const auto* n = std::get_if<std::int64_t>(&v)) return std::to_string(*n);
  if (const auto* d = std::get_if<double>(&v)) return FloatToText(*d);
  if (const auto* s = std::get_if<std::string>(&v)) return *s;
  return {};
}

TClassInfo::TClassInfo(std::string name, const TClassInfo* parent, std::vector<PropertyInfo> properties)
    : name_(std::move(name)), parent_(parent), properties_(std::move(properties)) {}

const PropertyInfo* TClassInfo::Find(std::string_view name) const {
  // Derived classes first, so a class may republish an ancestor's name with other behaviour.
  for (const TClassInfo* c = this; c != nullptr; c = c->parent_) {
    for (const PropertyInfo& p : c->properties_) {
      if (SameTextAscii(p.Name, name)) return &p;
    }
  }
  return nullptr;
}

std::vector<const PropertyInfo*> TClassInfo::AllProperties() const {
  std::vector<const TClassInfo*> chain;
  for (const TClassInfo* c = this; c != nullptr; c = c->parent_) chain.push_back(c);
  std::vector<const PropertyInfo*> out;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    for (const PropertyInfo& p : (*it)->properties_) {
      if (Find(p.Name) == &p) out.push_back(&p);
    }
  }
  return out;
}

bool TClassInfo::InheritsFrom(std::string_view class_name) const {
  for (const TClassInfo* c = this; c != nullptr; c = c->parent_) {
    if (SameTextAscii(c->name_, class_name)) return true;
  }
  return false;
}

const TClassInfo& TPersistent::StaticClass() {
  static const TClassInfo info{"TPersistent", nullptr, {}};
  return info;
}

const PropertyInfo& TPersistent::Property(std::string_view name) const {
  const PropertyInfo* p = FindProperty(name);
  if (p == nullptr)
    throw EPropertyError("Property " + std::string(name) + " does not exist in " + ClassName());
  return *p;
}

namespace {

PropertyRef RefOf(const TPersistent& self, std::string_view name) {
  return PropertyRef{const_cast<TPersistent*>(&self), &self.Property(name)};
}

void ExpectKind(const PropertyRef& ref, PropertyKind kind) {
  if (ref.Kind() != kind) throw EPropertyError("Property " + ref.Info->Name + " is of another kind");
}

}  // namespace

PropertyValue TPersistent::GetProp(std::string_view name) const {
  return RefOf(*this, name).Get();
}
void TPersistent::SetProp(std::string_view name, const PropertyValue& value) {
  RefOf(*this, name).Set(value);
}

std::string TPersistent::GetStrProp(std::string_view name) const {
  const PropertyRef ref = RefOf(*this, name);
  ExpectKind(ref, PropertyKind::Text);
  return ValueToText(ref.Get());
}

void TPersistent::SetStrProp(std::string_view name, std::string_view value) {
  const PropertyRef ref = RefOf(*this, name);
  ExpectKind(ref, PropertyKind::Text);
  ref.Set(std::string(value));
}

std::int64_t TPersistent::GetOrdProp(std::string_view name) const {
  return ValueToInteger(GetProp(name));
}
void TPersistent::SetOrdProp(std::string_view name, std::int64_t value) {
  SetProp(name, value);
}
double TPersistent::GetFloatProp(std::string_view name) const {
  return ValueToFloat(GetProp(name));
}
void TPersistent::SetFloatProp(std::string_view name, double value) {
  SetProp(name, value);
}

bool TPersistent::GetBoolProp(std::string_view name) const {
  const PropertyRef ref = RefOf(*this, name);
  ExpectKind(ref, PropertyKind::Enumeration);
  return ValueToInteger(ref.Get()) != 0;
}

void TPersistent::SetBoolProp(std::string_view name, bool value) {
  const PropertyRef ref = RefOf(*this, name);
  ExpectKind(ref, PropertyKind::Enumeration);
  ref.Set(std::int64_t{value ? 1 : 0});
}

std::string TPersistent::GetEnumProp(std::string_view name) const {
  return RefOf(*this, name).EnumName();
}
void TPersistent::SetEnumProp(std::string_view name, std::string_view value_name) {
  RefOf(*this, name).SetEnumName(value_name);
}

TPersistent* TPersistent::GetObjectProp(std::string_view name) {
  return RefOf(*this, name).Object();
}

PropertyValue PropertyRef::Get() const {
  if (!Info->Get) throw EPropertyError("Property " + Info->Name + " cannot be read");
  return Info->Get(*Instance);
}

void PropertyRef::Set(const PropertyValue& value) const {
  if (!Info->Set) throw EPropertyError("Property " + Info->Name + " is read-only");
  Info->Set(*Instance, value);
}

TPersistent* PropertyRef::Object() const {
  if (Info->Kind != PropertyKind::Object || !Info->Object) {
    throw EPropertyError("Property " + Info->Name + " is not an object");
  }
  return Info->Object(*Instance);
}

std::string PropertyRef::EnumName() const {
  if (Info->Kind != PropertyKind::Enumeration)
    throw EPropertyError("Property " + Info->Name + " is not an enumeration");
  const std::int64_t n = ValueToInteger(Get());
  if (n < 0 || static_cast<std::size_t>(n) >= Info->EnumNames.size()) return std::to_string(n);
  return Info->EnumNames[static_cast<std::size_t>(n)];
}

void PropertyRef::SetEnumName(std::string_view value_name) const {
  if (Info->Kind != PropertyKind::Enumeration)
    throw EPropertyError("Property " + Info->Name + " is not an enumeration");
  for (std::size_t i = 0; i < Info->EnumNames.size(); ++i) {
    if (SameTextAscii(Info->EnumNames[i], value_name)) {
      Set(static_cast<std::int64_t>(i));
      return;
    }
  }
  throw EPropertyError("Invalid property element: " + std::string(value_name));
}

}  // namespace quendra
