#include "xml/xml_tokenizer.h"

namespace quendra {
namespace {

constexpr std::size_t kNone = std::string_view::npos;

// Quote states of the tag-end scan, as bit positions of XmlTokenizer::failed_scans_.
enum QuoteState : std::uint8_t { kOutside = 0, kInApostrophe = 1, kInQuote = 2 };

QuoteState After(QuoteState state, char c) noexcept {
  switch (state) {
    case kOutside:
      return c == '\'' ? kInApostrophe : c == '"' ? kInQuote : kOutside;
    case kInApostrophe:
      return c == '\'' ? kOutside : state;
    case kInQuote:
      return c == '"' ? kOutside : state;
  }
  return state;
}

// "<![CDATA[" with ASCII letters compared without regard to case.
bool StartsCdata(std::string_view rest) noexcept {
  static constexpr std::string_view kOpen = "<![cdata[";
  if (rest.size() < kOpen.size()) return false;
  for (std::size_t i = 0; i < kOpen.size(); ++i) {
    const char want = kOpen[i];
    const char got = rest[i];
    const bool letter = want >= 'a' && want <= 'z';
    if (letter ? (got | 0x20) != want : got != want) return false;
  }
  return true;
}

// An unterminated construct runs to the end of the text; the line break that ends the last line is not
// part of its content.
std::string_view WithoutFinalLineBreak(std::string_view s) noexcept {
  if (s.ends_with("\r\n")) return s.substr(0, s.size() - 2);
  if (s.ends_with('\r') || s.ends_with('\n')) return s.substr(0, s.size() - 1);
  return s;
}

}  // namespace

std::string_view TokenPrefix(XmlTokenKind kind) noexcept {
  switch (kind) {
    case XmlTokenKind::opening_tag:
      return "OT:";
    case XmlTokenKind::closing_tag:
      return "CT:";
    case XmlTokenKind::empty_element_tag:
      return "ET:";
    case XmlTokenKind::text:
      return "TX:";
    case XmlTokenKind::cdata:
      return "CD:";
  }
  return "??:";
}

void XmlTokenizer::Reset(std::string_view text) {
  text_ = text;
  pos_ = 0;
  failed_scans_active_ = false;
}

// "<!" and "<?": CDATA, processing instruction or comment; anything else (such as "<!DOCTYPE") is a tag.
bool XmlTokenizer::ReadSpecial(std::size_t lt, XmlToken& token) {
  const std::string_view rest = text_.substr(lt);
  if (StartsCdata(rest)) {
    return ReadDelimited(lt + 9, "]]>", XmlTokenKind::cdata, XmlTextSource::cdata_section, lt, token);
  }
  if (rest.starts_with("<?")) {
    return ReadDelimited(lt + 2, "?>", XmlTokenKind::text, XmlTextSource::processing_instruction, lt,
                         token) &&
           !token.raw.empty();
  }
  if (rest.starts_with("<!--")) {
    return ReadDelimited(lt + 4, "-->", XmlTokenKind::text, XmlTextSource::comment, lt, token);
  }
  return ReadTag(lt, token);
}

bool XmlTokenizer::ReadDelimited(std::size_t start, std::string_view terminator, XmlTokenKind kind,
                                 XmlTextSource source, std::size_t lt, XmlToken& token) {
  const std::size_t end = text_.find(terminator, start);
  std::string_view content;
  if (end == kNone) {
    content = WithoutFinalLineBreak(text_.substr(start));
    pos_ = text_.size();
  } else {
    content = text_.substr(start, end - start);
    pos_ = end + terminator.size();
  }
  token = {kind, source, content, lt};
  return true;
}

// The scan for a tag's end once one has failed (or is about to be found failing): remembers every
// failed scan so that later ones stop where they join it.
std::size_t XmlTokenizer::FindTagEndRemembering(std::size_t lt) {
  const char* const s = text_.data();
  const std::size_t n = text_.size();
  if (!failed_scans_active_) {
    failed_scans_.assign(n, 0);
    failed_scans_active_ = true;
  }
  QuoteState state = kOutside;
  std::size_t i = lt;
  for (; i < n; ++i) {
    if (failed_scans_[i] & (1u << state)) break;  // joins a scan already known to fail
    if (state == kOutside && s[i] == '>') return i;
    state = After(state, s[i]);
  }
  MarkFailedScan(lt, i);
  return kNone;
}

void XmlTokenizer::MarkFailedScan(std::size_t lt, std::size_t stop) {
  QuoteState state = kOutside;
  for (std::size_t i = lt; i < stop; ++i) {
    failed_scans_[i] |= static_cast<std::uint8_t>(1u << state);
    state = After(state, text_[i]);
  }
}

}  // namespace quendra
