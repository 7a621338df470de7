// Reading numbers out of 8-bit text, independent of the process locale: no strtod, no locale
// decimal separator. Every reader takes the whole text and fails (std::nullopt) if anything is left.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace quendra {

// Optional spaces, an optional "+" or "-", then decimal digits, or hexadecimal digits after "$", "x",
// "X", "0x" or "0X"; nothing after them. A decimal value must fit the signed type; a hexadecimal one is
// a bit pattern of the type's width (at most 8 or 16 significant digits), so "$FFFFFFFF" is -1, and a
// sign in front of it negates that pattern.
std::optional<std::int32_t> ParseInt32Text(std::string_view text);
std::optional<std::int64_t> ParseInt64Text(std::string_view text);

// Optional spaces, an optional sign, digits with at most one `decimal_separator` and at least one
// digit, an optional exponent ("E" or "e", optional sign, digits), optional spaces, nothing else.
// Fails beyond the range of a double; a value too small for one becomes zero.
std::optional<double> ParseFloatText(std::string_view text, char decimal_separator = '.');

// 0..15 for a hexadecimal digit of either case, -1 for anything else.
inline int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Characters 0..32 count as blanks when values are trimmed: control characters trim like spaces.
inline bool IsTrimmedChar(char c) {
  return static_cast<unsigned char>(c) <= 32;
}
std::string_view TrimLeft(std::string_view text);
std::string_view TrimRight(std::string_view text);
inline std::string_view Trim(std::string_view text) {
  return TrimRight(TrimLeft(text));
}

}  // namespace quendra
