#include "text/char_codes.h"

#include "text/number_text.h"

namespace quendra {

std::string DecodeCharCodes(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] == '#' && i + 1 < text.size() && text[i + 1] == '#') {
      result.push_back('#');
      i += 2;
      continue;
    }
    if (text[i] == '#' && i + 2 < text.size()) {
      int high = HexDigitValue(text[i + 1]);
      int low = HexDigitValue(text[i + 2]);
      if (high >= 0 && low >= 0) {
        result.push_back(static_cast<char>(high * 16 + low));
        i += 3;
        continue;
      }
    }
    result.push_back(text[i]);
    ++i;
  }
  return result;
}

}  // namespace quendra
