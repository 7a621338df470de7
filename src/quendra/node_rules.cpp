#include "quendra/node_rules.h"

#include <atomic>
#include <cstring>

#include "platform/ansi_codepage.h"
#include "text/char_codes.h"
#include "text/number_text.h"

namespace quendra::rules {

namespace {

const platform::AnsiCodePage& code_page() {
  return platform::AnsiCodePage::System();
}

// Splits at CR LF, CR or LF.
template <typename Fn>
void for_each_line(std::string_view text, Fn&& fn) {
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] != '\r' && text[i] != '\n') continue;
    fn(text.substr(start, i - start));
    if (i + 1 < text.size() && text[i] == '\r' && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
}

int32_t integer_or_minus_one(std::string_view field) {
  return ParseInt32Text(field).value_or(-1);
}

std::optional<TParserItem> read_rule(std::string_view line) {
  // "||" ends a field; a lone "|" belongs to the field.
  std::string_view fields[4];
  std::size_t count = 0;
  while (count < 4) {
    const std::size_t bar = line.find("||");
    fields[count++] = line.substr(0, bar);
    if (bar == std::string_view::npos) break;
    line.remove_prefix(bar + 2);
  }
  if (count < 4 || fields[0].empty()) return std::nullopt;
  TParserItem rule;
  rule.Name = code_page().ToLower(fields[0]);
  const int32_t kind = integer_or_minus_one(fields[1]);
  rule.Kind = kind == 1 || kind == 2 ? static_cast<RuleKind>(kind) : RuleKind::All;
  const int32_t action = integer_or_minus_one(fields[2]);
  if (action != 0 && action != 1) return std::nullopt;
  rule.Action = static_cast<RuleAction>(action);
  const int32_t code = integer_or_minus_one(fields[3]);
  rule.DataType =
      code >= 0 && code <= kDataCurrency ? static_cast<TParamDataType>(code) : DataTypeByName(fields[3]);
  return rule;
}

}  // namespace

std::vector<TParserItem> ReadNodeRules(std::string_view xmls_hint) {
  std::vector<TParserItem> rules;
  for_each_line(xmls_hint, [&](std::string_view line) {
    if (auto rule = read_rule(line)) rules.push_back(std::move(*rule));
  });
  return rules;
}

const TParserItem* FindNodeRule(const std::vector<TParserItem>& rules, std::string_view name, RuleKind kind) {
  if (rules.empty()) return nullptr;
  const auto& lower = code_page().lower_table();
  for (const TParserItem& rule : rules) {
    if ((rule.Kind != RuleKind::All && rule.Kind != kind) || rule.Name.size() != name.size()) continue;
    std::size_t i = 0;
    while (i < name.size() && static_cast<char>(lower[static_cast<unsigned char>(name[i])]) == rule.Name[i])
      ++i;
    if (i == name.size()) return &rule;
  }
  return nullptr;
}

NodeRuleTable::NodeRuleTable(std::vector<TParserItem> rules) : rules_(std::move(rules)) {
  static std::atomic<uint64_t> tables{0};
  serial_ = ++tables;
  for (const TParserItem& rule : rules_) {
    Entry& entry = index_.Insert(rule.Name, {});
    if (!entry.node && rule.Kind != RuleKind::Attribute) entry.node = &rule;
    if (!entry.attribute && rule.Kind != RuleKind::Node) entry.attribute = &rule;
  }
}

const TParserItem* NodeRuleTable::Find(std::string_view name, RuleKind kind) const {
  if (index_.size() == 0) return nullptr;
  // Names are short: lower-cased on the stack, and only a long one makes a string.
  char buffer[64];
  std::string long_name;
  std::string_view key;
  if (name.size() <= sizeof buffer) {
    std::memcpy(buffer, name.data(), name.size());
    code_page().ToLower(buffer, name.size());
    key = std::string_view(buffer, name.size());
  } else {
    long_name = code_page().ToLower(name);
    key = long_name;
  }
  const Entry* found = index_.Find(key);
  if (!found) return nullptr;
  return kind == RuleKind::Attribute ? found->attribute : found->node;
}

RootSigns RootSigns::FromRootName(std::string_view beg_sign_text) {
  RootSigns signs;
  signs.RootName = DecodeCharCodes(beg_sign_text);
  if (signs.RootName.empty()) return signs;
  signs.StartSign1 = "<" + signs.RootName + " ";
  signs.StartSign2 = "<" + signs.RootName + ">";
  signs.EndSign = "</" + signs.RootName + ">";
  return signs;
}

std::string MakeParamName(const WalkOptions& options, std::string_view element_name, std::string_view name) {
  std::string result;
  MakeParamNameInto(options, element_name, name, result);
  return result;
}

