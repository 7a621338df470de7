#include "component/text_numbers.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <system_error>

#include "component/ascii_text.h"

namespace quendra {

namespace {

std::optional<std::int64_t> ParseHex(std::string_view digits, bool negative) {
  if (digits.empty() || digits.size() > 16) return std::nullopt;
  std::uint64_t n = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), n, 16);
  if (ec != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  const auto value = static_cast<std::int64_t>(n);
  return negative ? -value : value;
}

}  // namespace

std::optional<std::int64_t> ParseInteger(std::string_view text) {
  text = TrimBlanks(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
    return ParseHex(text.substr(2), negative);
  if (text.size() > 1 && text[0] == '$') return ParseHex(text.substr(1), negative);
  if (text.empty() || text.front() < '0' || text.front() > '9') return std::nullopt;
  std::uint64_t n = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n, 10);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  constexpr std::uint64_t kMaxPositive = static_cast<std::uint64_t>(INT64_MAX);
  if (negative) {
    if (n > kMaxPositive + 1) return std::nullopt;
    return n == kMaxPositive + 1 ? INT64_MIN : -static_cast<std::int64_t>(n);
  }
  if (n > kMaxPositive) return std::nullopt;
  return static_cast<std::int64_t>(n);
}

std::optional<double> ParseFloat(std::string_view text) {
  text = TrimBlanks(text);
  if (text.empty()) return std::nullopt;
  // from_chars takes no leading "+"; accept one, but only one sign in all.
  std::string copy(text.starts_with('+') ? text.substr(1) : text);
  if (copy.empty() || copy.front() == '+' || (text.starts_with('+') && copy.front() == '-'))
    return std::nullopt;
  for (char& c : copy) {
    if (c == ',') c = '.';
  }
  double d = 0;
  const auto [end, ec] =
      std::from_chars(copy.data(), copy.data() + copy.size(), d, std::chars_format::general);
  if (ec != std::errc() || end != copy.data() + copy.size()) return std::nullopt;
  return d;
}

std::string FloatToText(double value) {
  std::array<char, 64> buf{};
  const auto [end, ec] = std::to_chars(buf.data(), buf.data() + buf.size(), value);
  if (ec != std::errc()) return "0";
  return std::string(buf.data(), end);
}

}  // namespace quendra
