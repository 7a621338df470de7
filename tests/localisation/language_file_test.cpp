#include "localisation/language_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quendra {
namespace {

struct ParseCase {
  const char* name;
  std::string text;
  std::vector<std::pair<std::string, std::string>> blocks;
};

TEST(LanguageFileTest, BlocksOfOnePair) {
  const std::vector<ParseCase> cases = {
      {"line feeds", "EN:>Add item\nDE:>Hinzu\n\n", {{"Add item", "Hinzu"}}},
      {"carriage return and line feed", "EN:>Add item\r\nDE:>Hinzu\r\n\r\n", {{"Add item", "Hinzu"}}},
      {"a lone carriage return stays in the line", "EN:>A\rB\nDE:>C\n\n", {{"A\rB", "C"}}},
      {"spaces at both ends go, tabs stay", "  EN:>A  \n\tDE:>B\nDE:>C \n\n", {{"A", "C"}}},
      {"last block without an empty line is not taken", "EN:>A\nDE:>B\n\nEN:>C\nDE:>D\n", {{"A", "B"}}},
      {"last block without any line break is not taken", "EN:>A\nDE:>B", {}},
      {"the last line of each kind counts", "EN:>A\nEN:>B\nDE:>C\nDE:>D\n\n", {{"B", "D"}}},
      {"comments belong to no block", "EN:>A\n// note\nDE:>B\n\n", {{"A", "B"}}},
      {"a block needs both texts", "EN:>A\n\nDE:>B\n\nEN:>\nDE:>C\n\n", {}},
      {"prefixes are case-sensitive", "en:>A\nde:>B\n\nEN:>A\nDE:>B\n\n", {{"A", "B"}}},
      {"other languages are ignored", "EN:>A\nFR:>F\nDE:>B\n\n", {{"A", "B"}}},
      {"a section header is a block line", "[Languages]\nEN:>A\nDE:>B\n\n", {{"A", "B"}}},
      {"text after the prefix is kept as written", "EN:> A%0D%0A\nDE:>B&x\n\n", {{" A%0D%0A", "B&x"}}},
      {"several empty lines", "\n\n\nEN:>A\nDE:>B\n\n\n", {{"A", "B"}}},
  };
  for (const ParseCase& c : cases) {
    const ParsedLanguageFile file = ParseLanguageFile(c.text, "EN", "DE");
    std::vector<std::pair<std::string, std::string>> blocks;
    for (const LanguageFileBlock& b : file.Blocks) blocks.emplace_back(b.Source, b.Translation);
    EXPECT_EQ(blocks, c.blocks) << c.name;
  }
}

// Twenty lines: the directive under test on line `at`, the rest filler block lines.
std::string with_line_at(int at, const std::string& line) {
  std::string text;
  for (int i = 1; i <= 20; ++i) text += (i == at ? line : "x") + "\n";
  return text;
}

TEST(LanguageFileTest, DirectivesOnlyOnTheFirstNineteenLines) {
  struct Case {
    std::string line;
    int at;
    uint32_t locale;
    std::optional<SaveMode> save;
  };
  const std::vector<Case> cases = {
      {"Locale=0x407", 5, 0x407, std::nullopt},
      {"Locale=0x407", 19, 0x407, std::nullopt},
      {"Locale=0x407", 20, 0, std::nullopt},
      {"Locale=1031", 1, 1031, std::nullopt},
      {"Locale=0", 1, 0, std::nullopt},
      {"Locale=0x", 1, 0, std::nullopt},
      {"Locale=12ab", 1, 0, std::nullopt},
      {"Locale=99999999999", 1, 0, std::nullopt},
      {"//saveuntr", 1, 0, SaveMode::Untranslated},
      {"//saveuntr", 20, 0, std::nullopt},
      {"//saveall", 2, 0, SaveMode::All},
      {"//saveunused", 3, 0, SaveMode::Unused},
      {"//saveuntrobj", 4, 0, SaveMode::UntranslatedWithPath},
      {"//SAVEUNTR", 1, 0, std::nullopt},
      {"  //saveuntr  ", 1, 0, SaveMode::Untranslated},
  };
  for (const Case& c : cases) {
    const ParsedLanguageFile file = ParseLanguageFile(with_line_at(c.at, c.line), "EN", "DE");
    EXPECT_EQ(file.Locale, c.locale) << c.line << " on line " << c.at;
    EXPECT_EQ(file.Save, c.save) << c.line << " on line " << c.at;
  }
}

TEST(LanguageFileTest, DirectiveValues) {
  struct Case {
    std::string line;
    TextEncoding encoding;
    ReadingDirection direction;
    int charset;
    std::optional<FileMode> file_mode;
  };
  const std::vector<Case> cases = {
      {"Encoding=utf-8", TextEncoding::Utf8, ReadingDirection::None, 1, std::nullopt},
      {"Encoding= UTF-8 ", TextEncoding::Utf8, ReadingDirection::None, 1, std::nullopt},
      {"Encoding=utf-16", TextEncoding::None, ReadingDirection::None, 1, std::nullopt},
      {"Encoding=unicode", TextEncoding::None, ReadingDirection::None, 1, std::nullopt},
      {"BiDiMode=RightToLeft", TextEncoding::None, ReadingDirection::RightToLeft, 1, std::nullopt},
      {"BiDiMode=righttoleftnoalign", TextEncoding::None, ReadingDirection::RightToLeftNoAlign, 1,
       std::nullopt},
      {"BiDiMode=righttoleftreadingonly", TextEncoding::None, ReadingDirection::RightToLeftReadingOnly, 1,
       std::nullopt},
      {"BiDiMode=lefttoright", TextEncoding::None, ReadingDirection::None, 1, std::nullopt},
      {"Charset=windows-1251", TextEncoding::None, ReadingDirection::None, 204, std::nullopt},
      {"Charset=Windows-1252", TextEncoding::None, ReadingDirection::None, 0, std::nullopt},
      {"Charset=shift-jis", TextEncoding::None, ReadingDirection::None, 128, std::nullopt},
      {"Charset=chinesebig5", TextEncoding::None, ReadingDirection::None, 136, std::nullopt},
      {"Charset=koi8-r", TextEncoding::None, ReadingDirection::None, 1, std::nullopt},
      {"//filerewrite", TextEncoding::None, ReadingDirection::None, 1, FileMode::Rewrite},
      {"//fileappend", TextEncoding::None, ReadingDirection::None, 1, FileMode::Append},
      {"//filenew", TextEncoding::None, ReadingDirection::None, 1, FileMode::New},
  };
  for (const Case& c : cases) {
    const ParsedLanguageFile file = ParseLanguageFile(c.line + "\nEN:>A\nDE:>B\n\n", "EN", "DE");
    EXPECT_EQ(file.Encoding, c.encoding) << c.line;
    EXPECT_EQ(file.Direction, c.direction) << c.line;
    EXPECT_EQ(file.Charset, c.charset) << c.line;
    EXPECT_EQ(file.File, c.file_mode) << c.line;
    // A directive line is no block line, so the block after it stays whole.
    ASSERT_EQ(file.Blocks.size(), 1u) << c.line;
  }
}

TEST(LanguageFileTest, DirectiveLinesBelongToNoBlock) {
  // On line 2 the Locale line is skipped inside the block; on line 21 it is an ordinary block line.
  const ParsedLanguageFile early = ParseLanguageFile("EN:>A\nLocale=0x407\nDE:>B\n\n", "EN", "DE");
  ASSERT_EQ(early.Blocks.size(), 1u);
  EXPECT_EQ(early.Locale, 0x407u);
}

TEST(LanguageFileTest, TheFixtureHoldsGermanAndFrench) {
  const std::string path = std::string(QUENDRA_FIXTURES) + "/interface.lng";
  EXPECT_EQ(ReadDefaultLanguage(path), "DE");
  EXPECT_EQ(ReadDefaultLanguage(path + ".missing"), "");
}

}  // namespace
}  // namespace quendra
