// ASCII-only text helpers for names: property, component, section and key names compare without regard to
// ASCII letter case, whatever the ANSI code page.
#pragma once

#include <string>
#include <string_view>

namespace quendra {

constexpr char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

inline bool SameTextAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

inline std::string LowerAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = AsciiLower(c);
  return out;
}

// Blanks are every character up to and including the space, as the stored formats trim them.
constexpr bool IsBlank(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

inline std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

}  // namespace quendra
