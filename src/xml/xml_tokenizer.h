// First pass of the reader: cuts a text into a flat sequence of tokens. Tokens are pulled one at a time
// and refer to the text by view; nothing is copied or rewritten here (see xml_content.h for that).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "xml/xml_char_table.h"
#include "xml/xml_content.h"

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
  bool ReadTag(std::size_t lt, XmlToken& token);
  bool ReadSpecial(std::size_t lt, XmlToken& token);
  bool ReadDelimited(std::size_t start, std::string_view terminator, XmlTokenKind kind, XmlTextSource source,
                     std::size_t lt, XmlToken& token);
  std::size_t FindTagEnd(std::size_t lt);
  std::size_t FindTagEndRemembering(std::size_t lt);
  void MarkFailedScan(std::size_t lt, std::size_t stop);

  std::string_view text_;
  std::size_t pos_ = 0;
  // Per byte, one bit per quote state (outside, in '...', in "...") from which the scan for a tag's end
  // is known to reach the end of the text without finding one. Filled only once a scan has failed; it
  // keeps a text full of unclosed '<' linear instead of quadratic.
  std::vector<std::uint8_t> failed_scans_;
  bool failed_scans_active_ = false;
};

// The per-token path is inline: it runs a few times per element on the hot path, and the builder's loop
// around it then keeps its state in registers. GCC judged Next too large to inline on its own and paid a
// call, a spilled token and a full prologue per token, so it is forced. Rare constructs are out of line.

[[gnu::always_inline]] inline bool XmlTokenizer::Next(XmlToken& token) {
  const std::size_t n = text_.size();
  while (pos_ < n) {
    std::size_t lt = pos_;
    // Tags often follow each other directly, and a text token ends at a '<' already found.
    if (text_[lt] != '<') {
      const std::size_t found = xml_chars::Find(text_, '<', pos_);
      lt = found == std::string_view::npos ? n : found;
      const std::string_view text = xml_content::Trim(text_.substr(pos_, lt - pos_));
      pos_ = lt;
      if (!text.empty()) {
        token = {XmlTokenKind::text, XmlTextSource::character_data, text,
                 static_cast<std::size_t>(text.data() - text_.data())};
        return true;
      }
    }
    if (lt == n) break;
    const char second = lt + 1 < n ? text_[lt + 1] : '\0';
    if (second == '!' || second == '?' ? ReadSpecial(lt, token) : ReadTag(lt, token)) return true;
  }
  return false;
}

inline bool XmlTokenizer::ReadTag(std::size_t lt, XmlToken& token) {
  const std::size_t gt = FindTagEnd(lt);
  if (gt == std::string_view::npos) {
    // Drop the '<' alone: what follows is read as text.
    pos_ = lt + 1;
    return false;
  }
  pos_ = gt + 1;
  std::string_view inner = text_.substr(lt + 1, gt - lt - 1);
  if (inner.empty()) return false;
  XmlTokenKind kind = XmlTokenKind::opening_tag;
  if (inner.front() == '/') {
    kind = XmlTokenKind::closing_tag;
    inner.remove_prefix(1);
  } else if (inner.back() == '/') {
    kind = XmlTokenKind::empty_element_tag;
    inner.remove_suffix(1);
  }
  token = {kind, XmlTextSource::markup, inner, lt};
  return true;
}

// First '>' after `lt` outside quotes, or npos.
inline std::size_t XmlTokenizer::FindTagEnd(std::size_t lt) {
  if (failed_scans_active_) return FindTagEndRemembering(lt);
  // Until a scan has failed: jump from stop byte to stop byte.
  std::size_t i = lt + 1;
  for (;;) {
    i = xml_chars::FindTagStop(text_, i);
    if (i == std::string_view::npos) break;
    if (text_[i] == '>') return i;
    const std::size_t close = xml_chars::Find(text_, text_[i], i + 1);
    if (close == std::string_view::npos) break;
    i = close + 1;
  }
  return FindTagEndRemembering(lt);
}

}  // namespace quendra
