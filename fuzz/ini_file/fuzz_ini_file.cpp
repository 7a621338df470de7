// Fuzzes the INI reader and the settings texts read from it: parse any bytes, look values up, decode them,
// write them back and parse the result again, which must read the same.
//
//   fuzz_ini_file -dict=fuzz/ini_file/ini_file.dict fuzz/ini_file/corpus
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "settings/ini_file.h"
#include "settings/setting_escape.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using quendra::IniFile;
  const std::string text(reinterpret_cast<const char*>(data), size);
  IniFile ini(text);

  for (const std::string& section : ini.SectionNames()) {
    for (const std::string& line : ini.SectionLines(section)) {
      const std::string key = line.substr(0, line.find('='));
      if (const auto value = ini.ReadString(section, key)) {
        const std::string decoded = quendra::UnescapeSettingText(*value);
        Check(quendra::UnescapeSettingText(quendra::EscapeSettingText(decoded)) == decoded);
      }
    }
  }

  // Writing never breaks the file's structure: what was written reads back, and the text parses to itself.
  const std::string value = quendra::EscapeSettingText(text.substr(0, 64));
  try {
    ini.WriteString("Common", "Start string", value);
  } catch (const quendra::EIniFileError&) {
    std::abort();  // an escaped value is always writable
  }
  Check(ini.ReadString("Common", "Start string") == std::string(value));
  ini.DeleteKey("Translation", "Map0");
  const std::string written = ini.ToText();
  const IniFile again(written);
  Check(again.ToText() == written);
  Check(again.ReadString("Common", "Start string") == ini.ReadString("Common", "Start string"));
  return 0;
}
