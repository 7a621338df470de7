#include "settings/ini_file.h"

#include <cstring>

#include "component/ascii_text.h"
#include "platform/file_io.h"

namespace quendra {

namespace {

// The key of a "key=value" line, trimmed; nullopt for a line without "=".
std::optional<std::string_view> LineKey(std::string_view line) {
  const std::size_t eq = line.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  return TrimBlanks(line.substr(0, eq));
}

std::string_view LineValue(std::string_view line) {
  return TrimBlanks(line.substr(line.find('=') + 1));
}

bool HasLineBreak(std::string_view s) {
  return s.find_first_of("\r\n") != std::string_view::npos;
}

bool IsTrimmed(std::string_view s) {
  return TrimBlanks(s).size() == s.size();
}

}  // namespace

IniFile::IniFile(std::string text) : source_(std::make_unique<std::string>(std::move(text))) {
  std::string_view rest = *source_;
  Section* current = nullptr;
  while (!rest.empty()) {
    const std::size_t eol = rest.find('\n');
    std::string_view line = rest.substr(0, eol);
    rest = eol == std::string_view::npos ? std::string_view() : rest.substr(eol + 1);
    line = TrimBlanks(line);
    if (line.empty()) continue;
    if (line.front() == '[') {
      std::string_view name = line.substr(1);
      name = TrimBlanks(name.substr(0, name.find(']')));
      sections_.push_back(Section{name, {}});
      current = &sections_.back();
    } else if (current != nullptr) {
      current->lines.push_back(line);
    }
  }
}

IniFile IniFile::Load(const std::string& path) {
  std::optional<std::string> text = platform::read_whole_file(path);
  return text ? IniFile(std::move(*text)) : IniFile();
}

template <class Visit>
bool IniFile::ForEachKeyLine(std::string_view section, std::string_view key, Visit visit) const {
  for (const Section& s : sections_) {
    if (!SameTextAscii(s.name, section)) continue;
    for (std::size_t i = 0; i < s.lines.size(); ++i) {
      const auto line_key = LineKey(s.lines[i]);
      if (line_key && SameTextAscii(*line_key, key)) {
        if (visit(s, i)) return true;
      }
    }
  }
  return false;
}

std::optional<std::string> IniFile::ReadString(std::string_view section, std::string_view key) const {
  std::optional<std::string> out;
  ForEachKeyLine(section, key, [&](const Section& s, std::size_t i) {
    out = std::string(LineValue(s.lines[i]));
    return true;
  });
  return out;
}

bool IniFile::ValueExists(std::string_view section, std::string_view key) const {
  return ForEachKeyLine(section, key, [](const Section&, std::size_t) { return true; });
}

bool IniFile::SectionExists(std::string_view section) const {
  for (const Section& s : sections_) {
    if (SameTextAscii(s.name, section)) return true;
  }
  return false;
}

std::vector<std::string> IniFile::SectionNames() const {
  std::vector<std::string> out;
  out.reserve(sections_.size());
  for (const Section& s : sections_) out.emplace_back(s.name);
  return out;
}

std::vector<std::string> IniFile::SectionLines(std::string_view section) const {
  std::vector<std::string> out;
  for (const Section& s : sections_) {
    if (!SameTextAscii(s.name, section)) continue;
    for (std::string_view line : s.lines) out.emplace_back(line);
  }
  return out;
}

std::string_view IniFile::Keep(std::string text) {
  added_.push_back(std::move(text));
  return added_.back();
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  // A line break would split the line and let a value forge keys or sections of its own.
  if (section.empty() || !IsTrimmed(section) || HasLineBreak(section) ||
      section.find(']') != std::string_view::npos) {
    throw EIniFileError("Invalid INI section name: " + std::string(section));
  }
  if (key.empty() || !IsTrimmed(key) || HasLineBreak(key) || key.find('=') != std::string_view::npos ||
      key.front() == '[') {
    throw EIniFileError("Invalid INI key name: " + std::string(key));
  }
  if (HasLineBreak(value)) throw EIniFileError("INI value holds a line break: " + std::string(key));

  std::string line;
  line.reserve(key.size() + 1 + value.size());
  line.append(key).append("=").append(value);

  Section* first = nullptr;
  for (Section& s : sections_) {
    if (!SameTextAscii(s.name, section)) continue;
    if (first == nullptr) first = &s;
    for (std::string_view& existing : s.lines) {
      const auto line_key = LineKey(existing);
      if (line_key && SameTextAscii(*line_key, key)) {
        if (existing != line) {
          existing = Keep(std::move(line));
          modified_ = true;
        }
        return;
      }
    }
  }
  if (first == nullptr) {
    sections_.push_back(Section{Keep(std::string(section)), {}});
    first = &sections_.back();
  }
  first->lines.push_back(Keep(std::move(line)));
  modified_ = true;
}

bool IniFile::DeleteKey(std::string_view section, std::string_view key) {
  bool removed = false;
  for (Section& s : sections_) {
    if (!SameTextAscii(s.name, section)) continue;
    removed |= std::erase_if(s.lines, [&](std::string_view line) {
                 const auto line_key = LineKey(line);
                 return line_key && SameTextAscii(*line_key, key);
               }) > 0;
  }
  modified_ |= removed;
  return removed;
}

std::string IniFile::ToText() const {
  std::size_t size = 0;
  for (const Section& s : sections_) {
    size += s.name.size() + 6;
    for (std::string_view line : s.lines) size += line.size() + 2;
  }
  std::string out;
  out.reserve(size);
  for (const Section& s : sections_) {
    if (s.lines.empty()) continue;
    out.append("[").append(s.name).append("]\r\n");
    for (std::string_view line : s.lines) out.append(line).append("\r\n");
    out.append("\r\n");
  }
  return out;
}

void IniFile::SaveIfModified(const std::string& path) {
  if (!modified_) return;
  platform::write_file_atomically(path, ToText());
  modified_ = false;
}

}  // namespace quendra
