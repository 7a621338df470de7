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

#ifdef __SSE2__
#include <emmintrin.h>
#endif

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

// Searches for the next byte of a small set. Most distances in data blocks are a few bytes to a few dozen,
// where testing a whole word or vector per step beats both a byte loop and a call to memchr. Each set is
// a matcher with three equivalent tests: Vector (16 bytes, SSE2 builds only), Word (8 bytes) and Byte.
// The word and vector tests are exact per byte, so a load may overlap bytes already tested and mask them
// off; no load reaches outside the string.
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
// Position of the first flagged byte of a non-zero Matches/Below result.
inline std::size_t First(std::uint64_t hits) noexcept {
  return static_cast<std::size_t>(std::countr_zero(hits)) / 8;
}

}  // namespace swar

#ifdef __SSE2__
namespace sse2 {

using Vec = __m128i;
inline Vec Load(const char* p) noexcept {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
inline Vec Broadcast(char c) noexcept {
  return _mm_set1_epi8(c);
}
inline Vec Matches(Vec v, Vec pattern) noexcept {
  return _mm_cmpeq_epi8(v, pattern);
}
// Bytes whose unsigned value is at most `limit`, given as a broadcast vector.
inline Vec AtMost(Vec v, Vec limit) noexcept {
  return _mm_cmpeq_epi8(_mm_max_epu8(v, limit), limit);
}
inline unsigned Mask(Vec hits) noexcept {
  return static_cast<unsigned>(_mm_movemask_epi8(hits));
}

}  // namespace sse2
#endif

// The two step widths of the scans, each with its form of hits: one high bit per byte in a word, one bit
// per byte from a vector.
struct WordSteps {
  static constexpr std::size_t kWidth = 8;
  using Hits = std::uint64_t;
  template <class Matcher>
  static Hits At(const char* p, const Matcher& m) noexcept {
    return m.Word(swar::Load(p));
  }
  // Hits of the bytes from `skip` on, and of the bytes before `count` (both below kWidth).
  static Hits From(std::size_t skip) noexcept { return ~Hits{0} << (8 * skip); }
  static Hits Before(std::size_t count) noexcept { return (Hits{1} << (8 * count)) - 1; }
  static std::size_t First(Hits hits) noexcept { return swar::First(hits); }
};

#ifdef __SSE2__
struct VectorSteps {
  static constexpr std::size_t kWidth = 16;
  using Hits = unsigned;
  template <class Matcher>
  static Hits At(const char* p, const Matcher& m) noexcept {
    return sse2::Mask(m.Vector(sse2::Load(p)));
  }
  static Hits From(std::size_t skip) noexcept { return ~0u << skip; }
  static Hits Before(std::size_t count) noexcept { return (1u << count) - 1; }
  static std::size_t First(Hits hits) noexcept { return static_cast<std::size_t>(std::countr_zero(hits)); }
};
#endif

// A scan in whole steps of a string at least one step long; the tail is the last whole step without the
// bytes already tested.
template <class Steps, class Matcher>
inline std::size_t ScanSteps(std::string_view s, std::size_t from, const Matcher& m) noexcept {
  constexpr std::size_t w = Steps::kWidth;
  const char* const p = s.data();
  const std::size_t n = s.size();
  std::size_t i = from;
  for (; i + w <= n; i += w) {
    if (const auto hits = Steps::At(p + i, m)) return i + Steps::First(hits);
  }
  if (i >= n) return std::string_view::npos;
  if (const auto hits = Steps::At(p + n - w, m) & Steps::From(i - (n - w))) return n - w + Steps::First(hits);
  return std::string_view::npos;
}

// A scan of a string followed by kPadding readable bytes: every step is whole, and the bytes past the end
// are masked off, so a short string takes one step and there is no tail to handle.
template <class Steps, class Matcher>
inline std::size_t ScanPaddedSteps(std::string_view s, std::size_t from, const Matcher& m) noexcept {
  const char* const p = s.data();
  const std::size_t n = s.size();
  for (std::size_t i = from; i < n; i += Steps::kWidth) {
    auto hits = Steps::At(p + i, m);
    if (n - i < Steps::kWidth) hits &= Steps::Before(n - i);
    if (hits) return i + Steps::First(hits);
  }
  return std::string_view::npos;
}

// Scans with 8-byte words only (and bytes in strings shorter than a word). Used where vectors are not
// built, and by the tests on every build.
template <class Matcher>
inline std::size_t ScanWords(std::string_view s, std::size_t from, const Matcher& m) noexcept {
  if constexpr (swar::kEnabled) {
    if (s.size() >= WordSteps::kWidth) return ScanSteps<WordSteps>(s, from, m);
  }
  for (std::size_t i = from; i < s.size(); ++i) {
    if (m.Byte(s[i])) return i;
  }
  return std::string_view::npos;
}

// Position of the first byte at or after `from` that `m` accepts; npos if none.
template <class Matcher>
inline std::size_t Scan(std::string_view s, std::size_t from, const Matcher& m) noexcept {
#ifdef __SSE2__
  if (s.size() >= VectorSteps::kWidth) return ScanSteps<VectorSteps>(s, from, m);
#endif
  return ScanWords(s, from, m);
}

// Bytes after the end of a string that the padded searches may read; their values never matter.
inline constexpr std::size_t kPadding = 16;

// As ScanWords, for a string followed by kPadding readable bytes.
template <class Matcher>
inline std::size_t ScanPaddedWords(std::string_view s, std::size_t from, const Matcher& m) noexcept {
  if constexpr (swar::kEnabled) {
    return ScanPaddedSteps<WordSteps>(s, from, m);
  } else {
    return ScanWords(s, from, m);
  }
}

// As Scan, for a string followed by kPadding readable bytes.
template <class Matcher>
inline std::size_t ScanPadded(std::string_view s, std::size_t from, const Matcher& m) noexcept {
#ifdef __SSE2__
  return ScanPaddedSteps<VectorSteps>(s, from, m);
#else
  return ScanPaddedWords(s, from, m);
#endif
}

// Scan or ScanPadded, chosen at compile time by what the caller knows of the bytes after `s`.
template <bool kPadded, class Matcher>
inline std::size_t ScanFor(std::string_view s, std::size_t from, const Matcher& m) noexcept {
  if constexpr (kPadded) {
    return ScanPadded(s, from, m);
  } else {
    return Scan(s, from, m);
  }
}

// The sets searched for.
struct OneByte {
  explicit OneByte(char c) noexcept
      : c_(c),
        word_(swar::Broadcast(c))
#ifdef __SSE2__
        ,
        vector_(sse2::Broadcast(c))
#endif
  {
  }
  bool Byte(char b) const noexcept {
    return b == c_;
  }
  std::uint64_t Word(std::uint64_t w) const noexcept {
    return swar::Matches(w, word_);
  }
#ifdef __SSE2__
  sse2::Vec Vector(sse2::Vec v) const noexcept {
    return sse2::Matches(v, vector_);
  }
#endif

