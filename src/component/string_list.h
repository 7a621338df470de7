// An ordered list of 8-bit text lines, the object behind every multi-line setting and every list-valued
// property (map lines, translation maps, combo items).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "component/persistent.h"

namespace quendra {

class TStringList : public TPersistent {
 public:
  TStringList() = default;
  explicit TStringList(std::vector<std::string> lines) : lines_(std::move(lines)) {}
  // A list is a value: copies carry the lines.
  TStringList(const TStringList& other) : TPersistent(), lines_(other.lines_) {}
  TStringList(TStringList&& other) noexcept : TPersistent(), lines_(std::move(other.lines_)) {}
  TStringList& operator=(const TStringList& other) {
    lines_ = other.lines_;
    return *this;
  }
  TStringList& operator=(TStringList&& other) noexcept {
    lines_ = std::move(other.lines_);
    return *this;
  }

  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  std::size_t Count() const { return lines_.size(); }
  const std::string& operator[](std::size_t i) const { return lines_.at(i); }
  std::string& operator[](std::size_t i) { return lines_.at(i); }
  const std::vector<std::string>& Lines() const { return lines_; }

  void Add(std::string line) { lines_.push_back(std::move(line)); }
  void Insert(std::size_t index, std::string line);
  void Delete(std::size_t index);
  void Clear() { lines_.clear(); }
  void SetLines(std::vector<std::string> lines) { lines_ = std::move(lines); }
  void Assign(const TStringList& other) { lines_ = other.lines_; }

  // Every line followed by carriage return and line feed.
  std::string Text() const;
  // Replaces the lines: the text splits at carriage return, line feed or the pair; a break at the very end
  // opens no further line.
  void SetText(std::string_view text);

  bool operator==(const TStringList& other) const { return lines_ == other.lines_; }

 private:
  std::vector<std::string> lines_;
};

}  // namespace quendra
