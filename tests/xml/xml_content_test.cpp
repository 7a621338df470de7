#include "xml/xml_content.h"

#include <gtest/gtest.h>

#include <string>

namespace quendra {
namespace {

struct RewriteCase {
  std::string_view raw;
  const char* expected;
};

// Folds `raw` as it stands and again followed by padding made of bytes that a fold would rewrite, which
// the padded fold must not take in; both must agree.
std::string Fold(std::string_view raw, bool decode) {
  std::string out(2 * raw.size(), '\0');
  const std::string exact(xml_content::FoldSpaces(raw, decode, out.data()));
  const std::string padded = std::string(raw) + std::string(xml_chars::kPadding, '\n');
  const std::string_view inner(padded.data(), raw.size());
  EXPECT_EQ(xml_content::FoldSpaces<true>(inner, decode, out.data()), exact) << raw;
  return exact;
}

std::string Lines(std::string_view raw, bool escapes, bool decode) {
  std::string out(2 * raw.size(), '\0');
  return std::string(xml_content::KeepLines(raw, escapes, decode, out.data()));
}

TEST(XmlContent, TrimRemovesCodesUpToSpace) {
  EXPECT_EQ(xml_content::Trim(" \t\r\n\x01x y\x1f\x20"), "x y");
  EXPECT_EQ(xml_content::Trim("\x7f"
                              "x\xa0"),
            "\x7f"
            "x\xa0");
  EXPECT_EQ(xml_content::Trim(" \x01 "), "");
  EXPECT_EQ(xml_content::Trim(""), "");
}

TEST(XmlContent, FoldSpaces) {
  const RewriteCase cases[] = {
      {"plain", "plain"},
      {"a\r\nb", "a b"},
      {"a\rb\nc\tD", "a b c D"},
      {"a\n\rb", "a  b"},
      {"\r\n\r\n", "  "},
      {"&amp;lt;&lt;&gt;&apos;&quot;", "&lt;<>'\""},
      {"&Amp; &amp &#38; &", "&Amp; &amp &#38; &"},
      {"\\n x", "\\n x"},
  };
  for (const RewriteCase& c : cases) EXPECT_EQ(Fold(c.raw, true), c.expected) << c.raw;
  EXPECT_EQ(Fold("&amp;\t&lt;", false), "&amp; &lt;");
}

TEST(XmlContent, UnchangedTextIsNotCopied) {
  char out[64];
  const std::string_view raw = "no rewrite needed here";
  EXPECT_EQ(xml_content::FoldSpaces(raw, true, out).data(), raw.data());
  EXPECT_EQ(xml_content::KeepLines(raw, true, true, out).data(), raw.data());
}

TEST(XmlContent, KeepLines) {
  const RewriteCase escapes_and_entities[] = {
      {"a\rb\nc\r\nd", "a\r\nb\r\nc\r\nd"}, {"\n\r", "\r\n\r\n"},   {"1\\n 2\\t 3", "1\r\n2\t3"},
      {"\\n\\t\\x\\", "\\n\\t\\x\\"},       {"\\\\n x", "\\\r\nx"}, {"&lt;\\n &amp;", "<\r\n&"},
  };
  for (const RewriteCase& c : escapes_and_entities) EXPECT_EQ(Lines(c.raw, true, true), c.expected) << c.raw;
  EXPECT_EQ(Lines("&lt;\\n \n", false, true), "<\\n \r\n");
  EXPECT_EQ(Lines("&lt;\\n \n", true, false), "&lt;\r\n\r\n");
}

TEST(XmlContent, DecodeEntityNeedsTheWholeReference) {
  char c = 0;
  const std::string_view cut = "&amp;";
  for (std::size_t n = 1; n < cut.size(); ++n) {
    EXPECT_EQ(xml_content::DecodeEntity(cut.data(), cut.data() + n, c), 0u) << n;
  }
  EXPECT_EQ(xml_content::DecodeEntity(cut.data(), cut.data() + cut.size(), c), 5u);
  EXPECT_EQ(c, '&');
}

}  // namespace
}  // namespace quendra
