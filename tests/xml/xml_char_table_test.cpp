#include "xml/xml_char_table.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace quendra {
namespace {

std::size_t NaiveFind(std::string_view s, std::size_t from, bool (*hit)(char)) {
  for (std::size_t i = from; i < s.size(); ++i) {
    if (hit(static_cast<char>(s[i]))) return i;
  }
  return std::string_view::npos;
}

// One matcher's searches (vector where built, and word-at-a-time on every build; exact and padded)
// against a byte loop. `s` is followed by kPadding bytes that must never count.
template <class Matcher>
void ExpectScansMatchByteLoop(std::string_view s, std::size_t from, const Matcher& m, bool (*hit)(char)) {
  const std::size_t expected = NaiveFind(s, from, hit);
  ASSERT_EQ(xml_chars::Scan(s, from, m), expected) << s.size() << " from " << from;
  ASSERT_EQ(xml_chars::ScanWords(s, from, m), expected) << s.size() << " from " << from;
  ASSERT_EQ(xml_chars::ScanPadded(s, from, m), expected) << s.size() << " from " << from;
  ASSERT_EQ(xml_chars::ScanPaddedWords(s, from, m), expected) << s.size() << " from " << from;
}

// The searches against a byte loop, on every byte value and every start and length, so that borrows
// between bytes and the tail after the last whole word or vector are covered.
TEST(XmlChars, WordAndVectorSearchesMatchByteLoop) {
  std::mt19937 rng(3);
  const std::string interesting = std::string("<>'\"&\\ \t\r\n\x01\x1f\x20\x21\x7f\x80\xa0\xff", 18) + "aZ";
  for (int round = 0; round < 3000; ++round) {
    // Every byte of the padding is one that each search stops at, so a padded search that looked past
    // the end would be caught.
    std::string padded(rng() % 72, 'x');
    for (char& c : padded)
      c = (rng() % 3) ? interesting[rng() % interesting.size()] : static_cast<char>(rng());
    const std::size_t length = padded.size();
    padded += std::string("<\xa0>'\"&\\\x01 <\xa0>'\"&\\\x01 ", xml_chars::kPadding);
    const std::string_view s(padded.data(), length);
    for (std::size_t from = 0; from <= s.size(); ++from) {
      ExpectScansMatchByteLoop(s, from, xml_chars::OneByte('<'), [](char c) { return c == '<'; });
      ExpectScansMatchByteLoop(s, from, xml_chars::OneByte('\xa0'), [](char c) { return c == '\xa0'; });
      ExpectScansMatchByteLoop(s, from, xml_chars::TagStops{},
                               [](char c) { return c == '>' || c == '\'' || c == '"'; });
      ExpectScansMatchByteLoop(s, from, xml_chars::Quotes{}, [](char c) { return c == '\'' || c == '"'; });
      ExpectScansMatchByteLoop(s, from, xml_chars::Blanks{},
                               [](char c) { return static_cast<unsigned char>(c) <= 32; });
      ExpectScansMatchByteLoop(s, from, xml_chars::Rewritable{}, [](char c) {
        return static_cast<unsigned char>(c) < 32 || c == '&' || c == '\\';
      });
      ASSERT_EQ(xml_chars::Find(s, '<', from), NaiveFind(s, from, [](char c) { return c == '<'; }));
    }
  }
}

TEST(XmlChars, TableRows) {
  for (int c = 0; c < 256; ++c) {
    const auto ch = static_cast<char>(c);
    EXPECT_EQ(xml_chars::Is(ch, xml_chars::kBlank), c <= 32) << c;
    EXPECT_EQ(xml_chars::Is(ch, xml_chars::kNameEnd), c == ' ' || c == '\t' || c == '\r' || c == '\n') << c;
    EXPECT_EQ(xml_chars::Is(ch, xml_chars::kFolded), c == '\t' || c == '\r' || c == '\n') << c;
    EXPECT_EQ(xml_chars::Is(ch, xml_chars::kLineBreak), c == '\r' || c == '\n') << c;
    EXPECT_EQ(xml_chars::Is(ch, xml_chars::kTagStop), c == '>' || c == '\'' || c == '"') << c;
  }
}

}  // namespace
}  // namespace quendra
