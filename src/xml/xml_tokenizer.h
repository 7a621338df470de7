// First pass of the reader: cuts a text into a flat sequence of tokens. Tokens are pulled one at a time
// and refer to the text by view; nothing is copied or rewritten here (see xml_content.h for that).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace quendra {

enum class XmlTokenKind : std::uint8_t {
  opening_tag,        // "OT:"
  closing_tag,        // "CT:"
  empty_element_tag,  // "ET:"
  text,               // "TX:"
  cdata,              // "CD:"
};

// Where a text or CDATA token came from; decides how its content is rewritten.
enum class XmlTextSource : std::uint8_t {
  markup,                  // tags: not a text
  character_data,          // trimmed; line breaks and TABs fold to spaces
  comment,                 // lines kept, line escapes applied
  processing_instruction,  // lines kept, otherwise unchanged
  cdata_section,           // lines kept, line escapes applied, never entity-decoded
};

struct XmlToken {
  XmlTokenKind kind = XmlTokenKind::text;
  XmlTextSource source = XmlTextSource::markup;
  // Tags: the inner text without the slash of a closing or empty-element tag, not yet trimmed.
  // Character data: trimmed. Others: the content between the delimiters (up to the end of the text, less
  // one final line break, when the terminator is missing).
  std::string_view raw;
  // Offset of the token's first byte ('<' for markup) in the text.
  std::size_t offset = 0;
};

// The three-character kind prefix of the token list ("OT:", "CT:", "ET:", "TX:", "CD:").
std::string_view TokenPrefix(XmlTokenKind kind) noexcept;

class XmlTokenizer {
 public:
  // Starts over on `text`, which must outlive the tokens read from it. Scratch memory is kept for reuse.
  void Reset(std::string_view text);
  // Reads the next token; false at the end of the text. Total work is linear in the text's length.
  bool Next(XmlToken& token);

 private:
  bool ReadMarkup(std::size_t lt, XmlToken& token);
  bool ReadDelimited(std::size_t start, std::string_view terminator, XmlTokenKind kind, XmlTextSource source,
                     std::size_t lt, XmlToken& token);
  std::size_t FindTagEnd(std::size_t lt);
  void MarkFailedScan(std::size_t lt, std::size_t stop);

  std::string_view text_;
  std::size_t pos_ = 0;
  // Per byte, one bit per quote state (outside, in '...', in "...") from which the scan for a tag's end
  // is known to reach the end of the text without finding one. Filled only once a scan has failed; it
  // keeps a text full of unclosed '<' linear instead of quadratic.
  std::vector<std::uint8_t> failed_scans_;
  bool failed_scans_active_ = false;
};

}  // namespace quendra
