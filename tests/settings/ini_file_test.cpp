#include <gtest/gtest.h>

#include <string>

#include "settings/ini_file.h"
#include "settings_sandbox.h"

namespace quendra {
namespace {

using namespace std::string_literals;

TEST(IniFileTest, ReadsSectionsAndKeysAsTheFileHoldsThem) {
  const IniFile ini(
      "Orphan=dropped\r\n"
      "[Common]\r\n"
      "  Start string =  Data  \r\n"
      "\r\n"
      "   \r\n"
      "; a comment line\r\n"
      "Left=1\n"
      "LEFT=2\r\n"
      "Empty=\r\n"
      "no equals sign\r\n"
      "[ Translation ]\r\n"
      "Map0=a=b\r\n"
      "[Broken\r\n"
      "k=v\r\n"
      "[common]\r\n"
      "Top=7\r\n"
      "Left=3");
  struct Case {
    const char* section;
    const char* key;
    std::optional<std::string> value;
  };
  const Case cases[] = {
      {"Common", "Start string", "Data"},
      {"COMMON", "start STRING", "Data"},
      {"Common", "Left", "1"},  // the first of duplicate keys counts
      {"Common", "Top", "7"},   // a repeated section is searched too
      {"Common", "Empty", ""},
      {"Common", "Orphan", std::nullopt},
      {"Common", "no equals sign", std::nullopt},
      {"Translation", "Map0", "a=b"},
      {"Broken", "k", "v"},
      {"Missing", "k", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ini.ReadString(c.section, c.key), c.value) << c.section << "/" << c.key;
  }
  EXPECT_EQ(ini.SectionNames(), (std::vector<std::string>{"Common", "Translation", "Broken", "common"}));
  EXPECT_EQ(ini.SectionLines("Translation"), (std::vector<std::string>{"Map0=a=b"}));
  EXPECT_FALSE(ini.Modified());
}

TEST(IniFileTest, WritesInPlaceAppendsAndRewritesWhole) {
  IniFile ini(
      "; header comment is before any section\r\n"
      "[Common]\r\n"
      "Left=1\r\n"
      "comment line\r\n"
      "Top=2\r\n"
      "[Empty]\r\n"
      "[Translation]\r\n"
      "Map0=x\r\n");
  ini.WriteString("common", "LEFT", "10");
  ini.WriteString("Common", "Width", "337");
  ini.WriteString("Extra", "Key", "v a l");
  EXPECT_TRUE(ini.DeleteKey("Translation", "map0"));
  EXPECT_FALSE(ini.DeleteKey("Translation", "map0"));
  EXPECT_TRUE(ini.Modified());
  EXPECT_EQ(ini.ToText(),
            "[Common]\r\n"
            "LEFT=10\r\n"
            "comment line\r\n"
            "Top=2\r\n"
            "Width=337\r\n"
            "\r\n"
            "[Extra]\r\n"
            "Key=v a l\r\n"
            "\r\n");
}

TEST(IniFileTest, RefusesWhatTheFormatCannotHold) {
  IniFile ini;
  const std::pair<std::string, std::string> bad_names[] = {
      {"", "k"},      {"Sec]", "k"},  {"Sec\r\n[X", "k"}, {" Sec", "k"}, {"Sec", ""},
      {"Sec", "a=b"}, {"Sec", "k\n"}, {"Sec", " k"},      {"Sec", "[k"},
  };
  for (const auto& [section, key] : bad_names) {
    EXPECT_THROW(ini.WriteString(section, key, "v"), EIniFileError) << section << "/" << key;
  }
  EXPECT_THROW(ini.WriteString("Sec", "k", "v\r\n[Common]\r\nLeft=0"), EIniFileError);
  EXPECT_FALSE(ini.Modified());
  EXPECT_EQ(ini.ToText(), "");
}

TEST(IniFileTest, RewritingTheSameValueChangesNothing) {
  IniFile ini("[Common]\r\nLeft=1\r\n");
  ini.WriteString("Common", "Left", "1");
  EXPECT_FALSE(ini.Modified());
}

using IniFileDiskTest = testing::SettingsSandbox;

TEST_F(IniFileDiskTest, LoadsMissingAsEmptyAndSavesOnlyWhenChanged) {
  const std::string path = Path("settings.ini");
  IniFile ini = IniFile::Load(path);
  EXPECT_TRUE(ini.SectionNames().empty());
  ini.SaveIfModified(path);
  EXPECT_FALSE(std::filesystem::exists(path));
  ini.WriteString("Common", "Start string", "Data");
  ini.SaveIfModified(path);
  EXPECT_EQ(ReadFile(path), "[Common]\r\nStart string=Data\r\n\r\n");
  // A moved-from file keeps working: lines point into storage that does not move.
  IniFile moved = IniFile::Load(path);
  IniFile other = std::move(moved);
  EXPECT_EQ(other.ReadString("Common", "Start string"), "Data");
}

}  // namespace
}  // namespace quendra
