// Fuzzes the stored map reader and the translation it builds: the input is a map, one line per
// "\n" (a "\r" before it dropped), and is then itself translated with that map.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "text/char_codes.h"
#include "text/translation_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> lines;
  for (std::size_t start = 0; start <= input.size();) {
    std::size_t end = input.find('\n', start);
    if (end == std::string_view::npos) end = input.size();
    std::string_view line = input.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.emplace_back(line);
    // "#XX" decoding never lengthens a text.
    if (quendra::DecodeCharCodes(line).size() > line.size()) std::abort();
    start = end + 1;
  }
  quendra::TzelTranslationTable table(true);
  table.LoadFromStrings(lines);
  std::string out = table.Translate(input);
  if (out.size() > input.size() * static_cast<std::size_t>(table.max_replace_len())) std::abort();
  if (table.IsIdentity() && out != input) std::abort();
  for (int code = 0; code < 256; ++code) {
    const quendra::TzelTransItem* entry = table.EntryFor(code);
    if (entry != nullptr && entry->mode == quendra::TTransMode::Keep) std::abort();  // keep has no entry
  }
  return 0;
}
