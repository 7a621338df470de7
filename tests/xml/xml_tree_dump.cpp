#include "xml_tree_dump.h"

#include <memory>
#include <utility>
#include <vector>

#include "xml/xml_content.h"
#include "xml/xml_tokenizer.h"

namespace quendra::testing {

std::string Escape(std::string_view s) {
  std::string out;
  for (char c : s) {
    switch (c) {
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\\':
        out += "\\\\";
        break;
      default:
        out += c;
    }
  }
  return out;
}

namespace {

void DumpHead(const TtolXMLNode& node, std::string& out) {
  out += Escape(node.Name());
  if (!node.Attributes().empty()) {
    out += '[';
    bool first = true;
    for (const TtolXMLAttribute& a : node.Attributes()) {
      if (!first) out += ' ';
      first = false;
      out += Escape(a.Name()) + "=\"" + Escape(a.Value()) + '"';
    }
    out += ']';
  }
  if (!node.Text().empty()) out += "'" + Escape(node.Text()) + "'";
}

}  // namespace

// Iterative, so that deeply nested trees can be dumped too.
std::string Dump(const TtolXMLNode& root) {
  std::string out;
  std::vector<std::pair<const TtolXMLNode*, std::size_t>> stack{{&root, 0}};
  DumpHead(root, out);
  while (!stack.empty()) {
    auto& [node, next] = stack.back();
    const auto children = node->Children();
    if (next == children.size()) {
      if (!children.empty()) out += ')';
      stack.pop_back();
      continue;
    }
    out += next == 0 ? '(' : ' ';
    const TtolXMLNode* child = children[next++];
    DumpHead(*child, out);
    stack.emplace_back(child, 0);
  }
  return out;
}

std::vector<std::string> TokenStrings(std::string_view input) {
  input = input.substr(0, input.find('\0'));
  XmlTokenizer tokenizer;
  tokenizer.Reset(input);
  std::vector<std::string> tokens;
  XmlToken token;
  while (tokenizer.Next(token)) {
    std::string scratch(2 * token.raw.size(), '\0');
    std::string_view content;
    switch (token.source) {
      case XmlTextSource::markup:
        content = xml_content::FoldSpaces(xml_content::Trim(token.raw), false, scratch.data());
        break;
      case XmlTextSource::character_data:
        content = xml_content::FoldSpaces(token.raw, false, scratch.data());
        break;
      case XmlTextSource::processing_instruction:
        content = xml_content::KeepLines(token.raw, false, false, scratch.data());
        break;
      case XmlTextSource::comment:
      case XmlTextSource::cdata_section:
        content = xml_content::KeepLines(token.raw, true, false, scratch.data());
        break;
    }
    tokens.push_back(std::string(TokenPrefix(token.kind)) + std::string(content));
  }
  return tokens;
}

}  // namespace quendra::testing
