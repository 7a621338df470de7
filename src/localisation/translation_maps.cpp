#include "localisation/translation_maps.h"

#include "component/ascii_text.h"
#include "platform/ansi_codepage.h"

namespace quendra {

namespace {

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool has_control_character(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) < 32) return true;
  return false;
}

// "%XX" back to its character when the looked-up text held a control character; "&" dropped when it held
// none.
std::string finish_translation(std::string_view translation, bool decode_controls, bool keep_ampersand) {
  std::string out;
  out.reserve(translation.size());
  for (std::size_t i = 0; i < translation.size(); ++i) {
    const char c = translation[i];
    if (c == '%' && decode_controls && i + 2 < translation.size()) {
      const int high = hex_digit(translation[i + 1]);
      const int low = hex_digit(translation[i + 2]);
      if (high >= 0 && low >= 0) {
        out += static_cast<char>(high * 16 + low);
        i += 2;
        continue;
      }
    }
    if (c == '&' && !keep_ampersand) continue;
    out += c;
  }
  return out;
}

}  // namespace

void TWtranslLanguagesList::Clear() {
  exact_.clear();
  lower_.clear();
}

void TWtranslLanguagesList::Add(const std::string& source, const std::string& translation) {
  exact_.insert_or_assign(source, Entry{translation, source});
  std::string lower = platform::AnsiCodePage::System().ToLower(source);
  if (lower != source) lower_.insert_or_assign(std::move(lower), Entry{translation, source});
}

TextLookup TWtranslLanguagesList::Lookup(std::string_view text, TextEncoding encoding) const {
  TextLookup result;
  const std::string_view trimmed = TrimBlanks(text);
  if (trimmed.empty()) return result;
  result.Escaped = EscapeControlCharacters(trimmed, true);
  bool keep_ampersand = trimmed.find('&') != std::string_view::npos;
  const bool decode_controls = has_control_character(trimmed);

  const Entry* hit = nullptr;
  auto find = [&hit](const std::unordered_map<std::string, Entry>& map, const std::string& key) {
    if (hit != nullptr) return false;
    const auto it = map.find(key);
    if (it == map.end()) return false;
    hit = &it->second;
    return true;
  };
  find(exact_, std::string(trimmed));
  find(exact_, result.Escaped);
  if (find(exact_, EscapeControlCharacters(trimmed, false))) keep_ampersand = true;
  if (hit == nullptr) {
    // A source already in lower case has no lower-case entry of its own, so the exact map answers for it.
    const std::string lower = platform::AnsiCodePage::System().ToLower(trimmed);
    if (find(lower_, lower) || find(exact_, lower)) keep_ampersand = true;
  }
  if (hit == nullptr) return result;

  result.Found = true;
  result.Source = hit->Source;
  const std::string decoded =
      encoding == TextEncoding::Utf8 ? Utf8ToAnsi(hit->Translation) : hit->Translation;
  result.Translation = finish_translation(decoded, decode_controls, keep_ampersand);
  return result;
}

std::string EscapeControlCharacters(std::string_view text, bool keep_ampersand) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 32) {
      out += '%';
      out += kHex[byte >> 4];
      out += kHex[byte & 15];
    } else if (c != '&' || keep_ampersand) {
      out += c;
    }
  }
  return out;
}

std::string Utf8ToAnsi(std::string_view text) {
  std::u16string wide;
  wide.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    int length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : (lead >> 3) == 30 ? 4 : 0;
    char32_t code = length == 1   ? lead
                    : length == 2 ? lead & 0x1Fu
                    : length == 3 ? lead & 0x0Fu
                                  : lead & 0x07u;
    // A sequence cut short by the end or by a byte that does not continue it is one malformed character.
    bool complete = length > 0;
    std::size_t taken = 1;
    for (int k = 1; complete && k < length; ++k) {
      const std::size_t at = i + static_cast<std::size_t>(k);
      complete = at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80;
      if (complete) {
        code = (code << 6) | (static_cast<unsigned char>(text[at]) & 0x3Fu);
        ++taken;
      }
    }
    // Overlong forms, surrogates and values beyond Unicode are malformed byte by byte.
    static constexpr char32_t kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
    const bool valid =
        complete && code >= kMinimum[length] && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
    if (!valid) {
      wide += u'\uFFFD';
      i += complete ? 1 : taken;
      continue;
    }
    if (code >= 0x10000) {
      code -= 0x10000;
      wide += static_cast<char16_t>(0xD800 + (code >> 10));
      wide += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
    } else {
      wide += static_cast<char16_t>(code);
    }
    i += taken;
  }
  return platform::AnsiCodePage::System().FromUtf16(wide);
}

}  // namespace quendra
