#include "text/number_text.h"

#include <charconv>
#include <limits>
#include <string>
#include <type_traits>

namespace quendra {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

template <typename Signed>
std::optional<Signed> ParseIntegerText(std::string_view text) {
  using Unsigned = std::make_unsigned_t<Signed>;
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  bool hex = false;
  if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
    hex = true;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i == text.size()) return std::nullopt;
  Unsigned value = 0;
  if (hex) {
    constexpr Unsigned kTopNibble = Unsigned{0xF} << (std::numeric_limits<Unsigned>::digits - 4);
    for (; i < text.size(); ++i) {
      int digit = HexDigitValue(text[i]);
      if (digit < 0) return std::nullopt;
      if (value & kTopNibble) return std::nullopt;  // more significant digits than the type holds
      value = static_cast<Unsigned>((value << 4) | static_cast<Unsigned>(digit));
    }
    // Two's complement wrap: the digits are a bit pattern, the sign negates it.
    if (negative) value = static_cast<Unsigned>(Unsigned{0} - value);
    return static_cast<Signed>(value);
  }
  // The magnitude may reach max + 1 only for a negative value.
  const Unsigned limit = static_cast<Unsigned>(std::numeric_limits<Signed>::max()) + (negative ? 1u : 0u);
  for (; i < text.size(); ++i) {
    if (!IsDigit(text[i])) return std::nullopt;
    Unsigned digit = static_cast<Unsigned>(text[i] - '0');
    // Detect and prevent integer overflow.
    if (value > (limit - digit) / 10) return std::nullopt;
    value = static_cast<Unsigned>(value * 10 + digit);
  }
  if (negative) return static_cast<Signed>(Unsigned{0} - value);
  return static_cast<Signed>(value);
}

}  // namespace

std::optional<std::int32_t> ParseInt32Text(std::string_view text) {
  return ParseIntegerText<std::int32_t>(text);
}

std::optional<std::int64_t> ParseInt64Text(std::string_view text) {
  return ParseIntegerText<std::int64_t>(text);
}

std::optional<double> ParseFloatText(std::string_view text, char decimal_separator) {
  // Check the syntax here and hand std::from_chars a plain "-123.45e6" it reads the same everywhere.
  std::string plain;
  plain.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') plain.push_back('-');
    ++i;
  }
  std::size_t digits = 0;
  bool separator = false;
  for (; i < text.size(); ++i) {
    if (IsDigit(text[i])) {
      plain.push_back(text[i]);
      ++digits;
    } else if (text[i] == decimal_separator && !separator) {
      plain.push_back('.');
      separator = true;
    } else {
      break;
    }
  }
  if (digits == 0) return std::nullopt;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    plain.push_back('e');
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) plain.push_back(text[i++]);
    std::size_t exponent_digits = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i, ++exponent_digits) plain.push_back(text[i]);
    if (exponent_digits == 0) return std::nullopt;
  }
  while (i < text.size() && text[i] == ' ') ++i;
  if (i != text.size()) return std::nullopt;

  double value = 0;
  const char* first = plain.data();
  const char* last = plain.data() + plain.size();
  auto [end, ec] = std::from_chars(first, last, value, std::chars_format::general);
  if (ec == std::errc::result_out_of_range) {
    // from_chars reports underflow and overflow alike; tell them apart by the decimal exponent of the
    // first significant digit.
    std::size_t p = plain[0] == '-' ? 1 : 0;
    long long magnitude = 0;  // position of the first significant digit relative to the point
    std::size_t integer_digits = 0;
    bool seen_point = false, seen_significant = false;
    long long fraction_zeros = 0;
    for (; p < plain.size() && plain[p] != 'e'; ++p) {
      if (plain[p] == '.') {
        seen_point = true;
      } else if (!seen_significant && plain[p] == '0') {
        if (seen_point) ++fraction_zeros;
      } else {
        seen_significant = true;
        if (!seen_point) ++integer_digits;
      }
    }
    long long exponent = 0;
    if (p < plain.size()) {
      // Exponent digits beyond what a long long holds are clamped: the sign alone decides then.
      std::string_view e(plain.data() + p + 1, plain.size() - p - 1);
      bool exp_negative = !e.empty() && e[0] == '-';
      if (!e.empty() && (e[0] == '-' || e[0] == '+')) e.remove_prefix(1);
      for (char c : e) {
        exponent = exponent > 100000000 ? exponent : exponent * 10 + (c - '0');
      }
      if (exp_negative) exponent = -exponent;
    }
    magnitude = exponent + (integer_digits > 0 ? static_cast<long long>(integer_digits) : -fraction_zeros);
    if (magnitude < 0) return plain[0] == '-' ? -0.0 : 0.0;
    return std::nullopt;
  }
  if (ec != std::errc() || end != last) return std::nullopt;
  return value;
}

std::string_view TrimLeft(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsTrimmedChar(text[i])) ++i;
  return text.substr(i);
}

std::string_view TrimRight(std::string_view text) {
  std::size_t n = text.size();
  while (n > 0 && IsTrimmedChar(text[n - 1])) --n;
  return text.substr(0, n);
}

}  // namespace quendra
