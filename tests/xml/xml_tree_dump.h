// Compact pictures of what the reader produced, for literal comparisons.
//
// Dump(): a tree on one line:
//   Name[attr="value" ...]'text'(child child ...)
// CR, LF, TAB and backslash inside names, values and texts are written as \r, \n, \t and \\.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "xml/xml_node.h"

namespace quendra::testing {

std::string Escape(std::string_view s);
std::string Dump(const TtolXMLNode& node);

// The token list of `input` (cut at a NUL as the tree does) as strings of kind prefix and content, the
// content in its token form: tags and character data normalised, comments and CDATA with line escapes
// applied, nothing entity-decoded yet.
std::vector<std::string> TokenStrings(std::string_view input);

}  // namespace quendra::testing
