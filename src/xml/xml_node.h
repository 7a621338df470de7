// Read-only view of the elements and attributes of a parsed block.
//
// Ownership and lifetime: nodes and attributes belong to the TtolXMLTree that parsed them and are only
// handed out as const pointers and references. Every pointer, span and string_view obtained from a tree
// (names, texts, attribute values, children, parents) stays valid until the next parse on that tree or
// its destruction, whichever comes first; none of them refers to the caller's input bytes. Strings are
// 8-bit text in the ANSI code page exactly as read (no character-set conversion) and are not
// NUL-terminated.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace quendra {

class TtolXMLTree;

class TtolXMLAttribute {
 public:
  // Exactly as written, case preserved.
  std::string_view Name() const noexcept { return name_; }
  // Entity-decoded.
  std::string_view Value() const noexcept { return value_; }

 private:
  friend class TtolXMLTree;
  std::string_view name_;
  std::string_view value_;
};

class TtolXMLNode {
 public:
  // Exactly as written; "root" for a document that read at least one token.
  std::string_view Name() const noexcept { return name_; }
  // The last text, comment, processing instruction or CDATA section read directly inside this node.
  std::string_view Text() const noexcept { return text_; }
  // Child elements in document order.
  std::span<const TtolXMLNode* const> Children() const noexcept { return {children_, child_count_}; }
  // Attributes in document order; duplicate names give separate entries.
  std::span<const TtolXMLAttribute> Attributes() const noexcept { return {attributes_, attribute_count_}; }
  // The enclosing node; null for the document.
  const TtolXMLNode* Parent() const noexcept { return parent_; }

  // First descendant (not this node) in document order, pre-order, whose name equals `name` with ASCII
  // letters compared without regard to case; null if none. Linear in the number of descendants, without
  // recursion.
  const TtolXMLNode* FindElement(std::string_view name) const noexcept;

  // Only a TtolXMLTree can make the key, so only a tree makes nodes. Every field is set here, which
  // keeps node creation on the hot path to plain stores.
  class BuildKey {
    friend class TtolXMLTree;
    BuildKey() = default;
  };
  TtolXMLNode(BuildKey, std::string_view name, std::uint32_t parent_index, std::uint32_t first_attribute,
              std::uint32_t attribute_count, std::uint32_t index) noexcept
      : name_(name),
        attribute_count_(attribute_count),
        parent_index_(parent_index),
        first_attribute_(first_attribute),
        subtree_end_(index + 1) {}

 protected:
  TtolXMLNode() = default;

 private:
  friend class TtolXMLTree;
  std::string_view name_;
  std::string_view text_;
  const TtolXMLNode* parent_ = nullptr;
  const TtolXMLNode* const* children_ = nullptr;
  const TtolXMLAttribute* attributes_ = nullptr;
  // Descendants lie next to each other in document order, so a search is one forward scan.
  const TtolXMLNode* descendants_ = nullptr;
  std::uint32_t child_count_ = 0;
  std::uint32_t attribute_count_ = 0;
  std::uint32_t descendant_count_ = 0;
  // Used while the tree is built, before the pointers above are set.
  std::uint32_t parent_index_ = 0;
  std::uint32_t first_attribute_ = 0;
  std::uint32_t first_child_ = 0;
  std::uint32_t subtree_end_ = 0;
};

// True when `a` and `b` are equal with only A-Z and a-z folded.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) noexcept;

}  // namespace quendra
