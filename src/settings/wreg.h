// The settings store: persists the properties of one target object to the registry or to an INI file,
// entry by entry as a settings map says. A store lives for one operation: make it, set its location and
// map, run one LoadProperties or SaveProperties, drop it.
//
// Map lines are "property path, key path". The property path names a property of the target: of a flat
// target (a TProxyCodeCustomObject) with the dots turned into underscores ("BegSign.Text" is
// BegSign_Text), of any other target (a form) as a path of owned components and properties. The key path
// is backslash-separated; its last segment is the value name, the segments before it the sub-key below
// RegistryPath, or, joined by dots, the INI section ("Common" when there are none), after
// INIFileSectionPrefix and a dot when a prefix is set. Blank lines and lines starting with ";" are skipped.
//
// Reading is lenient: a missing value keeps the property as it is, an unreadable one is skipped (and, in
// the registry, deleted so the next save writes a clean one), and an error in one entry never stops the
// others.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "component/component.h"
#include "component/string_list.h"

namespace quendra {

enum class TRegistryRoot {
  rrHKEY_CLASSES_ROOT,
  rrHKEY_CURRENT_USER,
  rrHKEY_LOCAL_MACHINE,
  rrHKEY_USERS,
  rrHKEY_CURRENT_CONFIG,
  rrNone
};

class TWreg : public TComponent {
 public:
  // Receives the loaded value of a virtual entry (text already decoded).
  using TSetValueEvent =
      std::function<void(TWreg& sender, const std::string& name, int index, const PropertyValue& value)>;
  // Supplies the value of a virtual entry to save; left empty, the stored value is removed.
  using TGetValueEvent =
      std::function<void(TWreg& sender, const std::string& name, int index, PropertyValue& value)>;
  // Called before each entry; may skip it, make it virtual or change the kind it is stored as.
  using TBeforeProcessItemEvent =
      std::function<void(TWreg& sender, const std::string& name, int index, bool& is_require_processing,
                         bool& is_virtual, PropertyKind& item_type)>;

  TWreg() = default;

  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  TRegistryRoot RegistryRoot = TRegistryRoot::rrHKEY_LOCAL_MACHINE;
  TRegistryRoot SecondRegistryRoot = TRegistryRoot::rrHKEY_CURRENT_USER;
  std::string RegistryPath = "\\Software\\Company name\\App name";
  std::string INIFile;
  std::string INIFileSectionPrefix;
  TSetValueEvent SetValue;
  TGetValueEvent GetValue;
  TBeforeProcessItemEvent BeforeProcessItem;

  // The map lines to process.
  using TComponent::Components;
  TStringList& Components() { return components_; }
  const TStringList& Components() const { return components_; }

  // Both return false when no back end could be opened (no registry root, for instance), and a save also
  // when the INI file could not be written back; true otherwise.
  bool LoadProperties(TPersistent& target);
  bool SaveProperties(TPersistent& target);

  // The registry root the last operation used; rrNone before one succeeded or with an INI file.
  TRegistryRoot ActiveRoot() const { return active_root_; }

  class Backend;

 private:
  bool Run(TPersistent& target, bool save);
  std::unique_ptr<Backend> OpenBackend(bool save);
  void ProcessEntry(Backend& backend, TPersistent& target, const std::string& line, int index, bool save);

  TStringList components_;
  TRegistryRoot active_root_ = TRegistryRoot::rrNone;
};

// The lock name of an INI file: its full normalised path, lower-cased, every character other than a digit
// or a letter a to z turned into "_". Two spellings of one file share a lock.
std::string IniFileLockName(const std::string& ini_file);

}  // namespace quendra
