#include "localisation/language_file.h"

#include <charconv>

#include "component/ascii_text.h"
#include "settings/ini_file.h"

namespace quendra {

namespace {

// Directives are looked for in this many leading characters of a line.
constexpr std::size_t kDirectiveWidth = 50;

std::string_view trim_spaces(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

// The trimmed value after the first "=", in ASCII lower case.
std::string directive_value(std::string_view head) {
  const std::size_t eq = head.find('=');
  return LowerAscii(TrimBlanks(head.substr(eq + 1)));
}

std::uint32_t parse_locale(std::string_view value) {
  int base = 10;
  if (value.starts_with("0x")) {
    value.remove_prefix(2);
    base = 16;
  }
  std::uint32_t number = 0;
  const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number, base);
  if (value.empty() || error != std::errc() || end != value.data() + value.size()) return 0;
  return number;
}

ReadingDirection direction_from_name(std::string_view name) {
  if (name == "righttoleft") return ReadingDirection::RightToLeft;
  if (name == "righttoleftnoalign") return ReadingDirection::RightToLeftNoAlign;
  if (name == "righttoleftreadingonly") return ReadingDirection::RightToLeftReadingOnly;
  return ReadingDirection::None;
}

// Applies a directive found on one of the first lines; true when the line is a directive line that belongs
// to no block ("//" lines are comments anyway and need no answer here).
bool apply_directive(std::string_view line, ParsedLanguageFile& file) {
  const std::string_view head = TrimBlanks(line.substr(0, kDirectiveWidth));
  if (head == "//filenew") file.File = FileMode::New;
  if (head == "//filerewrite") file.File = FileMode::Rewrite;
  if (head == "//fileappend") file.File = FileMode::Append;
  if (head == "//saveuntr") file.Save = SaveMode::Untranslated;
  if (head == "//saveall") file.Save = SaveMode::All;
  if (head == "//saveunused") file.Save = SaveMode::Unused;
  if (head == "//saveuntrobj") file.Save = SaveMode::UntranslatedWithPath;

  if (head.find("Encoding=") != std::string_view::npos) {
    file.Encoding = directive_value(head) == "utf-8" ? TextEncoding::Utf8 : TextEncoding::None;
    return true;
  }
  if (head.find("BiDiMode=") != std::string_view::npos) {
    file.Direction = direction_from_name(directive_value(head));
    return true;
  }
  if (head.find("Locale=") != std::string_view::npos) {
    if (const std::uint32_t locale = parse_locale(directive_value(head)); locale > 0) file.Locale = locale;
    return true;
  }
  if (head.find("Charset=") != std::string_view::npos) {
    file.Charset = CharsetFromName(directive_value(head));
    return true;
  }
  return false;
}

}  // namespace

int CharsetFromName(std::string_view name) {
  struct Entry {
    std::string_view name;
    int charset;
  };
  static constexpr Entry kCharsets[] = {
      {"windows-1250", 238}, {"windows-1251", 204}, {"windows-1252", 0},   {"windows-1253", 161},
      {"windows-1254", 162}, {"windows-1255", 177}, {"windows-1256", 178}, {"windows-1257", 186},
      {"windows-1258", 163}, {"windows-874", 222},  {"shift-jis", 128},    {"hangeul", 129},
      {"johab", 130},        {"gb2312", 134},       {"chinesebig5", 136},
  };
  for (const Entry& entry : kCharsets)
    if (entry.name == name) return entry.charset;
  return kDefaultCharset;
}

ParsedLanguageFile ParseLanguageFile(std::string_view text, std::string_view base, std::string_view target) {
  ParsedLanguageFile file;
  const std::string base_prefix = std::string(base) + ":>";
  const std::string target_prefix = std::string(target) + ":>";
  std::string_view source, translation;
  int line_number = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t end = text.find('\n', pos);
    std::string_view line =
        text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
    pos = end == std::string_view::npos ? text.size() : end + 1;
    if (end != std::string_view::npos && line.ends_with('\r')) line.remove_suffix(1);
    line = trim_spaces(line);
    ++line_number;

    if (line_number <= kDirectiveLines && apply_directive(line, file)) continue;
    if (line.starts_with("//")) continue;
    if (line.empty()) {
      if (!source.empty() && !translation.empty())
        file.Blocks.push_back(LanguageFileBlock{std::string(source), std::string(translation)});
      source = translation = {};
      continue;
    }
    if (line.starts_with(base_prefix)) source = line.substr(base_prefix.size());
    if (line.starts_with(target_prefix)) translation = line.substr(target_prefix.size());
  }
  // A last block without its closing empty line is not taken.
  return file;
}

std::string ReadDefaultLanguage(const std::string& path) {
  try {
    return IniFile::Load(path).ReadString("Languages", "Default").value_or(std::string());
  } catch (...) {
    return std::string();
  }
}

}  // namespace quendra
