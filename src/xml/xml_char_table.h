// One 256-entry table classifies every byte for the reader's hot loops, so each loop tests one bit mask
// instead of a chain of comparisons. Bytes 128..255 carry no bits: names and values are 8-bit ANSI text
// and pass through untouched.
#pragma once

#include <array>
#include <cstdint>

namespace quendra::xml_chars {

enum Bits : std::uint8_t {
  kBlank = 1 << 0,      // 0..32: trimmed from both ends of texts and tag contents
  kNameEnd = 1 << 1,    // space, TAB, CR, LF: all read as a space, so each ends an element name
  kFolded = 1 << 2,     // TAB, CR, LF: become a space in texts and tag contents
  kLineBreak = 1 << 3,  // CR, LF: become CR LF in comments, CDATA and processing instructions
  kAmpersand = 1 << 4,  // '&': may start one of the five entity references
  kBackslash = 1 << 5,  // '\': may start a line escape in comments and CDATA
  kTagStop = 1 << 6,    // '>', '\'', '"': the scan for a tag's end stops here
};

inline constexpr std::array<std::uint8_t, 256> kTable = [] {
  std::array<std::uint8_t, 256> t{};
  for (int c = 0; c <= 32; ++c) t[c] |= kBlank;  // 0x00..0x20
  for (unsigned char c : {'\t', '\r', '\n'}) t[c] |= kNameEnd | kFolded;
  t[' '] |= kNameEnd;
  t['\r'] |= kLineBreak;
  t['\n'] |= kLineBreak;
  t['&'] |= kAmpersand;
  t['\\'] |= kBackslash;
  for (unsigned char c : {'>', '\'', '"'}) t[c] |= kTagStop;
  return t;
}();

inline bool Is(char c, std::uint8_t mask) noexcept {
  return (kTable[static_cast<unsigned char>(c)] & mask) != 0;
}

}  // namespace quendra::xml_chars
