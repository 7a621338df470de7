// The fast reader against the plain model of the same rules, on inputs built from the constructs that
// the rules treat specially.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "xml/xml_tree.h"
#include "xml_reference_model.h"
#include "xml_tree_dump.h"

namespace quendra {
namespace {

const char* const kPieces[] = {
    "<",       ">",     "/",         "'",         "\"",   "=",  " ",    "\t",   "\r",  "\n",   "\r\n",
    "a",       "b",     "Data",      "&amp;",     "&lt;", "&",  ";",    "amp",  "<a>", "</a>", "<b/>",
    "x=\"1\"", "y='2'", "<![CDATA[", "<![cdata[", "]]>",  "<?", "?>",   "<!--", "-->", "\\n ", "\\t ",
    "\\",      "n",     "-",         "!",         "?",    "]",  "\x01", "\xe9",
};

std::string RandomInput(std::mt19937& rng) {
  std::uniform_int_distribution<std::size_t> length(0, 24);
  std::uniform_int_distribution<std::size_t> piece(0, std::size(kPieces) - 1);
  std::string s;
  for (std::size_t i = length(rng); i > 0; --i) s += kPieces[piece(rng)];
  if (rng() % 64 == 0) s.insert(rng() % (s.size() + 1), 1, '\0');
  return s;
}

TEST(XmlReference, TokensMatchModel) {
  std::mt19937 rng(20261211);
  for (int i = 0; i < 20000; ++i) {
    const std::string input = RandomInput(rng);
    ASSERT_EQ(testing::TokenStrings(input), testing::ModelTokens(testing::ModelNormaliseLines(input)))
        << testing::Escape(input);
  }
}

TEST(XmlReference, TreesMatchModel) {
  std::mt19937 rng(7);
  TtolXMLTree tree;
  for (int i = 0; i < 20000; ++i) {
    const std::string input = RandomInput(rng);
    const testing::ModelOutcome expected = testing::ModelParse(input);
    const XmlParseResult result = tree.parse(input);
    ASSERT_EQ(static_cast<bool>(result), expected.ok) << testing::Escape(input);
    ASSERT_EQ(testing::Dump(tree), expected.dump) << testing::Escape(input);
  }
}

}  // namespace
}  // namespace quendra