 private:
  char c_;
  std::uint64_t word_;
#ifdef __SSE2__
  sse2::Vec vector_;
#endif
};

// '>', apostrophe and double quote: where the scan for a tag's end stops.
struct TagStops {
  bool Byte(char b) const noexcept { return Is(b, kTagStop); }
  std::uint64_t Word(std::uint64_t w) const noexcept {
    return swar::Matches(w, swar::Broadcast('>')) | swar::Matches(w, swar::Broadcast('\'')) |
           swar::Matches(w, swar::Broadcast('"'));
  }
#ifdef __SSE2__
  sse2::Vec Vector(sse2::Vec v) const noexcept {
    return _mm_or_si128(
        _mm_or_si128(sse2::Matches(v, sse2::Broadcast('>')), sse2::Matches(v, sse2::Broadcast('\''))),
        sse2::Matches(v, sse2::Broadcast('"')));
  }
#endif
};

// Apostrophe and double quote.
struct Quotes {
  bool Byte(char b) const noexcept { return b == '\'' || b == '"'; }
  std::uint64_t Word(std::uint64_t w) const noexcept {
    return swar::Matches(w, swar::Broadcast('\'')) | swar::Matches(w, swar::Broadcast('"'));
  }
#ifdef __SSE2__
  sse2::Vec Vector(sse2::Vec v) const noexcept {
    return _mm_or_si128(sse2::Matches(v, sse2::Broadcast('\'')), sse2::Matches(v, sse2::Broadcast('"')));
  }
#endif
};

// Codes of 32 or less: trimmed, and (space, TAB, CR, LF) the end of an element name.
struct Blanks {
  bool Byte(char b) const noexcept { return Is(b, kBlank); }
  std::uint64_t Word(std::uint64_t w) const noexcept { return swar::Below(w, 33); }
#ifdef __SSE2__
  sse2::Vec Vector(sse2::Vec v) const noexcept {
    return sse2::AtMost(v, sse2::Broadcast(32));
  }
#endif
};

// Every byte a content rewrite may touch: codes below 32 (TAB, CR, LF among them), '&' and '\\'. The
// space is not among them, so the spaces inside values and texts do not stop the search.
struct Rewritable {
  bool Byte(char b) const noexcept { return static_cast<unsigned char>(b) < 32 || b == '&' || b == '\\'; }
  std::uint64_t Word(std::uint64_t w) const noexcept {
    return swar::Below(w, 32) | swar::Matches(w, swar::Broadcast('&')) |
           swar::Matches(w, swar::Broadcast('\\'));
  }
#ifdef __SSE2__
  sse2::Vec Vector(sse2::Vec v) const noexcept {
    return _mm_or_si128(
        _mm_or_si128(sse2::AtMost(v, sse2::Broadcast(31)), sse2::Matches(v, sse2::Broadcast('&'))),
        sse2::Matches(v, sse2::Broadcast('\\')));
  }
#endif
};

// Position of the first `c` in `s` at or after `from`, or npos. With kPadded, `s` must be followed by
// kPadding readable bytes; the same holds for the searches below.
template <bool kPadded = false>
inline std::size_t Find(std::string_view s, char c, std::size_t from) noexcept {
  return ScanFor<kPadded>(s, from, OneByte(c));
}

// Position of the first '>', apostrophe or double quote in `s` at or after `from`, or npos.
template <bool kPadded = false>
inline std::size_t FindTagStop(std::string_view s, std::size_t from) noexcept {
  return ScanFor<kPadded>(s, from, TagStops{});
}

// Position of the first apostrophe or double quote in `s` at or after `from`, or npos.
template <bool kPadded = false>
inline std::size_t FindQuote(std::string_view s, std::size_t from) noexcept {
  return ScanFor<kPadded>(s, from, Quotes{});
}

// Position of the first byte in `s` at or after `from` with a bit of `mask`; s.size() if none. `mask`
// may hold only kBlank and bits of bytes below 32, '&' and '\\'; the scan picks the candidates to test
// by whether the mask takes in the space.
template <bool kPadded = false>
inline std::size_t FindInMask(std::string_view s, std::size_t from, std::uint8_t mask) noexcept {
  const bool spaces = (mask & (kBlank | kNameEnd)) != 0;
  for (std::size_t i = from;; ++i) {
    i = spaces ? ScanFor<kPadded>(s, i, Blanks{}) : ScanFor<kPadded>(s, i, Rewritable{});
    if (i == std::string_view::npos) return s.size();
    if (Is(s[i], mask)) return i;
  }
}

}  // namespace quendra::xml_chars
