#include "quendra/node_rules.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "xml/xml_tree.h"

namespace quendra::rules {
namespace {

TEST(NodeRules, ReadingRows) {
  struct Case {
    const char* row;
    bool kept;
    const char* name = "";
    RuleKind kind = RuleKind::All;
    RuleAction action = RuleAction::Ignore;
    TParamDataType type = 0;
  };
  const Case cases[] = {
      {"Temp||1||1||5", true, "temp", RuleKind::Node, RuleAction::Parse, 5},
      {"Temp||1||1||Float", true, "temp", RuleKind::Node, RuleAction::Parse, 5},
      {"Temp||9||1||5", true, "temp", RuleKind::All, RuleAction::Parse, 5},
      {"Temp||x||1||5", true, "temp", RuleKind::All, RuleAction::Parse, 5},
      {"Temp||1||1||Decimal", true, "temp", RuleKind::Node, RuleAction::Parse, 17},
      {"Temp||1||1||17", true, "temp", RuleKind::Node, RuleAction::Parse, 17},
      {"id||2||0||0", true, "id", RuleKind::Attribute, RuleAction::Ignore, 0},
      {"\xC4RGER||0||1||16||extra||fields", true, "\xE4rger", RuleKind::All, RuleAction::Parse, 16},
      {"a|b||1||1||0", true, "a|b", RuleKind::Node, RuleAction::Parse, 0},
      {"Temp||1||2||5", false},
      {"||1||1||5", false},
      {"Temp||1||1", false},
      {"Temp||1||-1||5", false},
      {"", false},
  };
  for (const Case& c : cases) {
    std::vector<TParserItem> rules = ReadNodeRules(c.row);
    ASSERT_EQ(rules.size(), c.kept ? 1u : 0u) << c.row;
    if (!c.kept) continue;
    EXPECT_EQ(rules[0].Name, c.name) << c.row;
    EXPECT_EQ(rules[0].Kind, c.kind) << c.row;
    EXPECT_EQ(rules[0].Action, c.action) << c.row;
    EXPECT_EQ(rules[0].DataType, c.type) << c.row;
  }
  EXPECT_EQ(ReadNodeRules("a||1||1||0\r\nb||1||1||0\nc||1||1||0\rd||1||1||0").size(), 4u);
}

TEST(NodeRules, LookupByKindAndCase) {
  const std::vector<TParserItem> rules = ReadNodeRules("x||1||1||5\r\nX||0||0||0\r\nTemp||0||1||8");
  EXPECT_EQ(FindNodeRule(rules, "TEMP", RuleKind::Node)->DataType, 8);
  EXPECT_EQ(FindNodeRule(rules, "Temperature", RuleKind::Node), nullptr);
  EXPECT_EQ(FindNodeRule(rules, "x", RuleKind::Node)->DataType, 5);  // the kind-1 rule comes first
  EXPECT_EQ(FindNodeRule(rules, "x", RuleKind::Attribute)->Action, RuleAction::Ignore);  // kind 0 decides
  EXPECT_EQ(FindNodeRule({}, "x", RuleKind::Node), nullptr);
}

TEST(NodeRules, RootSigns) {
  RootSigns data = RootSigns::FromRootName("Data");
  EXPECT_EQ(data.StartSign1, "<Data ");
  EXPECT_EQ(data.StartSign2, "<Data>");
  EXPECT_EQ(data.EndSign, "</Data>");
  EXPECT_EQ(data.StartSignLen(), 6u);
  EXPECT_EQ(RootSigns::FromRootName("#41BC").RootName, "ABC");
  EXPECT_TRUE(RootSigns::FromRootName("").empty());
}

// Runs the walk over a parsed document with the input value IN in front, and prints each row as
// "name=value;...".
std::vector<std::string> walk_tree(const TtolXMLNode& root, const WalkOptions& options,
                                   const NodeRuleTable& rules, WalkNameCache* names) {
  std::unique_ptr<TzelParamsList, ListDeleter<TzelParamsList>> current(TzelParamsList::create());
  std::unique_ptr<TzelParamsList, ListDeleter<TzelParamsList>> rows(TzelRowsParamsList::create());
  current->Add("IN", OleVariant::from_ansi_as_wide("in"));
  const ValueFormatter format = [](std::optional<TParamDataType> type, std::string_view text) {
    std::string shown(text);
    if (type) {
      shown += ':';
      shown += std::to_string(*type);
    }
    return OleVariant::from_ansi_as_wide(shown);
  };
  WalkElement(root, *current, *rows, rules, options, format, names);
  EXPECT_EQ(current->Count(), 1);
  std::vector<std::string> printed(1);
  for (int32_t i = 0; i < rows->Count(); ++i) {
    const TzelParamsListItem* item = rows->GetItem(i);
    if (item->is_row_marker()) {
      printed.emplace_back();
      continue;
    }
    std::string& line = printed.back();
    line += item->name();
    line += '=';
    line += item->Value.to_ansi();
    line += ';';
  }
  printed.pop_back();
  return printed;
}

// The walk without a cache of names; the same walk with one cache shared by every call of the tests (so it
// must notice each new rule table and each change of options) must print the same rows.
std::vector<std::string> walk(const char* xml, const WalkOptions& options, const char* rule_rows = "") {
  TtolXMLTree tree;
  tree.LoadFromText(xml);
  const TtolXMLNode* root = tree.FindElement("Data");
  const NodeRuleTable rules(ReadNodeRules(rule_rows));
  std::vector<std::string> printed = walk_tree(*root, options, rules, nullptr);
  static WalkNameCache shared_names;
  EXPECT_EQ(walk_tree(*root, options, rules, &shared_names), printed) << xml << " rules: " << rule_rows;
  return printed;
}

TEST(NodeRules, WalkMakesOneRowPerLeaf) {
  using Rows = std::vector<std::string>;
  const char* records = R"(<Data><r id="1"><t>5</t><h>7</h></r><r id="2"><t>6</t></r></Data>)";
  EXPECT_EQ(walk(records, {}), (Rows{"IN=in;id=1;t=5;", "IN=in;id=1;h=7;", "IN=in;id=2;t=6;"}));
  EXPECT_EQ(walk(records, {true, true, true, false}),
            (Rows{"IN=in;r.id=1;t=5;", "IN=in;r.id=1;h=7;", "IN=in;r.id=2;t=6;"}));
  EXPECT_EQ(walk(records, {true, true, true, true}),
            (Rows{"IN=in;R.ID=1;T=5;", "IN=in;R.ID=1;H=7;", "IN=in;R.ID=2;T=6;"}));
  EXPECT_EQ(walk("<Data><a>x<b>1</b></a></Data>", {}), (Rows{"IN=in;a=x;b=1;"}));
  EXPECT_EQ(walk("<Data><e/></Data>", {}), (Rows{"IN=in;e=;"}));
  EXPECT_EQ(walk("<Data><e/></Data>", {false, true, false, false}), Rows{});
  EXPECT_EQ(walk(records, {false, false, false, false}), Rows{});
  EXPECT_EQ(walk(R"(<Data x="1"/><a>1</a></Data>)", {}), Rows{});  // the root is empty; a is its sibling
}

TEST(NodeRules, WalkFollowsRules) {
  using Rows = std::vector<std::string>;
  const char* doc = R"(<Data><r id="1" x="2"><t>5</t><id>9</id><x>3</x></r></Data>)";
  EXPECT_EQ(walk(doc, {}, "t||1||0||0\r\nid||2||0||0\r\nx||0||0||0"), (Rows{"IN=in;id=9;"}));
  EXPECT_EQ(walk(doc, {}, "r||1||1||0\r\nt||0||1||5"),
            (Rows{"IN=in;id=1;x=2;t=5:5;", "IN=in;id=1;x=2;id=9;", "IN=in;id=1;x=2;x=3;"}));
  EXPECT_EQ(walk(doc, {}, "r||1||0||0"), Rows{});  // an ignored element takes its subtree with it
}

TEST(NodeRules, DeepDocumentsDoNotExhaustTheStack) {
  std::string xml = "<Data>";
  for (int i = 0; i < 100000; ++i) xml += "<n>";
  xml += "leaf";
  for (int i = 0; i < 100000; ++i) xml += "</n>";
  xml += "</Data>";
  auto rows = walk(xml.c_str(), {});
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].substr(0, 12), "IN=in;n=leaf");
}

