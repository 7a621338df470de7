#include "text/translation_table.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "text/char_codes.h"

namespace quendra {
namespace {

// A stored map: the three flag lines, then entry lines up to the highest code given.
std::vector<std::string> Map(std::string below, std::string above, std::string case_line,
                             std::vector<std::pair<int, std::string>> entries = {}) {
  std::vector<std::string> lines{std::move(below), std::move(above), std::move(case_line)};
  for (auto& [code, entry] : entries) {
    if (lines.size() < static_cast<std::size_t>(code) + 4) lines.resize(static_cast<std::size_t>(code) + 4);
    lines[static_cast<std::size_t>(code) + 3] = entry;
  }
  return lines;
}

struct TranslateCase {
  const char* name;
  std::vector<std::string> lines;
  std::string input;
  std::string expected;
};

class TranslateTest : public ::testing::TestWithParam<TranslateCase> {};

TEST_P(TranslateTest, TranslatesAsTheMapSays) {
  const TranslateCase& c = GetParam();
  TzelTranslationTable table(true);
  table.LoadFromStrings(c.lines);
  EXPECT_EQ(table.Translate(c.input), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Maps, TranslateTest,
    ::testing::Values(
        TranslateCase{"EmptyMapKeepsAll", {}, "a\tb\r\n\xE9", "a\tb\r\n\xE9"},
        TranslateCase{"EmptyText", Map("Y", "Y", "1", {{65, "R"}}), "", ""},
        TranslateCase{"OnlyLineOneY", {"Y"}, "a\tb\r\nc\x01\x1F d", "abc d"},
        TranslateCase{"LowerCaseYHasNoEffect", {"y"}, "a\tb", "a\tb"},
        TranslateCase{"NFlagsKeep", Map("N", "N", "0"), "a\t\xE9", "a\t\xE9"},
        TranslateCase{"UpperCase", Map("N", "N", "1"), "abc", "ABC"},
        TranslateCase{"LowerCase", Map("N", "N", "2"), "AbC", "abc"},
        TranslateCase{"CaseOtherNumberIsNone", Map("N", "N", "3"), "AbC", "AbC"},
        TranslateCase{"CaseNonNumberIsNone", Map("N", "N", "up"), "AbC", "AbC"},
        TranslateCase{"CaseConversionCoversCodePageLetters", Map("N", "N", "1"), "\xE4\xF6\xFC\xFF\x9A",
                      "\xC4\xD6\xDC\x9F\x8A"},
        TranslateCase{"LowerCodePageLetters", Map("N", "N", "2"), "\xC4\xD6\xDC\x9F\x8A",
                      "\xE4\xF6\xFC\xFF\x9A"},
        TranslateCase{"EntryForLowerLetterNeverReachedAfterUpperCase", Map("N", "N", "1", {{97, "C120"}}),
                      "abc", "ABC"},
        TranslateCase{"EntryForUpperLetterAppliesAfterUpperCase", Map("N", "N", "1", {{65, "C120"}}), "abc",
                      "xBC"},
        TranslateCase{"RangeRemovalBeforeEntry", Map("Y", "N", "0", {{9, "C32"}}), "a\tb", "ab"},
        TranslateCase{"Remove", Map("N", "N", "0", {{65, "R"}}), "BANANA", "BNN"},
        TranslateCase{"ReplaceChar", Map("N", "N", "0", {{65, "C66"}}), "ABBA", "BBBB"},
        TranslateCase{"ReplaceCharLowEightBits", Map("N", "N", "0", {{65, "C322"}}), "ABBA", "BBBB"},
        TranslateCase{"ReplaceCharHex", Map("N", "N", "0", {{65, "C$61"}}), "A", "a"},
        TranslateCase{"ReplaceCharHexX", Map("N", "N", "0", {{65, "C0x62"}}), "A", "b"},
        TranslateCase{"ReplaceCharLeadingSpaces", Map("N", "N", "0", {{65, "C  99"}}), "A", "c"},
        TranslateCase{"ReplaceCharNegative", Map("N", "N", "0", {{65, "C-1"}}), "A", "\xFF"},
        TranslateCase{"ReplaceCharNotANumberKeeps", Map("N", "N", "0", {{65, "Cq"}}), "A", "A"},
        TranslateCase{"ReplaceCharTrailingJunkKeeps", Map("N", "N", "0", {{65, "C66x"}}), "A", "A"},
        TranslateCase{"ReplaceCharOverflowKeeps", Map("N", "N", "0", {{65, "C99999999999"}}), "A", "A"},
        TranslateCase{"LoneCIsKeep", Map("N", "N", "0", {{65, "C"}}), "A", "A"},
        TranslateCase{"LowerCaseLettersAreKeep", Map("N", "N", "0", {{65, "r"}, {66, "c67"}, {67, "sX"}}),
                      "ABC", "ABC"},
        TranslateCase{"RWithMoreIsKeep", Map("N", "N", "0", {{65, "RR"}}), "A", "A"},
        TranslateCase{"ReplaceStringCrLf", Map("N", "N", "0", {{59, "S#0D#0A"}}), "a;b", "a\r\nb"},
        TranslateCase{"LoneSRemoves", Map("N", "N", "0", {{59, "S"}}), "a;b;", "ab"},
        TranslateCase{"ReplaceStringPlainText", Map("N", "N", "0", {{38, "S&amp;"}}), "a&b", "a&amp;b"},
        TranslateCase{"ReplaceStringBadHexStays", Map("N", "N", "0", {{38, "S#ZZ#4"}}), "&", "#ZZ#4"},
        TranslateCase{"ReplaceStringDoubleHash", Map("N", "N", "0", {{38, "S##41"}}), "&", "#41"},
        TranslateCase{"AboveRemovedEvenWithEntry", Map("N", "Y", "0", {{233, "C101"}}), "caf\xE9 \x80\xFF",
                      "caf "},
        TranslateCase{"BelowRemovedKeepsSpace", Map("Y", "N", "0"), " \x1F ", "  "},
        TranslateCase{"ReplaceByCharacterBelow32ThenNotRemoved", Map("Y", "N", "0", {{65, "C9"}}), "A", "\t"},
        TranslateCase{"CodeZeroEntry", Map("N", "N", "0", {{0, "C48"}}), std::string("a\0b", 3), "a0b"}),
    [](const ::testing::TestParamInfo<TranslateCase>& info) { return std::string(info.param.name); });

TEST(TranslationTable, EntryLinesWrapAroundAt256) {
  // Line 4 + 300 names code 300 % 256 = 44 and replaces what line 4 + 44 set.
  std::vector<std::string> lines = Map("N", "N", "0", {{44, "C45"}});
  lines.resize(3 + 301);
  lines[3 + 300] = "C46";
  TzelTranslationTable table;
  table.LoadFromStrings(lines);
  EXPECT_EQ(table.Translate("a,b"), "a.b");
  ASSERT_NE(table.EntryFor(44), nullptr);
  EXPECT_EQ(table.EntryFor(44)->mode, TTransMode::ReplaceChar);
  EXPECT_EQ(table.EntryFor(44)->text, ".");
}

TEST(TranslationTable, LaterKeepLineRemovesEarlierEntry) {
  std::vector<std::string> lines = Map("N", "N", "0", {{65, "R"}});
  lines.resize(3 + 256 + 66);  // the empty line 4 + 256 + 65 names code 65 again
  TzelTranslationTable table;
  table.LoadFromStrings(lines);
  EXPECT_EQ(table.EntryFor(65), nullptr);
  EXPECT_EQ(table.Translate("A"), "A");
}

TEST(TranslationTable, FlagsAndEntriesAfterLoad) {
  TzelTranslationTable table(true);
  EXPECT_TRUE(table.owns_entries());
  EXPECT_FALSE(TzelTranslationTable(false).owns_entries());
  EXPECT_FALSE(table.remove_below_32());
  EXPECT_FALSE(table.remove_above_127());
  EXPECT_EQ(table.case_conversion(), TCaseConversion::None);
  EXPECT_EQ(table.max_replace_len(), 1);
  EXPECT_TRUE(table.IsIdentity());

  table.LoadFromStrings(Map("Y", "Y", "2", {{59, "S#0D#0A"}, {65, "R"}, {66, "C67"}, {67, "Cq"}}));
  EXPECT_TRUE(table.remove_below_32());
  EXPECT_TRUE(table.remove_above_127());
  EXPECT_EQ(table.case_conversion(), TCaseConversion::Lower);
  EXPECT_EQ(table.max_replace_len(), 2);
  EXPECT_FALSE(table.IsIdentity());
  ASSERT_NE(table.EntryFor(59), nullptr);
  EXPECT_EQ(table.EntryFor(59)->mode, TTransMode::ReplaceString);
  EXPECT_EQ(table.EntryFor(59)->text, "\r\n");
  EXPECT_EQ(table.EntryFor(65)->mode, TTransMode::Remove);
  EXPECT_EQ(table.EntryFor(66)->text, "C");
  EXPECT_EQ(table.EntryFor(67)->text, "C");  // an unreadable number keeps the character itself
  EXPECT_EQ(table.EntryFor(68), nullptr);
  EXPECT_EQ(table.EntryFor(255), nullptr);
  EXPECT_EQ(table.EntryFor(-1), nullptr);
  EXPECT_EQ(table.EntryFor(256), nullptr);

  // A reload replaces everything, flags included.
  table.LoadFromStrings({});
  EXPECT_FALSE(table.remove_below_32());
  EXPECT_EQ(table.case_conversion(), TCaseConversion::None);
  EXPECT_EQ(table.max_replace_len(), 1);
  EXPECT_EQ(table.EntryFor(59), nullptr);
  EXPECT_TRUE(table.IsIdentity());
}

TEST(TranslationTable, ReplacementTextIsCutAt255Characters) {
  TzelTranslationTable table;
  table.LoadFromStrings(
      Map("N", "N", "0", {{65, "S" + std::string(300, 'x')}, {66, "C" + std::string(300, ' ') + "67"}}));
  EXPECT_EQ(table.EntryFor(65)->text, std::string(255, 'x'));
  EXPECT_EQ(table.max_replace_len(), 255);
  // 300 spaces then digits: the number is cut off after 255 characters and does not read.
  EXPECT_EQ(table.EntryFor(66)->text, "B");
}

TEST(TranslationTable, LongestReplacementFillsOutput) {
  TzelTranslationTable table;
  std::string replacement(255, 'z');
  for (int code = 0; code < 256; ++code)
    table.SetEntry(static_cast<std::uint8_t>(code), TTransMode::ReplaceString, replacement);
  std::string text(1000, 'q');
  text[10] = '\0';
  text[20] = '\xFF';
  EXPECT_EQ(table.Translate(text).size(), 255u * 1000u);
}

TEST(TranslationTable, SetEntryAndKeep) {
  TzelTranslationTable table;
  table.SetEntry(65, TTransMode::ReplaceChar, "b");
  table.SetEntry(66, TTransMode::ReplaceChar, "");  // no character: dropped
  table.SetEntry(67, TTransMode::ReplaceString, "<long replacement>");
  EXPECT_EQ(table.Translate("ABCD"), "b<long replacement>D");
  // A longer string set after a load raises the output size too.
  EXPECT_EQ(table.max_replace_len(), 18);
  table.SetEntry(65, TTransMode::Keep, "ignored");
  EXPECT_EQ(table.EntryFor(65), nullptr);
  EXPECT_EQ(table.Translate("A"), "A");
  table.SetEntry(68, static_cast<TTransMode>(7), "x");  // an unknown mode writes nothing
  EXPECT_EQ(table.Translate("D"), "");
}

TEST(TranslationTable, SettersRecompile) {
  TzelTranslationTable table;
  table.set_case_conversion(TCaseConversion::Upper);
  table.set_remove_below_32(true);
  table.set_remove_above_127(true);
  EXPECT_EQ(table.Translate("ab\t\xE9"), "AB");
  table.Clear();
  EXPECT_TRUE(table.IsIdentity());
  EXPECT_EQ(table.Translate("ab\t\xE9"), "ab\t\xE9");
}

TEST(TranslationTable, TranslateIntoReusesBuffer) {
  TzelTranslationTable table;
  table.LoadFromStrings(Map("N", "N", "0", {{65, "S##"}}));
  std::string out = "previous content";
  table.TranslateInto("xAx", out);
  EXPECT_EQ(out, "x#x");
  TzelTranslationTable identity;
  identity.TranslateInto("same", out);
  EXPECT_EQ(out, "same");
}

struct DecodeCase {
  std::string input;
  std::string expected;
};

TEST(DecodeCharCodes, ReadsHashNotation) {
  const DecodeCase cases[] = {
      {"", ""},           {"#0D#0A", "\r\n"}, {"##41", "#41"}, {"##", "#"},
      {"###41", "#A"},    {"#4", "#4"},       {"#", "#"},      {"a#", "a#"},
      {"#ZZ", "#ZZ"},     {"#4G", "#4G"},     {"#G4", "#G4"},  {"#ff#Fe#00", std::string("\xFF\xFE\0", 3)},
      {"#41#", "A#"},     {"x#20y", "x y"},   {"#2", "#2"},    {"#-1", "#-1"},
      {"#0x41", "#0x41"}, {"Data", "Data"},
  };
  for (const DecodeCase& c : cases) EXPECT_EQ(DecodeCharCodes(c.input), c.expected) << "input: " << c.input;
}

}  // namespace
}  // namespace quendra
