// The loaded translations of one language pair and the lookup of one text in them.
//
// Two maps: one keyed by the source text exactly as the language file writes it, one keyed by the source in
// lower case (only for sources that lower-casing changes). Keys and translations are 8-bit texts; keys are
// in the system's ANSI code page with control characters escaped as "%0D", translations in the file's
// encoding until a lookup decodes them. Not thread-safe: the translator guards it with its lock.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>

#include "localisation/language_file.h"

namespace quendra {

struct TextLookup {
  bool Found = false;
  // The translation, decoded and ready to replace the whole text; empty when nothing was found.
  std::string Translation;
  // The looked-up text trimmed, control characters escaped and "&" kept: the form collected for translators.
  std::string Escaped;
  // The file's source text that gave the hit.
  std::string Source;
};

class TWtranslLanguagesList {
 public:
  void Clear();
  // A later block with the same source replaces the earlier one.
  void Add(const std::string& source, const std::string& translation);
  std::size_t Count() const { return exact_.size(); }

  // Looks `text` up: trimmed of characters up to the space, then as it is, with control characters escaped,
  // escaped without "&", and in lower case. A hit replaces the whole text: control characters come back
  // only when the text held one, and "&" stays only when the text held one or was found without it.
  TextLookup Lookup(std::string_view text, TextEncoding encoding) const;

 private:
  struct Entry {
    std::string Translation;
    std::string Source;
  };
  std::unordered_map<std::string, Entry> exact_;
  std::unordered_map<std::string, Entry> lower_;
};

// Every character below code 32 written as "%" and two upper-case hexadecimal digits; "&" left out unless
// `keep_ampersand`.
std::string EscapeControlCharacters(std::string_view text, bool keep_ampersand);

// UTF-8 to the system's ANSI code page; malformed sequences become U+FFFD first, so '?' in most code pages.
std::string Utf8ToAnsi(std::string_view text);

}  // namespace quendra
