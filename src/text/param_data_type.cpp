#include "text/param_data_type.h"

namespace quendra {
namespace {

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i] >= 'A' && a[i] <= 'Z' ? static_cast<char>(a[i] - 'A' + 'a') : a[i];
    char y = b[i] >= 'A' && b[i] <= 'Z' ? static_cast<char>(b[i] - 'A' + 'a') : b[i];
    if (x != y) return false;
  }
  return true;
}

}  // namespace

TParamDataType DataTypeByName(std::string_view name) {
  std::string_view list = kParamDataTypeNames;
  TParamDataType code = 0;
  while (!list.empty()) {
    std::size_t bar = list.find('|');
    std::string_view entry = list.substr(0, bar);
    if (!name.empty() && EqualIgnoringAsciiCase(entry, name)) return code;
    if (bar == std::string_view::npos) break;
    list.remove_prefix(bar + 1);
    ++code;
  }
  return kDataNone;
}

std::string_view DataTypeName(TParamDataType code) {
  std::string_view list = kParamDataTypeNames;
  for (TParamDataType i = 0; i < code && !list.empty(); ++i) {
    std::size_t bar = list.find('|');
    list = bar == std::string_view::npos ? std::string_view() : list.substr(bar + 1);
  }
  return list.substr(0, list.find('|'));
}

}  // namespace quendra