std::string_view MakeParamNameInto(const WalkOptions& options, std::string_view element_name,
                                   std::string_view name, std::string& out) {
  out.clear();
  if (options.AddNodeName && !element_name.empty()) out.append(element_name).append(1, '.');
  out.append(name);
  if (options.NameUpper) code_page().ToUpper(out.data(), out.size());
  return out;
}

WalkNameCache::Entry WalkNameCache::Find(const NodeRuleTable& rules, const WalkOptions& options,
                                         RuleKind kind, std::string_view element,
                                         std::string_view attribute) {
  if (rules.serial() != rules_serial_ || options.AddNodeName != options_.AddNodeName ||
      options.NameUpper != options_.NameUpper) {
    nodes_.clear();
    attributes_.clear();
    rules_serial_ = rules.serial();
    options_ = options;
  }
  // Elements by their name; attributes by theirs, or by both names when the value name holds the element's.
  NameMap<Entry>& map = kind == RuleKind::Node ? nodes_ : attributes_;
  std::string_view key = kind == RuleKind::Node ? element : attribute;
  if (kind == RuleKind::Attribute && options.AddNodeName) {
    key_.assign(element).append(1, '\0').append(attribute);
    key = key_;
  }
  if (const Entry* found = map.Find(key)) return *found;

  const std::string_view own_name = kind == RuleKind::Node ? element : attribute;
  Entry entry{rules.Find(own_name, kind), nullptr};
  if (map.size() >= kMaxEntries) return entry;
  entry.value_name = InternItemName(MakeParamNameInto(
      options, kind == RuleKind::Node ? std::string_view() : element, own_name, made_name_));
  map.Insert(key, entry);
  return entry;
}

namespace {

std::optional<TParamDataType> type_of(const TParserItem* rule) {
  return rule ? std::optional<TParamDataType>(rule->DataType) : std::nullopt;
}

void truncate(TzelParamsList& list, int32_t count) {
  while (list.Count() > count) list.Delete(list.Count() - 1);
}

}  // namespace

void WalkElement(const TtolXMLNode& element, TzelParamsList& current, TzelParamsList& rows,
                 const NodeRuleTable& rules, const WalkOptions& options, const ValueFormatter& format,
                 WalkNameCache* names) {
  // An explicit stack instead of recursion: one frame per open element, with the count of values `current`
  // had before the element added its own.
  struct Frame {
    const TtolXMLNode* element;
    std::size_t next_child;
    int32_t mark;
  };
  const int32_t start = current.Count();
  std::vector<Frame> stack{{&element, 0, start}};
  std::string name;  // reused for every value's name
  ItemSlab slab;
  // An element's own name is `element_name`; an attribute's is `attribute_name`.
  const auto lookup = [&](RuleKind kind, std::string_view element_name, std::string_view attribute_name) {
    return names ? names->Find(rules, options, kind, element_name, attribute_name)
                 : WalkNameCache::Entry{
                       rules.Find(kind == RuleKind::Node ? element_name : attribute_name, kind), nullptr};
  };
  const auto add = [&](const WalkNameCache::Entry& entry, std::string_view element_name,
                       std::string_view own_name, std::string_view text) {
    OleVariant value = format(type_of(entry.rule), text);
    if (entry.value_name) {
      current.Add(*entry.value_name, std::move(value), &slab);
    } else {
      current.Add(MakeParamNameInto(options, element_name, own_name, name), std::move(value));
    }
  };
  try {
    while (!stack.empty()) {
      Frame& frame = stack.back();
      const auto children = frame.element->Children();
      if (frame.next_child == children.size()) {
        truncate(current, frame.mark);
        stack.pop_back();
        continue;
      }
      const TtolXMLNode& child = *children[frame.next_child++];
      const WalkNameCache::Entry node = lookup(RuleKind::Node, child.Name(), {});
      if (node.rule && node.rule->Action == RuleAction::Ignore) continue;
      const int32_t mark = current.Count();
      const bool has_children = !child.Children().empty();
      if (options.ExportNodes && (!has_children || !child.Text().empty()))
        add(node, {}, child.Name(), child.Text());
      if (options.ExportAttributes) {
        for (const TtolXMLAttribute& attribute : child.Attributes()) {
          const WalkNameCache::Entry entry = lookup(RuleKind::Attribute, child.Name(), attribute.Name());
          if (entry.rule && entry.rule->Action == RuleAction::Ignore) continue;
          add(entry, child.Name(), attribute.Name(), attribute.Value());
        }
      }
      if (has_children) {
        stack.push_back({&child, 0, mark});  // `frame` may dangle from here on
        continue;
      }
      // The leaf's own values move into its row; the values above it are copied for the next rows.
      if (current.Count() > mark) rows.AppendRowTaking(current, mark, slab);
      truncate(current, mark);
    }
  } catch (...) {
    truncate(current, start);
    throw;
  }
}

}  // namespace quendra::rules
