// Rewrites of token contents. Each returns its input unchanged (no copy) when there is nothing to rewrite,
// which is the common case for data blocks; otherwise it writes the rewritten text to `out` and returns a
// view of it. `out` must have room for 2 * raw.size() bytes: a lone CR or LF grows to CR LF, everything
// else only shrinks.
#pragma once

#include <cstddef>
#include <string_view>

namespace quendra::xml_content {

// Removes every byte with code 32 or less from both ends.
std::string_view Trim(std::string_view raw) noexcept;

// Texts and tag contents: each line break (CR LF, CR or LF) and each TAB becomes one space; with `decode`
// the five predefined entity references are replaced in the same left-to-right pass.
std::string_view FoldSpaces(std::string_view raw, bool decode, char* out) noexcept;

// Comments, CDATA sections and processing instructions keep their lines: each line break becomes CR LF.
// With `line_escapes` the sequences backslash-n-space and backslash-t-space become CR LF and TAB; with
// `decode` the entity references are replaced.
std::string_view KeepLines(std::string_view raw, bool line_escapes, bool decode, char* out) noexcept;

// If `p` (< end, pointing at '&') starts "&amp;", "&lt;", "&gt;", "&apos;" or "&quot;" (case-sensitive),
// stores the character it stands for and returns the reference's length; else returns 0.
std::size_t DecodeEntity(const char* p, const char* end, char& decoded) noexcept;

}  // namespace quendra::xml_content
