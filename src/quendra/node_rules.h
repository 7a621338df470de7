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
void WalkElement(const TtolXMLNode& element, TzelParamsList& current, TzelParamsList& rows,
                 const std::vector<TParserItem>& rules, const WalkOptions& options,
                 const ValueFormatter& format);

}  // namespace quendra::rules
