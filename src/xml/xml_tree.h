// The XML tree reader: turns the text of one data block into a tree of elements, attributes and text.
//
// It is forgiving and does not validate. Closing tags are not matched against the element they close,
// elements left open at the end stay in the tree, a '<' without a '>' is read as text, and only the five
// predefined entities are decoded. Comments and processing instructions are read as text. The one input
// it refuses is a closing tag at document level followed by more content (see XmlParseStatus).
//
// Ownership and lifetime: the tree is the document node and owns every node, attribute and string it
// hands out (see xml_node.h); the input is copied once, so the caller's bytes may go away as soon as
// parse() returns. A tree is meant to be reused for block after block: it keeps its memory (sized by the
// largest block seen) instead of allocating per node.
//
// Threads: a tree is used by one thread at a time; distinct trees are independent.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

#include "xml/xml_node.h"
#include "xml/xml_parse_result.h"
#include "xml/xml_tokenizer.h"

namespace quendra {

class TtolXMLTree : public TtolXMLNode {
 public:
  // An empty document: no name, no text, no children.
  TtolXMLTree() = default;
  TtolXMLTree(const TtolXMLTree&) = delete;
  TtolXMLTree& operator=(const TtolXMLTree&) = delete;

  // Replaces the tree by the one read from `bytes` (a NUL byte ends the input). On failure the tree is
  // left empty and the result names the construct and its offset. Never throws for any input; throws
  // std::bad_alloc when memory runs out.
  XmlParseResult parse(std::string_view bytes);

  // As parse(), but a failure is thrown as XmlParseError.
  void LoadFromText(std::string_view text);

 private:
  void Clear() noexcept;
  void Build(std::string_view text, XmlParseResult& result);
  std::uint32_t AddElement(const XmlToken& token, std::uint32_t parent);
  void ReadAttributes(std::string_view content, std::size_t pos);
  std::string_view RewriteText(const XmlToken& token);
  // `raw` must lie in the copy of the input, which the scratch space pads for the searches.
  std::string_view FoldSpaces(std::string_view raw, bool decode);
  char* Scratch(std::size_t raw_size);
  std::string_view Claim(std::string_view rewritten) noexcept;
  void Link();

  // The copy of the input followed by room for rewritten strings, which never need more than twice the
  // input in all (see xml_content.h), and by the padding that the searches may read past a string.
  std::unique_ptr<char[]> buffer_;
  std::size_t buffer_size_ = 0;
  char* scratch_ = nullptr;
  char* scratch_end_ = nullptr;

  std::vector<TtolXMLNode> node_store_;  // every element in document order (pre-order)
  std::vector<TtolXMLAttribute> attribute_store_;
  std::vector<const TtolXMLNode*> child_store_;
  XmlTokenizer tokenizer_;
};

}  // namespace quendra
