// Language files: the text file beside the library that holds the translations of the interface texts.
//
// A file is read line by line. Lines end at a line feed (a carriage return before it is dropped; a lone
// carriage return stays in the line) and are stripped of spaces at both ends. The first 19 lines may hold
// directives ("//saveuntr", "Encoding=utf-8", "Locale=0x407", ...). Translations come in blocks of
// consecutive non-empty lines closed by an empty line: in a block, "EN:>text" gives the source text for the
// base language "EN" and "DE:>text" its translation for the target language "DE". Lines starting with "//"
// are comments. Control characters inside texts are written "%" and two upper-case hexadecimal digits.
//
// Parsing is a pure function of the text: any bytes give a result, in time linear in the size.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quendra {

enum class TextEncoding { None, Utf8 };

enum class ReadingDirection { None, RightToLeft, RightToLeftNoAlign, RightToLeftReadingOnly };

// What the translator does besides translating: collect texts for the translators of the file.
enum class SaveMode {
  None = 0,
  Untranslated = 1,          // "//saveuntr": texts that found no translation
  All = 2,                   // "//saveall": translate even without translations; collect nothing
  Unused = 3,                // "//saveunused": source texts of the file that no lookup used
  UntranslatedWithPath = 4,  // "//saveuntrobj": untranslated texts with component path and property
};

// How the file of collected texts is written.
enum class FileMode { New, Rewrite, Append };

// The platform's default font character set, and the symbol set whose fonts keep their character set.
constexpr int kDefaultCharset = 1;
constexpr int kSymbolCharset = 2;

// Directives recognised only on lines 1 to this one.
constexpr int kDirectiveLines = 19;

struct LanguageFileBlock {
  std::string Source;       // as written after "EN:>", control characters still escaped
  std::string Translation;  // as written after "DE:>", in the file's encoding
};

struct ParsedLanguageFile {
  TextEncoding Encoding = TextEncoding::None;
  ReadingDirection Direction = ReadingDirection::None;
  int Charset = kDefaultCharset;
  // A locale number (LCID) above 0 from "Locale="; 0 when the file names none.
  std::uint32_t Locale = 0;
  // Set only when the file holds the directive; a file without one keeps the translator's mode.
  std::optional<SaveMode> Save;
  std::optional<FileMode> File;
  // The blocks with both a non-empty source and a non-empty translation, in file order.
  std::vector<LanguageFileBlock> Blocks;
};

// Reads the directives and the blocks of one language pair: `base` and `target` are language codes such as
// "EN" and "DE", matched case-sensitively at the start of a line followed by ":>".
ParsedLanguageFile ParseLanguageFile(std::string_view text, std::string_view base, std::string_view target);

// The value of "Default" in the section "[Languages]"; empty when the file, the section or the key is
// missing or the file cannot be read.
std::string ReadDefaultLanguage(const std::string& path);

// The font character set named by a "Charset=" value ("windows-1251" is 204); kDefaultCharset for any
// other value.
int CharsetFromName(std::string_view lower_case_name);

}  // namespace quendra
