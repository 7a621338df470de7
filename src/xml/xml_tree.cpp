#include "xml/xml_tree.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <stdexcept>

#include "xml/xml_char_table.h"
#include "xml/xml_content.h"

namespace quendra {
namespace {

constexpr std::uint32_t kDocument = std::numeric_limits<std::uint32_t>::max();
// After a closing tag at document level: no current node.
constexpr std::uint32_t kNoCurrent = kDocument - 1;
constexpr std::size_t kNone = std::string_view::npos;

// Detect and prevent integer overflow: node indices are 32-bit and the buffer holds three times the input
// and the padding of the searches.
constexpr std::size_t kMaxInput = std::min<std::size_t>(
    (std::numeric_limits<std::size_t>::max() - xml_chars::kPadding) / 3, kNoCurrent - 1);

// Memory kept between blocks is given back when it exceeds the current need by this factor and is large.
constexpr std::size_t kShrinkFactor = 16;
constexpr std::size_t kShrinkMinBytes = 1 << 20;

template <class T>
void ClearKeepingReasonableCapacity(std::vector<T>& v) {
  v.clear();
  if (v.capacity() * sizeof(T) > kShrinkMinBytes) v.shrink_to_fit();
}

}  // namespace

// Runs for every text, attribute name and value: most need no rewrite, and those return without a call.
inline std::string_view TtolXMLTree::FoldSpaces(std::string_view raw, bool decode) {
  const std::size_t plain = xml_content::PlainPrefix<true>(raw, xml_content::FoldMask(decode));
  if (plain == raw.size()) return raw;
  return Claim(xml_content::FoldSpacesFrom(raw, plain, decode, Scratch(raw.size())));
}

void TtolXMLTree::Clear() noexcept {
  name_ = {};
  text_ = {};
  children_ = nullptr;
  child_count_ = 0;
  descendants_ = nullptr;
  descendant_count_ = 0;
  node_store_.clear();
  attribute_store_.clear();
  child_store_.clear();
}

XmlParseResult TtolXMLTree::parse(std::string_view bytes) {
  Clear();
  if (const void* nul = std::memchr(bytes.data(), '\0', bytes.size())) {
    bytes = bytes.substr(0, static_cast<std::size_t>(static_cast<const char*>(nul) - bytes.data()));
  }
  if (bytes.size() > kMaxInput) return {XmlParseStatus::input_too_large, kMaxInput};

  // The searches may read up to kPadding bytes past the end of any string they are given.
  const std::size_t need = 3 * bytes.size() + xml_chars::kPadding;
  if (need > buffer_size_ || (buffer_size_ > kShrinkMinBytes && buffer_size_ / kShrinkFactor > need)) {
    // Forget the old size before allocating: if the allocation fails, the next parse must not trust it.
    buffer_.reset();
    buffer_size_ = 0;
    // Zeroed once, so the padded searches never read indeterminate bytes.
    buffer_ = std::make_unique<char[]>(need);
    buffer_size_ = need;
  }
  if (node_store_.capacity() > kShrinkFactor * bytes.size()) {
    ClearKeepingReasonableCapacity(node_store_);
    ClearKeepingReasonableCapacity(attribute_store_);
    ClearKeepingReasonableCapacity(child_store_);
  }
  if (!bytes.empty()) std::memcpy(buffer_.get(), bytes.data(), bytes.size());
  scratch_ = buffer_.get() + bytes.size();
  scratch_end_ = buffer_.get() + 3 * bytes.size();

  XmlParseResult result;
  Build({buffer_.get(), bytes.size()}, result);
  if (!result) Clear();
  return result;
}

void TtolXMLTree::LoadFromText(std::string_view text) {
  const XmlParseResult result = parse(text);
  if (!result) throw XmlParseError(result);
}

void TtolXMLTree::Build(std::string_view text, XmlParseResult& result) {
  tokenizer_.Reset(text);
  std::uint32_t current = kDocument;
  std::size_t stray_close = 0;
  XmlToken token;
  while (tokenizer_.Next(token)) {
    if (current == kNoCurrent) {
      result = {XmlParseStatus::closing_tag_at_document_level, stray_close};
      return;
    }
    name_ = "root";
    switch (token.kind) {
      case XmlTokenKind::opening_tag:
        current = AddElement(token, current);
        break;
      case XmlTokenKind::empty_element_tag:
        AddElement(token, current);
        break;
      case XmlTokenKind::closing_tag:
        if (current == kDocument) {
          current = kNoCurrent;
          stray_close = token.offset;
        } else {
          TtolXMLNode& closed = node_store_[current];
          closed.subtree_end_ = static_cast<std::uint32_t>(node_store_.size());
          current = closed.parent_index_;
        }
        break;
      case XmlTokenKind::text:
      case XmlTokenKind::cdata:
        // Character data is by far the most common text; it skips the dispatch.
        (current == kDocument ? text_ : node_store_[current].text_) =
            token.source == XmlTextSource::character_data ? FoldSpaces(token.raw, true) : RewriteText(token);
        break;
    }
  }
  // Elements still open at the end keep what was read into them.
  while (current != kDocument && current != kNoCurrent) {
    TtolXMLNode& open = node_store_[current];
    open.subtree_end_ = static_cast<std::uint32_t>(node_store_.size());
    current = open.parent_index_;
  }
  Link();
}

std::uint32_t TtolXMLTree::AddElement(const XmlToken& token, std::uint32_t parent) {
  const std::string_view content = xml_content::Trim(token.raw);
  const auto index = static_cast<std::uint32_t>(node_store_.size());
  const auto first_attribute = static_cast<std::uint32_t>(attribute_store_.size());

  const std::size_t space = xml_chars::FindInMask<true>(content, 0, xml_chars::kNameEnd);
  if (space < content.size()) ReadAttributes(content, space);

  node_store_.emplace_back(TtolXMLNode::BuildKey(), content.substr(0, space), parent, first_attribute,
                           static_cast<std::uint32_t>(attribute_store_.size()) - first_attribute, index);
  ++(parent == kDocument ? child_count_ : node_store_[parent].child_count_);
  return index;
}

// Reads name="value" pairs leniently: a missing '=', opening quote or closing quote ends the list and
// keeps the attributes read so far. The value opens at the first quote of either kind after the '='.
void TtolXMLTree::ReadAttributes(std::string_view content, std::size_t pos) {
  while (pos < content.size()) {
    const std::size_t equals = xml_chars::Find<true>(content, '=', pos);
    if (equals == kNone) return;
    const std::size_t open = xml_chars::FindQuote<true>(content, equals + 1);
    if (open == kNone) return;
    const std::size_t close = xml_chars::Find<true>(content, content[open], open + 1);
    if (close == kNone) return;
    TtolXMLAttribute& attribute = attribute_store_.emplace_back();
    attribute.name_ = FoldSpaces(xml_content::Trim(content.substr(pos, equals - pos)), false);
    attribute.value_ = FoldSpaces(content.substr(open + 1, close - open - 1), true);
    pos = close + 1;
  }
}

std::string_view TtolXMLTree::RewriteText(const XmlToken& token) {
  const std::string_view raw = token.raw;
  switch (token.source) {
    case XmlTextSource::character_data:
      return FoldSpaces(raw, true);
    case XmlTextSource::comment:
      return Claim(xml_content::KeepLines(raw, true, true, Scratch(raw.size())));
    case XmlTextSource::processing_instruction:
      return Claim(xml_content::KeepLines(raw, false, true, Scratch(raw.size())));
    case XmlTextSource::cdata_section:
      return Claim(xml_content::KeepLines(raw, true, false, Scratch(raw.size())));
    case XmlTextSource::markup:
      break;
  }
  return raw;
}

// Scratch space for one rewrite; Claim() keeps what the rewrite actually wrote.
char* TtolXMLTree::Scratch(std::size_t raw_size) {
  // Detect and prevent buffer overrun: every byte of the input is rewritten at most once, into at most
  // two bytes, so this cannot fail unless that accounting is broken.
  if (static_cast<std::size_t>(scratch_end_ - scratch_) < 2 * raw_size) {
    throw std::logic_error("XML reader scratch space exhausted");
  }
  return scratch_;
}

std::string_view TtolXMLTree::Claim(std::string_view rewritten) noexcept {
  if (rewritten.data() == scratch_) scratch_ += rewritten.size();
  return rewritten;
}

void TtolXMLTree::Link() {
  const auto count = static_cast<std::uint32_t>(node_store_.size());
  child_store_.resize(count);
  // Give each node a run of child_store_ and refill its count while placing the children.
  std::uint32_t offset = child_count_;
  first_child_ = 0;
  child_count_ = 0;
  for (TtolXMLNode& node : node_store_) {
    node.first_child_ = offset;
    offset += node.child_count_;
    node.child_count_ = 0;
  }
  children_ = child_store_.data();
  descendants_ = node_store_.data();
  descendant_count_ = count;
  for (std::uint32_t i = 0; i < count; ++i) {
    TtolXMLNode& node = node_store_[i];
    TtolXMLNode& parent = node.parent_index_ == kDocument ? *this : node_store_[node.parent_index_];
    child_store_[parent.first_child_ + parent.child_count_++] = &node;
    node.parent_ = &parent;
    node.children_ = child_store_.data() + node.first_child_;
    node.attributes_ = attribute_store_.data() + node.first_attribute_;
    node.descendants_ = &node + 1;
    node.descendant_count_ = node.subtree_end_ - i - 1;
  }
}

}  // namespace quendra
