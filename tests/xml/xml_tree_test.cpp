#include "xml/xml_tree.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <string_view>

#include "xml_tree_dump.h"

namespace quendra {
namespace {

using testing::Dump;

struct TreeCase {
  const char* name;
  std::string_view input;
  const char* tree;
};

void PrintTo(const TreeCase& c, std::ostream* os) {
  *os << c.name;
}

// Expected trees are written from the reader's rules, one row per rule or malformed construct.
const TreeCase kTreeCases[] = {
    // Well-formed input.
    {"elements_and_attribute", R"(<Data><a>1</a><b x="2"/></Data>)", R"(root(Data(a'1' b[x="2"])))"},
    {"nested_groups", "<Data id=\"7\"><Axis no=\"1\"><Speed unit=\"rpm\">12</Speed></Axis></Data>",
     R"(root(Data[id="7"](Axis[no="1"](Speed[unit="rpm"]'12'))))"},
    {"names_keep_case", "<DaTa><MiXed/></DaTa>", "root(DaTa(MiXed))"},
    {"pretty_printed", "<Data>\r\n  <a>1</a>\r\n  <b>2</b>\r\n</Data>\r\n", "root(Data(a'1' b'2'))"},
    // Text: line breaks and TABs become spaces, ends trimmed, inner runs kept.
    {"text_folded_and_trimmed", "<a>\r\n  hello\tworld  \r\n</a>", "root(a'hello world')"},
    {"text_line_breaks_of_every_kind", "<a>1\r\n2\r3\n4\n\r5</a>", "root(a'1 2 3 4  5')"},
    {"text_inner_spaces_kept", "<a>x   y</a>", "root(a'x   y')"},
    {"text_control_bytes_trimmed", "<a>\x01\x1f x \x02</a>", "root(a'x')"},
    {"text_high_bytes_kept", "<a>\xe4\xf6\xfc \xff</a>", "root(a'\xe4\xf6\xfc \xff')"},
    {"last_text_run_wins", "<a>1<b/>2</a>", "root(a'2'(b))"},
    {"text_at_document_level", "hello<a/>", "root'hello'(a)"},
    {"text_only", "hello", "root'hello'"},
    // Attributes.
    {"attribute_quote_kinds", R"(<a p='1' q="2">)", R"(root(a[p="1" q="2"]))"},
    {"apostrophe_inside_double_quotes", R"(<a p="it's">)", R"(root(a[p="it's"]))"},
    {"greater_than_inside_quotes", "<a p='x>y'>", R"(root(a[p="x>y"]))"},
    {"unquoted_value_takes_next_quoted", R"(<a p=1 q="2">)", R"(root(a[p="2"]))"},
    {"unquoted_value_only", "<a p=1>", "root(a)"},
    {"attribute_without_equals_ends_list", R"(<a x="1" flag y="2">)", R"(root(a[x="1" flag y="2"]))"},
    {"trailing_name_without_equals", R"(<a x="1" flag>)", R"(root(a[x="1"]))"},
    {"duplicate_attributes_kept", R"(<a x="1" x="2"/>)", R"(root(a[x="1" x="2"]))"},
    {"attributes_without_space_between", R"(<a x="1"y="2"/>)", R"(root(a[x="1" y="2"]))"},
    {"spaces_around_equals", "<a  x = \"1\" />", R"(root(a[x="1"]))"},
    {"value_line_breaks_and_tabs", "<a v=\"1\t2\r\n3\n4\"/>", R"(root(a[v="1 2 3 4"]))"},
    {"value_entities", R"(<a v="&lt;&gt;&amp;&apos;&quot;"/>)", R"(root(a[v="<>&'""]))"},
    {"empty_value", R"(<a v=""/>)", R"(root(a[v=""]))"},
    {"name_ends_at_tab", "<a\tx=\"1\"/>", R"(root(a[x="1"]))"},
    {"name_ends_at_line_break", "<a\r\nx=\"1\"\r\n/>", R"(root(a[x="1"]))"},
    {"attribute_name_line_break_folded", "<a x\ny=\"1\"/>", R"(root(a[x y="1"]))"},
    // Self-closing tags.
    {"self_closing", "<a/>", "root(a)"},
    {"self_closing_with_space", "<a />", "root(a)"},
    {"slash_not_last_opens", "<a/ >x", "root(a/'x')"},
    // CDATA, comments, processing instructions.
    {"cdata_not_decoded", "<a><![CDATA[<b>&amp;</b>]]></a>", "root(a'<b>&amp;</b>')"},
    {"cdata_keyword_any_case", "<a><![cDaTa[x]]></a>", "root(a'x')"},
    {"cdata_empty_replaces_text", "<a>t<![CDATA[]]></a>", "root(a)"},
    {"cdata_lines_and_escapes", "<a><![CDATA[1\n2\\n 3\\t 4  ]]></a>", "root(a'1\\r\\n2\\r\\n3\\t4  ')"},
    {"comment_replaces_text_untrimmed", "<a>5<!-- x --></a>", "root(a' x ')"},
    {"comment_empty_replaces_text", "<a>t<!----></a>", "root(a)"},
    {"comment_decoded_and_escaped", "<a><!--&lt;\\n x\\t y\r--></a>", "root(a'<\\r\\nx\\ty\\r\\n')"},
    {"comment_other_backslashes_kept", "<a><!--\\n\\x\\t--></a>", "root(a'\\\\n\\\\x\\\\t')"},
    {"instruction_sets_document_text", R"(<?xml version="1.0"?><Data/>)", R"(root'xml version="1.0"'(Data))"},
    {"instruction_decoded_lines_kept", "<a><? p &amp;\nq ?></a>", "root(a' p &\\r\\nq ')"},
    {"instruction_empty_ignored",
     "<a>t<?"
     "?></a>",
     "root(a't')"},
    {"doctype_is_an_element", "<!DOCTYPE d><Data></Data>", "root(!DOCTYPE(Data))"},
    // Entities: one left-to-right pass, case-sensitive, only the five.
    {"entity_not_decoded_twice", "<a>x &amp;lt; y</a>", "root(a'x &lt; y')"},
    {"entity_case_sensitive", "<a>&AMP;</a>", "root(a'&AMP;')"},
    {"numeric_reference_kept", "<a>&#65;</a>", "root(a'&#65;')"},
    {"all_five_entities", "<a>&lt;&gt;&amp;&apos;&quot;&nbsp;&amp</a>", "root(a'<>&'\"&nbsp;&amp')"},
    // Mismatched and missing end tags.
    {"closing_tags_only_step_up", "<a><b></a></b>", "root(a(b))"},
    {"closing_name_ignored", "<a><b>1</c>2</a>", "root(a'2'(b'1'))"},
    {"empty_closing_tag_steps_up", "<a><b></>x</a>", "root(a'x'(b))"},
    {"missing_end_tags", "<Data><a>1", "root(Data(a'1'))"},
    {"closing_at_document_level_last", "<a></a></b>", "root(a)"},
    {"empty_tag_ignored", "<a><>x</a>", "root(a'x')"},
    // Truncated input: a '<' without '>' is read as text.
    {"truncated_in_attribute", R"(<Data><a>1</a><b x="2)", R"(root(Data'b x="2'(a'1')))"},
    {"truncated_in_name", "<Data><a", "root(Data'a')"},
    {"lone_less_than_at_end", "<a>1 < 2", "root(a'2')"},
    {"lone_less_than_reaches_next_tag_end", "<a>1 < 2</a>", "root(a'1'(2</a))"},
    {"unclosed_quote_hides_greater_than", "<x '<y>", "root'x ''(y)"},
    {"cdata_unterminated", "<a><![CDATA[abc\r\n", "root(a'abc')"},
    {"comment_unterminated", "<a><!-- abc\n", "root(a' abc')"},
    {"instruction_unterminated", "<?abc\ndef", "root'abc\\r\\ndef'"},
    // Empty input and input ended by NUL.
    {"empty", "", ""},
    {"whitespace_only", " \r\n\t ", ""},
    {"nul_ends_input", std::string_view("<a>1\0<b/>", 9), "root(a'1')"},
    {"nul_first", std::string_view("\0<a/>", 5), ""},
};

class TreeCases : public ::testing::TestWithParam<TreeCase> {};

TEST_P(TreeCases, BuildsExpectedTree) {
  TtolXMLTree tree;
  const XmlParseResult result = tree.parse(GetParam().input);
  ASSERT_TRUE(result) << result.description();
  EXPECT_EQ(Dump(tree), GetParam().tree);
}

// Every row again on one reused tree, each after a different block, to catch state kept between parses.
TEST(TtolXMLTree, ReusedTreeGivesSameTrees) {
  TtolXMLTree tree;
  for (const TreeCase& c : kTreeCases) {
    ASSERT_TRUE(tree.parse("<Old a=\"1\"><x>stale &amp; text</x></Old>"));
    ASSERT_TRUE(tree.parse(c.input));
    EXPECT_EQ(Dump(tree), c.tree) << c.name;
  }
}

INSTANTIATE_TEST_SUITE_P(Rules, TreeCases, ::testing::ValuesIn(kTreeCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct FailureCase {
  const char* name;
  std::string_view input;
  std::size_t offset;
};

const FailureCase kFailureCases[] = {
    {"element_after_stray_close", "<a></a></b><c/>", 7},
    {"text_after_stray_close", "</b>text", 0},
    {"stray_close_inside_block", "<Data></x></y><a>1</a></Data>", 10},
    {"comment_after_stray_close", "<a/></b><!---->", 4},
};

TEST(TtolXMLTree, ContentAfterStrayClosingTagFails) {
  for (const FailureCase& c : kFailureCases) {
    TtolXMLTree tree;
    ASSERT_TRUE(tree.parse("<x/>"));
    const XmlParseResult result = tree.parse(c.input);
    EXPECT_FALSE(result) << c.name;
    EXPECT_EQ(result.status(), XmlParseStatus::closing_tag_at_document_level) << c.name;
    EXPECT_EQ(result.offset(), c.offset) << c.name;
    EXPECT_STREQ(result.description(), "closing tag without an open element is followed by more content");
    EXPECT_EQ(Dump(tree), "") << c.name << ": a failed parse leaves an empty document";
    EXPECT_EQ(tree.FindElement("x"), nullptr) << c.name;
  }
}

TEST(TtolXMLTree, LoadFromTextThrowsTheFailure) {
  TtolXMLTree tree;
  EXPECT_NO_THROW(tree.LoadFromText("<Data><a>1</a></Data>"));
  EXPECT_EQ(Dump(tree), "root(Data(a'1'))");
  try {
    tree.LoadFromText("<a></a></b><c/>");
    FAIL() << "no exception";
  } catch (const XmlParseError& e) {
    EXPECT_STREQ(e.what(), "closing tag without an open element is followed by more content at offset 7");
    EXPECT_EQ(e.result().status(), XmlParseStatus::closing_tag_at_document_level);
  }
}

TEST(TtolXMLTree, NewTreeIsEmptyDocument) {
  const TtolXMLTree tree;
  EXPECT_EQ(tree.Name(), "");
  EXPECT_EQ(tree.Text(), "");
  EXPECT_TRUE(tree.Children().empty());
  EXPECT_TRUE(tree.Attributes().empty());
  EXPECT_EQ(tree.Parent(), nullptr);
  EXPECT_EQ(tree.FindElement("root"), nullptr);
}

TEST(TtolXMLTree, ParentsLinkBack) {
  TtolXMLTree tree;
  ASSERT_TRUE(tree.parse("<Data><g><a/><b/></g><c/></Data>"));
  ASSERT_EQ(tree.Children().size(), 1u);
  const TtolXMLNode& data = *tree.Children()[0];
  EXPECT_EQ(data.Parent(), &tree);
  ASSERT_EQ(data.Children().size(), 2u);
  const TtolXMLNode& g = *data.Children()[0];
  EXPECT_EQ(g.Parent(), &data);
  for (const TtolXMLNode* child : g.Children()) EXPECT_EQ(child->Parent(), &g);
  EXPECT_EQ(data.Children()[1]->Name(), "c");
}

TEST(TtolXMLTree, TreeDoesNotReferToCallerBytes) {
  TtolXMLTree tree;
  std::string block = "<Data id=\"1\"><a>text</a></Data>";
  ASSERT_TRUE(tree.parse(block));
  block.assign(block.size(), 'Z');
  EXPECT_EQ(Dump(tree), R"(root(Data[id="1"](a'text')))");
}

struct FindCase {
  const char* input;
  const char* from;  // name of the element to search from; "" for the document
  const char* name;
  const char* found;  // dump of the found element, or "none"
};

const FindCase kFindCases[] = {
    {"<Data/>", "", "DATA", "Data"},
    {"<Data/>", "", "data", "Data"},
    {"<Data/>", "", "Dat", "none"},
    {"<r><x n=\"1\"><x n=\"2\"/></x><x n=\"3\"/></r>", "", "x", "x[n=\"1\"](x[n=\"2\"])"},
    {"<r><y><x n=\"1\"/></y><x n=\"2\"/></r>", "", "x", "x[n=\"1\"]"},
    {"<r><x n=\"1\"><x n=\"2\"/></x></r>", "x", "x", "x[n=\"2\"]"},  // the node itself is not a match
    {"<r><a><x n=\"1\"/></a><x n=\"2\"/></r>", "a", "x", "x[n=\"1\"]"},
    {"<r><a/><x n=\"2\"/></r>", "a", "x", "none"},  // siblings are not descendants
    {"<!DOCTYPE d><Data></Data>", "", "data", "Data"},
    {"<\xc4x/>", "", "\xe4X", "none"},  // only ASCII letters fold
    {"<root/>", "", "root", "root"},    // the document's own name is not searched
};

TEST(TtolXMLNode, FindElementSearchesDescendantsInDocumentOrder) {
  for (const FindCase& c : kFindCases) {
    TtolXMLTree tree;
    ASSERT_TRUE(tree.parse(c.input));
    const TtolXMLNode* from = *c.from ? tree.FindElement(c.from) : &tree;
    ASSERT_NE(from, nullptr) << c.input;
    const TtolXMLNode* found = from->FindElement(c.name);
    EXPECT_EQ(found ? Dump(*found) : "none", c.found) << c.input << " / " << c.name;
  }
}

TEST(TtolXMLTree, DeepNestingHandledWithoutRecursion) {
  constexpr int kDepth = 100000;
  std::string text;
  for (int i = 0; i < kDepth; ++i) text += "<e>";
  text += "<leaf>v</leaf>";
  for (int i = 0; i < kDepth; ++i) text += "</e>";
  TtolXMLTree tree;
  ASSERT_TRUE(tree.parse(text));
  const TtolXMLNode* node = &tree;
  int depth = 0;
  while (!node->Children().empty()) {
    ASSERT_EQ(node->Children().size(), 1u);
    node = node->Children()[0];
    ++depth;
  }
  EXPECT_EQ(depth, kDepth + 1);
  EXPECT_EQ(node->Name(), "leaf");
  EXPECT_EQ(node->Text(), "v");
  EXPECT_EQ(tree.FindElement("LEAF"), node);
  // Unclosed to the end as well, then replaced by a small block.
  ASSERT_TRUE(tree.parse(std::string_view(text).substr(0, kDepth * 3)));
  EXPECT_EQ(tree.FindElement("leaf"), nullptr);
  ASSERT_TRUE(tree.parse("<Data/>"));
  EXPECT_EQ(Dump(tree), "root(Data)");
}

TEST(TtolXMLTree, TenMegabyteTextNode) {
  constexpr std::size_t kSize = 10u << 20;
  std::string text = "<Data><big>";
  const std::size_t start = text.size();
  text.resize(start + kSize, 'x');
  for (std::size_t i = start; i < text.size(); i += 1000) text[i] = '\n';  // forces a rewritten copy
  text[start] = 'a';
  text += "</big></Data>";
  TtolXMLTree tree;
  ASSERT_TRUE(tree.parse(text));
  const TtolXMLNode* big = tree.FindElement("big");
  ASSERT_NE(big, nullptr);
  ASSERT_EQ(big->Text().size(), kSize);
  EXPECT_EQ(big->Text().front(), 'a');
  EXPECT_EQ(big->Text()[1000], ' ');
  EXPECT_EQ(big->Text().back(), 'x');
}

TEST(TtolXMLTree, TenMegabytesOfUnclosedTags) {
  // Every '<' starts a scan for a '>' outside quotes; none exists, so all of it is text.
  std::string text = "<Data>";
  for (std::size_t i = 0; text.size() < (10u << 20); ++i) text += (i % 3 == 0) ? "<'" : "<\"a";
  TtolXMLTree tree;
  ASSERT_TRUE(tree.parse(text));
  ASSERT_EQ(tree.Children().size(), 1u);
  EXPECT_FALSE(tree.Children()[0]->Text().empty());
}

}  // namespace
}  // namespace quendra
