#include "component/string_list.h"

#include <stdexcept>

#include "component/property_binding.h"

namespace quendra {

const TClassInfo& TStringList::StaticClass() {
  static const TClassInfo info{
      "TStringList",
      &TPersistent::StaticClass(),
      {
          binding::Accessor<TStringList>(
              "Text", [](const TStringList& s) { return s.Text(); },
              [](TStringList& s, const std::string& text) { s.SetText(text); }),
          binding::Accessor<TStringList>(
              "Count", [](const TStringList& s) { return static_cast<std::int64_t>(s.Count()); }, nullptr),
      }};
  return info;
}

void TStringList::Insert(std::size_t index, std::string line) {
  if (index > lines_.size()) throw std::out_of_range("List index out of bounds");
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(index), std::move(line));
}

void TStringList::Delete(std::size_t index) {
  if (index >= lines_.size()) throw std::out_of_range("List index out of bounds");
  lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(index));
}

std::string TStringList::Text() const {
  std::size_t size = 0;
  for (const std::string& l : lines_) size += l.size() + 2;
  std::string out;
  out.reserve(size);
  for (const std::string& l : lines_) {
    out += l;
    out += "\r\n";
  }
  return out;
}

void TStringList::SetText(std::string_view text) {
  lines_.clear();
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t brk = text.find_first_of("\r\n", start);
    if (brk == std::string_view::npos) {
      lines_.emplace_back(text.substr(start));
      break;
    }
    lines_.emplace_back(text.substr(start, brk - start));
    start = brk + 1;
    if (text[brk] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
}

}  // namespace quendra
