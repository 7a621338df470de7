#include "text/translation_table.h"

#include <limits>

#include "platform/ansi_codepage.h"
#include "text/char_codes.h"
#include "text/number_text.h"

namespace quendra {
namespace {

// Entry lines and their numbers are read from at most this many characters after the mode letter.
constexpr std::size_t kMaxEntryText = 255;

}  // namespace

TzelTranslationTable::TzelTranslationTable(bool owns_entries) : owns_entries_(owns_entries) {
  Compile();
}

void TzelTranslationTable::Clear() {
  for (auto& entry : entries_) entry.reset();
  remove_below_32_ = remove_above_127_ = false;
  case_conversion_ = TCaseConversion::None;
  max_replace_len_ = 1;
  Compile();
}

void TzelTranslationTable::LoadFromStrings(std::span<const std::string> lines) {
  for (auto& entry : entries_) entry.reset();
  remove_below_32_ = lines.size() > 0 && lines[0] == "Y";
  remove_above_127_ = lines.size() > 1 && lines[1] == "Y";
  max_replace_len_ = 1;
  case_conversion_ = TCaseConversion::None;
  if (lines.size() > 2 && !lines[2].empty()) {
    std::int32_t value = ParseInt32Text(lines[2]).value_or(0);
    if (value == 1) case_conversion_ = TCaseConversion::Upper;
    if (value == 2) case_conversion_ = TCaseConversion::Lower;
  }
  for (std::size_t i = 3; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    auto code = static_cast<std::uint8_t>((i - 3) % 256);
    std::string_view rest = std::string_view(line).substr(line.empty() ? 0 : 1, kMaxEntryText);
    if (line == "R") {
      entries_[code] = TzelTransItem{TTransMode::Remove, {}};
    } else if (line.size() >= 2 && line[0] == 'C') {
      // A number that does not read keeps the character itself, as an explicit replacement.
      std::int32_t value = ParseInt32Text(rest).value_or(code);
      entries_[code] =
          TzelTransItem{TTransMode::ReplaceChar, std::string(1, static_cast<char>(value & 0xFF))};
    } else if (!line.empty() && line[0] == 'S') {
      entries_[code] = TzelTransItem{TTransMode::ReplaceString, DecodeCharCodes(rest)};
    } else {
      entries_[code].reset();
    }
  }
  Compile();
}

const TzelTransItem* TzelTranslationTable::EntryFor(int code) const {
  if (code < 0 || code > 255 || !entries_[static_cast<std::size_t>(code)]) return nullptr;
  return &*entries_[static_cast<std::size_t>(code)];
}

void TzelTranslationTable::SetEntry(std::uint8_t code, TTransMode mode, std::string text) {
  if (mode == TTransMode::Keep) {
    entries_[code].reset();
  } else {
    entries_[code] = TzelTransItem{mode, std::move(text)};
  }
  Compile();
}

void TzelTranslationTable::set_remove_below_32(bool on) {
  remove_below_32_ = on;
  Compile();
}

void TzelTranslationTable::set_remove_above_127(bool on) {
  remove_above_127_ = on;
  Compile();
}

void TzelTranslationTable::set_case_conversion(TCaseConversion conversion) {
  case_conversion_ = conversion;
  Compile();
}

// Folds the whole rule chain into one action per input byte: case conversion first, then range
// removal of the converted byte, then the converted byte's entry.
void TzelTranslationTable::Compile() {
  const platform::AnsiCodePage& cp = platform::AnsiCodePage::System();
  replacements_.clear();
  identity_ = true;
  single_bytes_only_ = true;
  for (unsigned b = 0; b < 256; ++b) {
    unsigned char c = static_cast<unsigned char>(b);
    if (case_conversion_ == TCaseConversion::Upper) c = cp.Upper(c);
    if (case_conversion_ == TCaseConversion::Lower) c = cp.Lower(c);
    Action action{0, 1, static_cast<char>(c)};
    if ((c < 32 && remove_below_32_) || (c > 127 && remove_above_127_)) {
      action.length = 0;
    } else if (const auto& entry = entries_[c]) {
      switch (entry->mode) {
        case TTransMode::Keep:
          break;
        case TTransMode::ReplaceChar:
          if (entry->text.empty()) {
            action.length = 0;
          } else {
            action.single = entry->text[0];
          }
          break;
        case TTransMode::ReplaceString:
          action.offset = static_cast<std::uint32_t>(replacements_.size());
          action.length = static_cast<std::uint32_t>(entry->text.size());
          if (action.length == 1) action.single = entry->text[0];
          replacements_ += entry->text;
          break;
        default:  // Remove, and any mode a caller made up
          action.length = 0;
          break;
      }
    }
    actions_[b] = action;
    if (action.length > 1) single_bytes_only_ = false;
    single_actions_[b] = static_cast<std::uint16_t>(static_cast<unsigned char>(action.single) |
                                                    (action.length == 1 ? 0x100u : 0u));
    if (action.length != 1 || action.single != static_cast<char>(b)) identity_ = false;
  }
  // The longest replacement sizes the output; SetEntry may have added a longer one than the last load.
  for (const auto& entry : entries_) {
    if (entry && entry->mode == TTransMode::ReplaceString &&
        entry->text.size() > static_cast<std::size_t>(max_replace_len_)) {
      max_replace_len_ = static_cast<std::int32_t>(
          std::min<std::size_t>(entry->text.size(), std::numeric_limits<std::int32_t>::max()));
    }
  }
}

std::string TzelTranslationTable::Translate(std::string_view text) const {
  std::string out;
  TranslateInto(text, out);
  return out;
}

void TzelTranslationTable::TranslateInto(std::string_view text, std::string& out) const {
  if (identity_) {
    out.assign(text);
    return;
  }
  if (single_bytes_only_) {
    // Every byte becomes at most one: write unconditionally and advance by the action's length.
    out.resize(text.size());
    char* write = out.data();
    const std::uint16_t* table = single_actions_.data();
    for (char ch : text) {
      std::uint16_t action = table[static_cast<unsigned char>(ch)];
      *write = static_cast<char>(action & 0xFF);
      write += action >> 8;
    }
    out.resize(static_cast<std::size_t>(write - out.data()));
    return;
  }
  out.clear();
  std::size_t per_char = max_replace_len_ > 0 ? static_cast<std::size_t>(max_replace_len_) : 1;
  // Detect and prevent integer overflow of the reservation; the string grows on its own if needed.
  std::size_t reserve = text.size() <= out.max_size() / per_char ? text.size() * per_char : text.size();
  out.reserve(reserve);
  for (char ch : text) {
    const Action& action = actions_[static_cast<unsigned char>(ch)];
    if (action.length == 1) {
      out.push_back(action.single);
    } else if (action.length > 1) {
      out.append(replacements_, action.offset, action.length);
    }
  }
}

}  // namespace quendra
