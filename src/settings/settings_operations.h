// Running one settings-store operation at a module's settings location: what the module's LoadSettings,
// SaveSettings and SaveShortSettings do. The module keeps the location; the configuration object, the
// options dialog and the presets pass it here with the map and the target.
#pragma once

#include <string>
#include <string_view>

#include "settings/wreg.h"

namespace quendra {

struct SettingsLocation {
  TRegistryRoot RegistryRoot = TRegistryRoot::rrHKEY_LOCAL_MACHINE;
  TRegistryRoot SecondRegistryRoot = TRegistryRoot::rrHKEY_CURRENT_USER;
  std::string RegistryPath;      // host parameter "RegistryPath"
  std::string IniFile;           // host parameter "INI-FILE"; empty selects the registry
  std::string IniSectionPrefix;  // host parameter "INISectionPrefix"
  TWreg::TSetValueEvent OnSetPropertyValue;
  TWreg::TGetValueEvent OnGetPropertyValue;
  TWreg::TBeforeProcessItemEvent OnBeforeProcessSettingsItem;
};

// `ini_file`, when not empty, replaces the location's INI file (a preset file, for instance). The result
// is the store's: false when no back end could be opened or an INI file could not be written.
bool LoadSettings(const SettingsLocation& location, const TStringList& map, TPersistent& target,
                  std::string_view ini_file = {});
bool SaveSettings(const SettingsLocation& location, const TStringList& map, TPersistent& target,
                  std::string_view ini_file = {});
// SaveSettings with the map cut after its ";---short---" marker line.
bool SaveShortSettings(const SettingsLocation& location, const TStringList& map, TPersistent& target,
                       std::string_view ini_file = {});

}  // namespace quendra
