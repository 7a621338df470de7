// What a parse of one block says about itself: a status with one value per failing construct, the byte
// offset in the input where it was found and a fixed description. The throwing entry point wraps the same
// result in XmlParseError.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>

namespace quendra {

enum class XmlParseStatus : std::uint8_t {
  ok = 0,
  // A closing tag left the document with no current element and another token followed it. Closing
  // tags are never matched against names, so this is the only malformed input the reader refuses.
  closing_tag_at_document_level,
  // The input is longer than the reader's 32-bit node and offset bookkeeping can index.
  input_too_large,
};

class XmlParseResult {
 public:
  XmlParseResult() = default;
  XmlParseResult(XmlParseStatus status, std::size_t offset) : status_(status), offset_(offset) {}

  XmlParseStatus status() const noexcept { return status_; }
  // Byte offset into the parsed input of the construct that failed; 0 on success.
  std::size_t offset() const noexcept { return offset_; }
  // Static English text; never null.
  const char* description() const noexcept;

  explicit operator bool() const noexcept { return status_ == XmlParseStatus::ok; }

 private:
  XmlParseStatus status_ = XmlParseStatus::ok;
  std::size_t offset_ = 0;
};

// Thrown by TtolXMLTree::LoadFromText; what() reads "<description> at offset <n>".
class XmlParseError : public std::runtime_error {
 public:
  explicit XmlParseError(const XmlParseResult& result);
  const XmlParseResult& result() const noexcept { return result_; }

 private:
  XmlParseResult result_;
};

}  // namespace quendra
