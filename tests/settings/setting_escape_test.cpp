#include <gtest/gtest.h>

#include <string>

#include "settings/setting_escape.h"

namespace quendra {
namespace {

using namespace std::string_literals;

TEST(SettingEscapeTest, EncodesAsStored) {
  struct Case {
    std::string text;
    std::string stored;
  };
  const Case cases[] = {
      {" a+b%c ", "+a%2bb%%c+"},
      {"Y\r\nN\r\n0\r\n", "Y%0d%0aN%0d%0a0%0d%0a"},
      {"x y", "x y"},
      {"  ", "++"},
      {" ", "+"},
      {"a  b", "a  b"},
      {"  ab  ", "++ab++"},
      {"x y \r\n", "x y %0d%0a"},  // the space has a line break after it, so it is inner
      {"", ""},
      {"\t\x1f", "%09%1f"},
      {"+", "%2b"},
      {"%%", "%%%%"},
      {"\x7f\x80\xff", "\x7f\x80\xff"},
      {"HH\":\"NN", "HH\":\"NN"},
      {"C:\\Data\\in.xml", "C:\\Data\\in.xml"},
      {"a\0b"s, "a%00b"},  // a NUL is kept, not cut off
  };
  for (const Case& c : cases) EXPECT_EQ(EscapeSettingText(c.text), c.stored) << c.text;
}

TEST(SettingEscapeTest, DecodesEveryStoredFormAndNeverFails) {
  struct Case {
    std::string stored;
    std::string text;
  };
  const Case cases[] = {
      {"+a%2bb%%c+", " a+b%c "},
      {"Y%0d%0aN%0d%0a0%0d%0a", "Y\r\nN\r\n0\r\n"},
      {"a%0D%0Ab", "a\r\nb"},
      {"%41%4a%4A", "AJJ"},
      {"%%41", "%41"},
      {"%", "%"},
      {"%4", "%4"},
      {"%zz", "%zz"},
      {"%g1%", "%g1%"},
      {"50%", "50%"},
      {"++", "  "},
      {"a%00b", "a\0b"s},
      {"%%%", "%%"},
  };
  for (const Case& c : cases) EXPECT_EQ(UnescapeSettingText(c.stored), c.text) << c.stored;
}

TEST(SettingEscapeTest, EveryByteStringRoundTrips) {
  std::string all;
  for (int c = 0; c < 256; ++c) all += static_cast<char>(c);
  for (const std::string& text : {all, " " + all + " ", "  %+%  "s}) {
    const std::string stored = EscapeSettingText(text);
    EXPECT_EQ(stored.find_first_of("\r\n"), std::string::npos);
    EXPECT_NE(stored.front(), ' ');
    EXPECT_NE(stored.back(), ' ');
    EXPECT_EQ(UnescapeSettingText(stored), text);
  }
}

}  // namespace
}  // namespace quendra
