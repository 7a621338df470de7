// An INI file held whole in memory: read at once, changed in memory, written back whole.
//
// Reading: lines end at line feed (a carriage return before it is dropped); every line is trimmed of
// blanks (characters up to the space); empty lines and lines before the first section header are dropped.
// A header is a line starting with "[", its name running to the first "]" (or the line's end), trimmed.
// Other lines are kept in order, "key=value" or not; a line's key is the text before its first "=",
// trimmed, its value the text after it, trimmed. Section and key names compare without regard to ASCII
// letter case. A section that appears twice is searched in file order, so the first occurrence of a key
// counts; writing changes that occurrence.
//
// Writing back: for each section that has lines, "[name]", its lines and one empty line, every line ended
// by carriage return and line feed.
//
// The text of the file is kept once; lines point into it, so a file costs about its own size plus a few
// machine words per line. Not thread-safe: one IniFile is used by one thread.
#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quendra {

class EIniFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class IniFile {
 public:
  IniFile() = default;
  // Parses the text of a file.
  explicit IniFile(std::string text);
  IniFile(const IniFile&) = delete;
  IniFile& operator=(const IniFile&) = delete;
  IniFile(IniFile&&) noexcept = default;
  IniFile& operator=(IniFile&&) noexcept = default;

  // Reads a file whole; a missing file gives an empty one. Throws platform::FileError when the file exists
  // but cannot be read.
  static IniFile Load(const std::string& path);

  // The value of the first line of `key` in `section`, trimmed; nullopt when there is none.
  std::optional<std::string> ReadString(std::string_view section, std::string_view key) const;
  bool ValueExists(std::string_view section, std::string_view key) const;
  bool SectionExists(std::string_view section) const;
  // Section names in file order (a repeated header gives one entry per occurrence).
  std::vector<std::string> SectionNames() const;
  // The lines of a section (of all its occurrences), as stored.
  std::vector<std::string> SectionLines(std::string_view section) const;

  // Replaces the first line of `key` in `section`, or appends "key=value" to the section's first
  // occurrence, or appends the section. Throws EIniFileError for names or values the file format cannot
  // hold: line breaks anywhere, "=" or outer blanks in a key, "]" or outer blanks in a section name, an
  // empty key or section name.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  // Removes every line of `key` in `section`; true when there was one.
  bool DeleteKey(std::string_view section, std::string_view key);

  bool Modified() const { return modified_; }
  std::string ToText() const;
  // Writes the file back (crash-safe) when anything changed; throws platform::FileError on failure.
  void SaveIfModified(const std::string& path);

 private:
  struct Section {
    std::string_view name;
    std::vector<std::string_view> lines;
  };

  std::string_view Keep(std::string text);
  template <class Visit>
  bool ForEachKeyLine(std::string_view section, std::string_view key, Visit visit) const;

  // Lines point into these strings, so they must never move: the file's text sits behind a pointer (a
  // short string would otherwise move with the object) and a deque never relocates its elements.
  std::unique_ptr<std::string> source_;
  std::deque<std::string> added_;  // lines and names made after loading
  std::vector<Section> sections_;
  bool modified_ = false;
};

}  // namespace quendra
