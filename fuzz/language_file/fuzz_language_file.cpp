// Fuzzes the language file reader and the lookup: parse any bytes for two language pairs, load the blocks
// into the maps, and look up every source and a few texts made from the input. Every clean source must be
// found again; nothing may crash or take more than linear time.
//
//   fuzz_language_file -dict=fuzz/language_file/language_file.dict fuzz/language_file/corpus
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "localisation/language_file.h"
#include "localisation/translation_maps.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

bool is_clean(std::string_view text) {
  if (text.empty()) return false;
  if (static_cast<unsigned char>(text.front()) <= 32 || static_cast<unsigned char>(text.back()) <= 32) return false;
  for (char c : text)
    if (static_cast<unsigned char>(c) < 32) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (const auto& [base, target] : {std::pair{"EN", "DE"}, std::pair{"", "FR"}}) {
    const quendra::ParsedLanguageFile file = quendra::ParseLanguageFile(text, base, target);
    Check(file.Blocks.size() <= size / 4 + 1);
    quendra::TWtranslLanguagesList maps;
    for (const quendra::LanguageFileBlock& block : file.Blocks) {
      Check(!block.Source.empty() && !block.Translation.empty());
      maps.Add(block.Source, block.Translation);
    }
    for (const quendra::TextEncoding encoding : {quendra::TextEncoding::None, quendra::TextEncoding::Utf8}) {
      for (const quendra::LanguageFileBlock& block : file.Blocks) {
        const quendra::TextLookup found = maps.Lookup(block.Source, encoding);
        if (is_clean(block.Source)) Check(found.Found);
      }
      maps.Lookup(text.substr(0, 256), encoding);
      maps.Lookup(text.substr(size / 2), encoding);
    }
  }
  quendra::Utf8ToAnsi(text);
  quendra::ReadDefaultLanguage("/nonexistent/quendra.lng");
  return 0;
}
