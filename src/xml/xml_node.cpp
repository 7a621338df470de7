#include "xml/xml_node.h"

namespace quendra {
namespace {

char FoldAscii(char c) noexcept {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c | 0x20) : c;
}

}  // namespace

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) noexcept {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i] && FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  }
  return true;
}

const TtolXMLNode* TtolXMLNode::FindElement(std::string_view name) const noexcept {
  for (const TtolXMLNode* n = descendants_; n != descendants_ + descendant_count_; ++n) {
    if (EqualsIgnoringAsciiCase(n->name_, name)) return n;
  }
  return nullptr;
}

}  // namespace quendra