TEST(NodeRules, TableFindsWhatTheRuleListFinds) {
  const char* table =
      "x||1||1||5\r\nX||0||0||0\r\nTemp||0||1||8\r\n\xC4rger||2||1||3\r\nid||2||1||4\r\nid||1||0||0";
  const std::vector<TParserItem> list = ReadNodeRules(table);
  const NodeRuleTable rules(list);
  const char* names[] = {"x",  "X",  "temp", "TEMP", "Temperature", "\xC4RGER", "\xE4rger",
                         "id", "ID", "",     "y"};
  for (const char* name : names) {
    for (RuleKind kind : {RuleKind::Node, RuleKind::Attribute}) {
      const TParserItem* expected = FindNodeRule(list, name, kind);
      const TParserItem* found = rules.Find(name, kind);
      ASSERT_EQ(found == nullptr, expected == nullptr) << name;
      if (found) {
        EXPECT_EQ(found - rules.items().data(), expected - list.data()) << name;
      }
    }
  }
  EXPECT_EQ(NodeRuleTable().Find("x", RuleKind::Node), nullptr);
  const std::string long_name(100, 'q');
  const NodeRuleTable long_rules(ReadNodeRules(long_name + "||0||1||2"));
  EXPECT_EQ(long_rules.Find(std::string(100, 'Q'), RuleKind::Node)->DataType, 2);
}

