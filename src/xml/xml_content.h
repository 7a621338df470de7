// Rewrites of token contents. Each returns its input unchanged (no copy) when there is nothing to rewrite,
// which is the common case for data blocks; otherwise it writes the rewritten text to `out` and returns a
// view of it. `out` must have room for 2 * raw.size() bytes: a lone CR or LF grows to CR LF, everything
// else only shrinks. The check for "nothing to rewrite" is inline; the rewriting itself is not.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "xml/xml_char_table.h"

namespace quendra::xml_content {

// Removes every byte with code 32 or less from both ends.
inline std::string_view Trim(std::string_view raw) noexcept {
  const char* b = raw.data();
  const char* e = b + raw.size();
  while (b != e && static_cast<unsigned char>(*b) <= 32) ++b;
  while (e != b && static_cast<unsigned char>(e[-1]) <= 32) --e;
  return {b, static_cast<std::size_t>(e - b)};
}

// If `p` (< end, pointing at '&') starts "&amp;", "&lt;", "&gt;", "&apos;" or "&quot;" (case-sensitive),
// stores the character it stands for and returns the reference's length; else returns 0.
std::size_t DecodeEntity(const char* p, const char* end, char& decoded) noexcept;

// Length of the leading run of `raw` that no rewrite with `mask` touches. With kPadded, `raw` must be
// followed by xml_chars::kPadding readable bytes.
template <bool kPadded = false>
inline std::size_t PlainPrefix(std::string_view raw, std::uint8_t mask) noexcept {
  return xml_chars::FindInMask<kPadded>(raw, 0, mask);
}

inline std::uint8_t FoldMask(bool decode) noexcept {
  return xml_chars::kFolded | (decode ? xml_chars::kAmpersand : 0);
}

inline std::uint8_t LinesMask(bool line_escapes, bool decode) noexcept {
  return xml_chars::kLineBreak | (line_escapes ? xml_chars::kBackslash : 0) |
         (decode ? xml_chars::kAmpersand : 0);
}

// The rewrites below, from the first byte that needs one (`plain` bytes in).
std::string_view FoldSpacesFrom(std::string_view raw, std::size_t plain, bool decode, char* out) noexcept;
std::string_view KeepLinesFrom(std::string_view raw, std::size_t plain, bool line_escapes, bool decode,
                               char* out) noexcept;

// Texts and tag contents: each line break (CR LF, CR or LF) and each TAB becomes one space; with `decode`
// the five predefined entity references are replaced in the same left-to-right pass. kPadded as for
// PlainPrefix.
template <bool kPadded = false>
inline std::string_view FoldSpaces(std::string_view raw, bool decode, char* out) noexcept {
  const std::size_t plain = PlainPrefix<kPadded>(raw, FoldMask(decode));
  return plain == raw.size() ? raw : FoldSpacesFrom(raw, plain, decode, out);
}

// Comments, CDATA sections and processing instructions keep their lines: each line break becomes CR LF.
// With `line_escapes` the sequences backslash-n-space and backslash-t-space become CR LF and TAB; with
// `decode` the entity references are replaced.
inline std::string_view KeepLines(std::string_view raw, bool line_escapes, bool decode, char* out) noexcept {
  const std::size_t plain = PlainPrefix(raw, LinesMask(line_escapes, decode));
  return plain == raw.size() ? raw : KeepLinesFrom(raw, plain, line_escapes, decode, out);
}

}  // namespace quendra::xml_content
