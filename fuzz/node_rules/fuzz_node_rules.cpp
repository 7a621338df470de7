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
  const std::string_view block = split == std::string_view::npos ? std::string_view() : input.substr(split + 1);

  const auto rules = rules::ReadNodeRules(table);
  for (const auto& rule : rules) rules::FindNodeRule(rules, rule.Name, rules::RuleKind::Node);
  rules::RootSigns::FromRootName(table);

  TtolXMLTree tree;
  if (!tree.parse(block)) return 0;
  std::unique_ptr<TzelParamsList, ListDeleter<TzelParamsList>> current(TzelParamsList::create());
  std::unique_ptr<TzelParamsList, ListDeleter<TzelParamsList>> rows(TzelRowsParamsList::create());
  const rules::ValueFormatter format = [](std::optional<TParamDataType>, std::string_view text) {
    return OleVariant::from_ansi_string(text);
  };
  for (bool flag : {false, true})
    rules::WalkElement(tree, *current, *rows, rules, {true, true, flag, flag}, format);
  return 0;
}
