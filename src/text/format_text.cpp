#include "text/format_text.h"

namespace quendra {

std::string FormatText(std::string_view format, std::initializer_list<std::string_view> args) {
  std::string result;
  result.reserve(format.size() + 64);
  auto next = args.begin();
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%' && i + 1 < format.size()) {
      if (format[i + 1] == 's') {
        if (next != args.end()) result += *next++;
        ++i;
        continue;
      }
      if (format[i + 1] == '%') {
        result.push_back('%');
        ++i;
        continue;
      }
    }
    result.push_back(format[i]);
  }
  return result;
}

}  // namespace quendra
