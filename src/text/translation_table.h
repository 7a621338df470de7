// Per-character translation of 8-bit text: drop control or high characters, change the case of the
// whole text, and keep, remove or replace each of the 256 character codes.
//
// Translate() only reads the table, so any number of threads may translate with one table at once;
// LoadFromStrings() and the setters must not overlap a translation (the owner builds a new table and
// then puts it in place).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace quendra {

enum class TTransMode : std::uint8_t { Keep = 0, ReplaceChar = 1, Remove = 2, ReplaceString = 3 };
enum class TCaseConversion : std::uint8_t { None = 0, Upper = 1, Lower = 2 };

// One entry. ReplaceChar: `text` holds the replacement character (empty: the character is dropped);
// ReplaceString: the replacement string, possibly empty.
struct TzelTransItem {
  TTransMode mode = TTransMode::Keep;
  std::string text;
};

class TzelTranslationTable {
 public:
  // `owns_entries` is kept for callers that ask; entries are values here and always owned.
  explicit TzelTranslationTable(bool owns_entries = true);

  // Rebuilds the table from the stored lines of a map:
  //   line 1 "Y": drop codes 0..31;  line 2 "Y": drop codes 128..255;
  //   line 3 a number: 1 upper case, 2 lower case, anything else none;
  //   line 4 + i: the entry of code i modulo 256: "R" remove; "C" + number: replace by the character
  //   with the number's low 8 bits (a bad number: by the character itself); "S" + text: replace by the
  //   text in "#XX" notation; anything else keep.
  // Never fails on the content of the lines.
  void LoadFromStrings(std::span<const std::string> lines);
  // Empties the entries and resets the flags, as after construction.
  void Clear();

  // The translated copy of `text`: one pass over the bytes through a 256-entry lookup.
  std::string Translate(std::string_view text) const;
  // The same into `out` (replaced), so a caller can reuse its buffer; `text` must not view `out`.
  void TranslateInto(std::string_view text, std::string& out) const;
  // True when Translate returns every text unchanged; callers may then skip it.
  bool IsIdentity() const { return identity_; }

  // The entry of `code`, or nullptr when it has none (kept characters have none).
  const TzelTransItem* EntryFor(int code) const;
  // Keep removes the entry; any other mode sets it.
  void SetEntry(std::uint8_t code, TTransMode mode, std::string text);

  bool owns_entries() const { return owns_entries_; }
  bool remove_below_32() const { return remove_below_32_; }
  bool remove_above_127() const { return remove_above_127_; }
  TCaseConversion case_conversion() const { return case_conversion_; }
  // The longest replacement string of any entry, at least 1.
  std::int32_t max_replace_len() const { return max_replace_len_; }
  void set_remove_below_32(bool on);
  void set_remove_above_127(bool on);
  void set_case_conversion(TCaseConversion conversion);

 private:
  // What one input byte becomes, case conversion, range removal and entry already applied.
  struct Action {
    std::uint32_t offset = 0;  // into replacements_
    std::uint32_t length = 0;  // bytes written: 0 drops the byte
    char single = 0;           // the byte written when length is 1
  };
  void Compile();

  bool owns_entries_;
  bool remove_below_32_ = false;
  bool remove_above_127_ = false;
  TCaseConversion case_conversion_ = TCaseConversion::None;
  std::int32_t max_replace_len_ = 1;
  std::array<std::optional<TzelTransItem>, 256> entries_;

  std::array<Action, 256> actions_{};
  std::string replacements_;  // all replacement strings, back to back
  bool identity_ = true;
  bool single_bytes_only_ = true;  // no action writes more than one byte
  // When single_bytes_only_: the byte written in the low half, how many (0 or 1) in the high half.
  std::array<std::uint16_t, 256> single_actions_{};
};

}  // namespace quendra
