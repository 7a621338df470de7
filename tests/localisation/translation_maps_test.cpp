#include "localisation/translation_maps.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quendra {
namespace {

TEST(TranslationMapsTest, EscapedForms) {
  struct Case {
    std::string text, with_ampersand, without_ampersand;
  };
  const std::vector<Case> cases = {
      {"Line1\r\nLine2", "Line1%0D%0ALine2", "Line1%0D%0ALine2"},
      {"&Options", "&Options", "Options"},
      {std::string("\x00\x1F\x7F", 3), "%00%1F\x7F", "%00%1F\x7F"},
      {"100% & more", "100% & more", "100%  more"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EscapeControlCharacters(c.text, true), c.with_ampersand) << c.text;
    EXPECT_EQ(EscapeControlCharacters(c.text, false), c.without_ampersand) << c.text;
  }
}

// The system code page of the tests is 1252.
TEST(TranslationMapsTest, Utf8ToTheAnsiCodePage) {
  struct Case {
    std::string utf8, ansi;
  };
  const std::vector<Case> cases = {
      {"Eintrag hinzuf\xC3\xBCgen", "Eintrag hinzuf\xFCgen"},
      {"\xE2\x82\xAC 5", "\x80 5"},  // the euro sign has a place in 1252
      {"\xD0\x96", "?"},             // Cyrillic has none
      {"\xC3(", "?("},               // a lead byte without its continuation
      {"a\xF0\x9F", "a?"},           // cut short by the end: one character
      {"\xC0\xAF", "??"},            // an overlong "/" is malformed byte by byte
      {"\xED\xA0\x80", "???"},       // a surrogate
      {"\xF4\x90\x80\x80", "????"},  // beyond U+10FFFF
      {"\xFF\xFE", "??"},
  };
  for (const Case& c : cases) EXPECT_EQ(Utf8ToAnsi(c.utf8), c.ansi) << c.utf8;
}

TEST(TranslationMapsTest, LaterBlocksReplaceEarlierOnes) {
  TWtranslLanguagesList maps;
  maps.Add("Add item", "Alt");
  maps.Add("Add item", "Neu");
  maps.Add("options", "Optionen");
  EXPECT_EQ(maps.Count(), 2u);
  EXPECT_EQ(maps.Lookup("ADD ITEM", TextEncoding::None).Translation, "Neu");
  // A source already in lower case is found from any case too.
  const TextLookup found = maps.Lookup("OPTIONS", TextEncoding::None);
  EXPECT_TRUE(found.Found);
  EXPECT_EQ(found.Translation, "Optionen");
  EXPECT_EQ(found.Source, "options");
}

}  // namespace
}  // namespace quendra
