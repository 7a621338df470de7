#include "common/thread_containers.h"

namespace quendra {

TThreadStringList::List TThreadStringList::SplitLines(std::string_view text) {
  List lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

std::string TThreadStringList::JoinLines(const List& lines) {
  std::string text;
  std::size_t size = 0;
  for (const auto& line : lines) size += line.size() + 2;
  text.reserve(size);
  for (const auto& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

void TThreadStringList::SetText(std::string_view text) {
  List lines = SplitLines(text);
  WriteGuard guard(lock_);
  lines_ = std::move(lines);
}

std::string TThreadStringList::Text() {
  WriteGuard guard(lock_);
  return JoinLines(lines_);
}

}  // namespace quendra
