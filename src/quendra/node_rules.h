// The user's table "XML nodes and attributes processing": which elements and attributes of a block become
// values, with which data type, and under which names; and the walk that turns a parsed block into rows, one
// row per leaf element.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/item_names.h"
#include "common/name_map.h"
#include "common/ole_variant.h"
#include "common/params_list.h"
#include "text/param_data_type.h"
#include "xml/xml_node.h"

namespace quendra::rules {

enum class RuleKind : uint8_t { All = 0, Node = 1, Attribute = 2 };
enum class RuleAction : uint8_t { Ignore = 0, Parse = 1 };

// One rule of the table (the concrete module's rule class, distinct from the module base's parser item).
struct TParserItem {
  std::string Name;  // lower-cased with the ANSI case mapping
  RuleKind Kind = RuleKind::All;
  RuleAction Action = RuleAction::Parse;
  TParamDataType DataType = kDataNone;
};

// Reads the stored table (one rule per line, fields separated by "||"); invalid rows are skipped.
std::vector<TParserItem> ReadNodeRules(std::string_view xmls_hint);

// The first rule whose kind fits (0 fits both) and whose name equals `name` after ANSI lower-casing; null
// when none does.
const TParserItem* FindNodeRule(const std::vector<TParserItem>& rules, std::string_view name, RuleKind kind);

// The rules with an index by name, for the walk: finds what FindNodeRule finds with one hash lookup.
class NodeRuleTable {
 public:
  NodeRuleTable() = default;
  NodeRuleTable(std::vector<TParserItem> rules);  // NOLINT(google-explicit-constructor): a table is its rules
  // The index points into the rules: moving keeps them where they are, copying would not.
  NodeRuleTable(NodeRuleTable&&) = default;
  NodeRuleTable& operator=(NodeRuleTable&&) = default;
  NodeRuleTable(const NodeRuleTable&) = delete;
  NodeRuleTable& operator=(const NodeRuleTable&) = delete;

  const TParserItem* Find(std::string_view name, RuleKind kind) const;
  const std::vector<TParserItem>& items() const { return rules_; }
  bool empty() const { return rules_.empty(); }
  // Different for every table made, so a cache of lookups can tell that the rules were replaced.
  uint64_t serial() const { return serial_; }

 private:
  // Per lower-case name: the first rule that fits an element and the first that fits an attribute.
  struct Entry {
    const TParserItem* node = nullptr;
    const TParserItem* attribute = nullptr;
  };
  std::vector<TParserItem> rules_;
  NameMap<Entry> index_;
  uint64_t serial_ = 0;
};

// The tags that delimit blocks in the byte stream, built from the root element's name ("#XX" codes decoded).
struct RootSigns {
  std::string RootName;
  std::string StartSign1;  // "<Name " : a start tag with attributes
  std::string StartSign2;  // "<Name>"
  std::string EndSign;     // "</Name>"
  std::size_t StartSignLen() const { return StartSign1.size(); }
  bool empty() const { return RootName.empty(); }
  static RootSigns FromRootName(std::string_view beg_sign_text);
};

struct WalkOptions {
  bool ExportNodes = true;       // chkExpNode_Checked
  bool ExportAttributes = true;  // chkExpAttr_Checked
  bool AddNodeName = false;      // chkAddNodeName_Checked: attributes named "element.attribute"
  bool NameUpper = false;        // chkNameUpper_Checked
};

// The value of a text under a rule (none: no rule matched).
using ValueFormatter =
    std::function<OleVariant(std::optional<TParamDataType> data_type, std::string_view text)>;

std::string MakeParamName(const WalkOptions& options, std::string_view element_name, std::string_view name);
// The same into `out` (replaced), so a walk makes names without a string each; returns a view of `out`.
std::string_view MakeParamNameInto(const WalkOptions& options, std::string_view element_name,
                                   std::string_view name, std::string& out);

// Appends to `rows` one row for every leaf element below `element`: the values in `current` (the block's
// starting values), then the values of the elements on the way down and the leaf's own. `current` is left as
// it was, also when a failure is thrown. Deep documents do not deepen the stack.
// What the walks of one data source learned about each element and attribute name they met: its rule and
// its value name made once for the process, so a name met again costs one lookup. Forgets everything when
// the rules or the naming options change. One walk at a time.
class WalkNameCache {
 public:
  struct Entry {
    const TParserItem* rule = nullptr;
    const ItemName* value_name = nullptr;  // null: the name table was full, names are made per value
  };
  // The entry of an element (`attribute` empty with `kind` Node) or of one of its attributes.
  Entry Find(const NodeRuleTable& rules, const WalkOptions& options, RuleKind kind, std::string_view element,
             std::string_view attribute);

 private:
  static constexpr std::size_t kMaxEntries = 4096;  // names come from received data
  uint64_t rules_serial_ = 0;
  WalkOptions options_;
  std::string key_;
  std::string made_name_;
  NameMap<Entry> nodes_;
  NameMap<Entry> attributes_;
};

// `names`, when given, remembers rules and value names from block to block.
void WalkElement(const TtolXMLNode& element, TzelParamsList& current, TzelParamsList& rows,
                 const NodeRuleTable& rules, const WalkOptions& options, const ValueFormatter& format,
                 WalkNameCache* names = nullptr);

}  // namespace quendra::rules