TEST(NodeRules, NameCacheFollowsTheOptionsOfEachWalk) {
  TtolXMLTree tree;
  tree.LoadFromText(R"(<Data><r id="1"><t>5</t></r></Data>)");
  const NodeRuleTable rules(ReadNodeRules("t||1||1||5"));
  WalkNameCache names;
  using Rows = std::vector<std::string>;
  const TtolXMLNode& root = *tree.FindElement("Data");
  EXPECT_EQ(walk_tree(root, {}, rules, &names), (Rows{"IN=in;id=1;t=5:5;"}));
  EXPECT_EQ(walk_tree(root, {true, true, true, true}, rules, &names), (Rows{"IN=in;R.ID=1;T=5:5;"}));
  EXPECT_EQ(walk_tree(root, {true, true, false, true}, rules, &names), (Rows{"IN=in;ID=1;T=5:5;"}));
  EXPECT_EQ(walk_tree(root, {}, rules, &names), (Rows{"IN=in;id=1;t=5:5;"}));
  const NodeRuleTable ignoring(ReadNodeRules("t||1||0||0"));
  EXPECT_EQ(walk_tree(root, {}, ignoring, &names), Rows{});
}

TEST(NodeRules, ManyDistinctNamesStillMakeTheirValues) {
  // More names than any cache keeps: every value still arrives under its own name.
  std::string xml = "<Data>";
  for (int i = 0; i < 5000; ++i)
    xml += "<n" + std::to_string(i) + " a" + std::to_string(i) + "=\"1\">2</n" + std::to_string(i) + ">";
  xml += "</Data>";
  const std::vector<std::string> rows = walk(xml.c_str(), {});
  ASSERT_EQ(rows.size(), 5000u);
  EXPECT_EQ(rows[0], "IN=in;n0=2;a0=1;");
  EXPECT_EQ(rows[4999], "IN=in;n4999=2;a4999=1;");
}

}  // namespace
}  // namespace quendra::rules
