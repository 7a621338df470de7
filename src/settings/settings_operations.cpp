#include "settings/settings_operations.h"

#include "settings/settings_map.h"

namespace quendra {

namespace {

bool RunStore(const SettingsLocation& location, const TStringList& map, TPersistent& target,
              std::string_view ini_file, bool save) {
  TWreg store;
  store.RegistryRoot = location.RegistryRoot;
  store.SecondRegistryRoot = location.SecondRegistryRoot;
  store.RegistryPath = location.RegistryPath;
  store.INIFileSectionPrefix = location.IniSectionPrefix;
  store.INIFile = ini_file.empty() ? location.IniFile : std::string(ini_file);
  store.SetValue = location.OnSetPropertyValue;
  store.GetValue = location.OnGetPropertyValue;
  store.BeforeProcessItem = location.OnBeforeProcessSettingsItem;
  store.Components().Assign(map);
  return save ? store.SaveProperties(target) : store.LoadProperties(target);
}

}  // namespace

bool LoadSettings(const SettingsLocation& location, const TStringList& map, TPersistent& target,
                  std::string_view ini_file) {
  return RunStore(location, map, target, ini_file, false);
}

bool SaveSettings(const SettingsLocation& location, const TStringList& map, TPersistent& target,
                  std::string_view ini_file) {
  return RunStore(location, map, target, ini_file, true);
}

bool SaveShortSettings(const SettingsLocation& location, const TStringList& map, TPersistent& target,
                       std::string_view ini_file) {
  return RunStore(location, ShortenSettingsMap(map), target, ini_file, true);
}

}  // namespace quendra
