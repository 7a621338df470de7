// One 256-entry table classifies every byte for the reader's hot loops, so each loop tests one bit mask
// instead of a chain of comparisons. Bytes 128..255 carry no bits: names and values are 8-bit ANSI text
// and pass through untouched.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

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

// Word-at-a-time search: most distances in data blocks are a few bytes to a few dozen, where testing
// eight bytes per step beats both a byte loop and a call to memchr. The byte tests are exact (no carry
// crosses from one byte into the next), so a word may overlap bytes already tested and mask them off.
namespace swar {

inline constexpr bool kEnabled = std::endian::native == std::endian::little;
inline constexpr std::uint64_t kOnes = 0x0101010101010101ull;
inline constexpr std::uint64_t kLows = 0x7f7f7f7f7f7f7f7full;
inline constexpr std::uint64_t kHighs = 0x8080808080808080ull;

inline std::uint64_t Broadcast(char c) noexcept {
  return kOnes * static_cast<unsigned char>(c);
}
inline std::uint64_t Load(const char* p) noexcept {
  std::uint64_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}
// High bit set in exactly the byte positions of `word` that are zero.
inline std::uint64_t Zeros(std::uint64_t word) noexcept {
  return ~(((word & kLows) + kLows) | word | kLows);
}
// High bit set in exactly the byte positions of `word` that equal the broadcast byte in `pattern`.
inline std::uint64_t Matches(std::uint64_t word, std::uint64_t pattern) noexcept {
  return Zeros(word ^ pattern);
}
// High bit set in exactly the byte positions of `word` whose value is below `n` (1 <= n <= 128).
inline std::uint64_t Below(std::uint64_t word, unsigned n) noexcept {
  return ~(((word & kLows) + kOnes * (128 - n)) | word) & kHighs;
}

}  // namespace swar

// Position of the first byte at or after `from` that `word_hits` flags in its 8-byte word or, in strings
// shorter than a word, that `byte_hit` accepts; npos if none. Both tests must agree.
template <class WordHits, class ByteHit>
inline std::size_t Scan(std::string_view s, std::size_t from, WordHits word_hits, ByteHit byte_hit) noexcept {
  const char* const p = s.data();
  const std::size_t n = s.size();
  std::size_t i = from;
  if constexpr (swar::kEnabled) {
    if (n >= 8) {
      for (; i + 8 <= n; i += 8) {
        if (const std::uint64_t m = word_hits(swar::Load(p + i))) {
          return i + static_cast<std::size_t>(std::countr_zero(m)) / 8;
        }
      }
      if (i >= n) return std::string_view::npos;
      // The tail: the last whole word, without the bytes before `i`.
      const std::size_t skip = i - (n - 8);
      if (const std::uint64_t m = word_hits(swar::Load(p + n - 8)) & (~std::uint64_t{0} << (8 * skip))) {
        return n - 8 + static_cast<std::size_t>(std::countr_zero(m)) / 8;
      }
      return std::string_view::npos;
    }
  }
  for (; i < n; ++i) {
    if (byte_hit(p[i])) return i;
  }
  return std::string_view::npos;
}

// Position of the first `c` in `s` at or after `from`, or npos.
inline std::size_t Find(std::string_view s, char c, std::size_t from) noexcept {
  const std::uint64_t pattern = swar::Broadcast(c);
  return Scan(
      s, from, [pattern](std::uint64_t w) { return swar::Matches(w, pattern); },
      [c](char b) { return b == c; });
}

// Position of the first byte at or after `from` that may need attention in a name or text: a code of 32
// or less, '&' or '\\'. Callers test the byte found against their own mask and go on if it is not theirs.
inline std::size_t FindBlankOrEscape(std::string_view s, std::size_t from) noexcept {
  const std::uint64_t ampersand = swar::Broadcast('&');
  const std::uint64_t backslash = swar::Broadcast('\\');
  return Scan(
      s, from,
      [=](std::uint64_t w) {
        return swar::Below(w, 33) | swar::Matches(w, ampersand) | swar::Matches(w, backslash);
      },
      [](char b) { return Is(b, kBlank | kAmpersand | kBackslash); });
}

// Position of the first '>', apostrophe or double quote in `s` at or after `from`, or npos.
inline std::size_t FindTagStop(std::string_view s, std::size_t from) noexcept {
  const std::uint64_t gt = swar::Broadcast('>');
  const std::uint64_t apostrophe = swar::Broadcast('\'');
  const std::uint64_t quote = swar::Broadcast('"');
  return Scan(
      s, from,
      [=](std::uint64_t w) {
        return swar::Matches(w, gt) | swar::Matches(w, apostrophe) | swar::Matches(w, quote);
      },
      [](char b) { return Is(b, kTagStop); });
}

// Position of the first apostrophe or double quote in `s` at or after `from`, or npos.
inline std::size_t FindQuote(std::string_view s, std::size_t from) noexcept {
  const std::uint64_t apostrophe = swar::Broadcast('\'');
  const std::uint64_t quote = swar::Broadcast('"');
  return Scan(
      s, from, [=](std::uint64_t w) { return swar::Matches(w, apostrophe) | swar::Matches(w, quote); },
      [](char b) { return b == '\'' || b == '"'; });
}

// Position of the first byte in `s` at or after `from` with a bit of `mask`, which may only hold bits of
// bytes that FindBlankOrEscape stops at; s.size() if none.
inline std::size_t FindInMask(std::string_view s, std::size_t from, std::uint8_t mask) noexcept {
  for (std::size_t i = from;; ++i) {
    i = FindBlankOrEscape(s, i);
    if (i == std::string_view::npos) return s.size();
    if (Is(s[i], mask)) return i;
  }
}

}  // namespace quendra::xml_chars
