#include "xml_reference_model.h"

#include <memory>

#include "xml_tree_dump.h"

namespace quendra::testing {
namespace {

std::string Trim(const std::string& s) {
  std::size_t b = 0;
  std::size_t e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= 32) ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= 32) --e;
  return s.substr(b, e - b);
}

std::string ReplaceAll(std::string s, const std::string& from, const std::string& to) {
  std::string out;
  std::size_t pos = 0;
  for (std::size_t hit; (hit = s.find(from, pos)) != std::string::npos; pos = hit + from.size()) {
    out += s.substr(pos, hit - pos) + to;
  }
  return out + s.substr(pos);
}

std::string Normalise(const std::string& s) {
  return Trim(ReplaceAll(ReplaceAll(s, "\r\n", " "), "\t", " "));
}

std::string LineEscapes(const std::string& s) {
  return ReplaceAll(ReplaceAll(s, "\\n ", "\r\n"), "\\t ", "\t");
}

std::string DecodeEntities(const std::string& s) {
  static const std::pair<std::string, char> kRefs[] = {
      {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&apos;", '\''}, {"&quot;", '"'}};
  std::string out;
  for (std::size_t i = 0; i < s.size();) {
    bool replaced = false;
    for (const auto& [ref, c] : kRefs) {
      if (s.compare(i, ref.size(), ref) == 0) {
        out += c;
        i += ref.size();
        replaced = true;
        break;
      }
    }
    if (!replaced) out += s[i++];
  }
  return out;
}

bool StartsWithNoCase(const std::string& s, std::size_t at, const std::string& what) {
  if (s.size() - at < what.size()) return false;
  for (std::size_t i = 0; i < what.size(); ++i) {
    char a = s[at + i];
    char b = what[i];
    if (a >= 'A' && a <= 'Z') a = static_cast<char>(a + 32);
    if (b >= 'A' && b <= 'Z') b = static_cast<char>(b + 32);
    if (a != b) return false;
  }
  return true;
}

// Content of a construct from `start` to its terminator, or to the end less the final line break.
std::string Delimited(const std::string& text, std::size_t start, const std::string& terminator,
                      std::size_t& pos) {
  const std::size_t end = text.find(terminator, start);
  if (end == std::string::npos) {
    pos = text.size();
    std::string content = text.substr(start);
    if (content.size() >= 2 && content.ends_with("\r\n")) content.resize(content.size() - 2);
    return content;
  }
  pos = end + terminator.size();
  return text.substr(start, end - start);
}

struct ModelNode {
  std::string name;
  std::string text;
  std::vector<std::pair<std::string, std::string>> attributes;
  std::vector<std::unique_ptr<ModelNode>> children;
  ModelNode* parent = nullptr;
};

void CreateElement(ModelNode* parent, const std::string& content) {
  auto node = std::make_unique<ModelNode>();
  node->parent = parent;
  const std::size_t space = content.find(' ');
  node->name = content.substr(0, space);
  if (space != std::string::npos) {
    std::size_t pos = space;
    while (pos < content.size()) {
      const std::size_t eq = content.find('=', pos);
      if (eq == std::string::npos) break;
      const std::string name = Trim(content.substr(pos, eq - pos));
      const std::size_t apos = content.find('\'', eq + 1);
      const std::size_t quot = content.find('"', eq + 1);
      if (apos == std::string::npos && quot == std::string::npos) break;
      const std::size_t open = apos < quot ? apos : quot;
      const std::size_t close = content.find(content[open], open + 1);
      if (close == std::string::npos) break;
      node->attributes.emplace_back(name, DecodeEntities(content.substr(open + 1, close - open - 1)));
      pos = close + 1;
    }
  }
  parent->children.push_back(std::move(node));
}

void DumpNode(const ModelNode& n, std::string& out) {
  out += Escape(n.name);
  if (!n.attributes.empty()) {
    out += '[';
    for (std::size_t i = 0; i < n.attributes.size(); ++i) {
      if (i) out += ' ';
      out += Escape(n.attributes[i].first) + "=\"" + Escape(n.attributes[i].second) + '"';
    }
    out += ']';
  }
  if (!n.text.empty()) out += "'" + Escape(n.text) + "'";
  if (!n.children.empty()) {
    out += '(';
    for (std::size_t i = 0; i < n.children.size(); ++i) {
      if (i) out += ' ';
      DumpNode(*n.children[i], out);
    }
    out += ')';
  }
}

}  // namespace

std::string ModelNormaliseLines(std::string_view input) {
  input = input.substr(0, input.find('\0'));
  std::vector<std::string> lines;
  std::string line;
  for (std::size_t i = 0; i < input.size(); ++i) {
    if (input[i] == '\r' || input[i] == '\n') {
      if (input[i] == '\r' && i + 1 < input.size() && input[i + 1] == '\n') ++i;
      lines.push_back(line);
      line.clear();
    } else {
      line += input[i];
    }
  }
  if (!line.empty()) lines.push_back(line);
  std::string out;
  for (const std::string& l : lines) out += l + "\r\n";
  return out;
}

std::vector<std::string> ModelTokens(const std::string& text) {
  std::vector<std::string> tokens;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t lt = text.find('<', pos);
    const std::string before = Trim(text.substr(pos, lt == std::string::npos ? std::string::npos : lt - pos));
    if (!before.empty()) tokens.push_back("TX:" + Normalise(before));
    if (lt == std::string::npos) break;
    if (StartsWithNoCase(text, lt, "<![CDATA[")) {
      tokens.push_back("CD:" + LineEscapes(Delimited(text, lt + 9, "]]>", pos)));
    } else if (text.compare(lt, 2, "<?") == 0) {
      const std::string content = Delimited(text, lt + 2, "?>", pos);
      if (!content.empty()) tokens.push_back("TX:" + content);
    } else if (text.compare(lt, 4, "<!--") == 0) {
      tokens.push_back("TX:" + LineEscapes(Delimited(text, lt + 4, "-->", pos)));
    } else {
      char quote = 0;
      std::size_t gt = std::string::npos;
      for (std::size_t i = lt; i < text.size(); ++i) {
        if (quote) {
          if (text[i] == quote) quote = 0;
        } else if (text[i] == '\'' || text[i] == '"') {
          quote = text[i];
        } else if (text[i] == '>') {
          gt = i;
          break;
        }
      }
      if (gt == std::string::npos) {
        pos = lt + 1;
        continue;
      }
      const std::string inner = text.substr(lt + 1, gt - lt - 1);
      pos = gt + 1;
      if (inner.empty()) continue;
      if (inner.front() == '/') {
        tokens.push_back("CT:" + Normalise(inner.substr(1)));
      } else if (inner.back() == '/') {
        tokens.push_back("ET:" + Normalise(inner.substr(0, inner.size() - 1)));
      } else {
        tokens.push_back("OT:" + Normalise(inner));
      }
    }
  }
  return tokens;
}

ModelOutcome ModelParse(std::string_view input) {
  const std::vector<std::string> tokens = ModelTokens(ModelNormaliseLines(input));
  ModelNode document;
  if (!tokens.empty()) document.name = "root";
  ModelNode* current = &document;
  for (const std::string& token : tokens) {
    if (!current) return {false, ""};
    const std::string kind = token.substr(0, 3);
    const std::string content = token.substr(3);
    if (kind == "OT:") {
      CreateElement(current, content);
      current = current->children.back().get();
    } else if (kind == "ET:") {
      CreateElement(current, content);
    } else if (kind == "CT:") {
      current = current->parent;
    } else if (kind == "TX:") {
      current->text = DecodeEntities(content);
    } else {
      current->text = content;
    }
  }
  ModelOutcome outcome;
  DumpNode(document, outcome.dump);
  return outcome;
}

}  // namespace quendra::testing
