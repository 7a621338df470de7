#include "xml/xml_tokenizer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "xml_tree_dump.h"

namespace quendra {
namespace {

using testing::TokenStrings;

struct TokenCase {
  std::string_view input;
  std::vector<std::string> tokens;
};

TEST(XmlTokenizer, TokenListsOfTheRules) {
  const TokenCase cases[] = {
      {"<?xml version=\"1.0\"?><Data id=\"1\">\r\n <a>x</a><b/></Data>",
       {"TX:xml version=\"1.0\"", "OT:Data id=\"1\"", "OT:a", "TX:x", "CT:a", "ET:b", "CT:Data"}},
      {"<a\tb = 'c'\r\n/>", {"ET:a b = 'c'"}},
      {"</ a >", {"CT:a"}},
      {"< /a>", {"OT:/a"}},
      {"<a/ >", {"OT:a/"}},
      {"<!-- c -->", {"TX: c "}},
      {"<!---->", {"TX:"}},
      {"<![CDATA[]]>", {"CD:"}},
      {"<![CDATA[a\\n b]]>", {"CD:a\r\nb"}},
      {"<?"
       "?>",
       {}},
      {"<?\n?>", {"TX:\r\n"}},
      {"<>", {}},
      {"</>", {"CT:"}},
      {"a<b", {"TX:a", "TX:b"}},
      {"x\r\n\ty", {"TX:x  y"}},
      {"  \r\n  ", {}},
      {"<a p='x>y' q=\"'>\">t", {"OT:a p='x>y' q=\"'>\"", "TX:t"}},
      {"<a p='x>y", {"TX:a p='x>y"}},
      {"<!-->", {"TX:>"}},
      {"<?>", {"TX:>"}},
      {"&amp;", {"TX:&amp;"}},
  };
  for (const TokenCase& c : cases) EXPECT_EQ(TokenStrings(c.input), c.tokens) << c.input;
}

TEST(XmlTokenizer, OffsetsPointAtTokenStarts) {
  XmlTokenizer tokenizer;
  tokenizer.Reset("  <a x='1'>  text <!--c--></a>");
  std::vector<std::size_t> offsets;
  XmlToken token;
  while (tokenizer.Next(token)) offsets.push_back(token.offset);
  EXPECT_EQ(offsets, (std::vector<std::size_t>{2, 13, 18, 26}));
}

TEST(XmlTokenizer, PrefixesOfTheTokenList) {
  EXPECT_EQ(TokenPrefix(XmlTokenKind::opening_tag), "OT:");
  EXPECT_EQ(TokenPrefix(XmlTokenKind::closing_tag), "CT:");
  EXPECT_EQ(TokenPrefix(XmlTokenKind::empty_element_tag), "ET:");
  EXPECT_EQ(TokenPrefix(XmlTokenKind::text), "TX:");
  EXPECT_EQ(TokenPrefix(XmlTokenKind::cdata), "CD:");
}

}  // namespace
}  // namespace quendra
