// The nodes-and-attributes table as stored, and the walk with what it reads, on any bytes: the first line of
// the input is the rule table (with "\x01" standing for a line break), the rest a block.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "quendra/node_rules.h"
#include "xml/xml_tree.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quendra;
  std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t split = input.find('\n');
  std::string table(input.substr(0, split));
  for (char& c : table)
    if (c == '\x01') c = '\n';
  const std::string_view block =
      split == std::string_view::npos ? std::string_view() : input.substr(split + 1);

  const auto list = rules::ReadNodeRules(table);
  const rules::NodeRuleTable rules(list);
  // The indexed table must find exactly what the plain list finds, for rule names and for the block's text.
  const auto check = [&](std::string_view name) {
    for (rules::RuleKind kind : {rules::RuleKind::Node, rules::RuleKind::Attribute}) {
      const rules::TParserItem* expected = rules::FindNodeRule(list, name, kind);
      const rules::TParserItem* found = rules.Find(name, kind);
      if ((expected ? expected - list.data() : -1) != (found ? found - rules.items().data() : -1))
        __builtin_trap();
    }
  };
  for (const auto& rule : list) check(rule.Name);
  check(block);
  rules::RootSigns::FromRootName(table);

  TtolXMLTree tree;
  if (!tree.parse(block)) return 0;
  std::unique_ptr<TzelParamsList, ListDeleter<TzelParamsList>> current(TzelParamsList::create());
  std::unique_ptr<TzelParamsList, ListDeleter<TzelParamsList>> rows(TzelRowsParamsList::create());
  const rules::ValueFormatter format = [](std::optional<TParamDataType>, std::string_view text) {
    return OleVariant::from_ansi_string(text);
  };
  std::unique_ptr<TzelParamsList, ListDeleter<TzelParamsList>> cached_rows(TzelRowsParamsList::create());
  rules::WalkNameCache names;
  for (bool flag : {false, true}) {
    rules::WalkElement(tree, *current, *rows, rules, {true, true, flag, flag}, format);
    rules::WalkElement(tree, *current, *cached_rows, rules, {true, true, flag, flag}, format, &names);
  }
  // Remembered names and rules change nothing in the rows.
  if (rows->Count() != cached_rows->Count()) __builtin_trap();
  for (int32_t i = 0; i < rows->Count(); ++i) {
    const TzelParamsListItem& a = *rows->GetItem(i);
    const TzelParamsListItem& b = *cached_rows->GetItem(i);
    if (a.name() != b.name() || ansi::view(a.LowerName) != ansi::view(b.LowerName) ||
        a.Value.to_ansi() != b.Value.to_ansi())
      __builtin_trap();
  }
  return 0;
}
