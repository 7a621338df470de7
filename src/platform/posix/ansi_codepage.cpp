// POSIX: the code page comes from QUENDRA_ANSI_CODEPAGE (default 1252); its tables are built once
// through ICU converters.
#include "platform/ansi_codepage.h"

#include <unicode/uchar.h>
#include <unicode/ucnv.h>

#include <charconv>
#include <cstdlib>
#include <memory>
#include <stdexcept>

namespace quendra::platform {
namespace {

struct ConverterCloser {
  void operator()(UConverter* c) const { ucnv_close(c); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

// ICU knows the Windows code pages as "windows-NNNN" (874, 1250..1258) or by their IBM numbers.
Converter OpenConverter(unsigned number) {
  for (const char* prefix : {"windows-", "ibm-", "cp"}) {
    std::string name = prefix + std::to_string(number);
    UErrorCode status = U_ZERO_ERROR;
    Converter converter(ucnv_open(name.c_str(), &status));
    if (U_SUCCESS(status) && converter) return converter;
  }
  throw std::runtime_error("Unknown ANSI code page " + std::to_string(number));
}

unsigned CodePageFromEnvironment() {
  const char* value = std::getenv("QUENDRA_ANSI_CODEPAGE");
  if (value == nullptr) return 1252;
  std::string_view text(value);
  unsigned number = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (ec != std::errc() || end != text.data() + text.size() || number == 0) return 1252;
  return number;
}

}  // namespace

AnsiCodePage::AnsiCodePage(unsigned number) : number_(number) {
  Converter converter = OpenConverter(number);
  single_byte_ = ucnv_getMaxCharSize(converter.get()) == 1;
  UErrorCode callback_status = U_ZERO_ERROR;
  ucnv_setFromUCallBack(converter.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                        &callback_status);
  for (unsigned b = 0; b < 256; ++b) {
    upper_[b] = lower_[b] = static_cast<unsigned char>(b);
    char byte = static_cast<char>(b);
    UChar unit[4];
    UErrorCode status = U_ZERO_ERROR;
    int32_t units = ucnv_toUChars(converter.get(), unit, 4, &byte, 1, &status);
    // Lead bytes of a multi-byte code page are no characters of their own.
    if (U_FAILURE(status) || units != 1 || unit[0] == 0xFFFD || unit[0] == 0x1A) {
      to_utf16_[b] = b < 0x80 ? static_cast<char16_t>(b) : u'\uFFFD';
      continue;
    }
    to_utf16_[b] = unit[0];
    // Map a byte's letter to the other case only when that letter is a single byte of this code page.
    auto encode = [&](UChar32 cp) -> int {
      if (cp == unit[0] || cp > 0xFFFF) return -1;
      UChar source = static_cast<UChar>(cp);
      char out[4];
      UErrorCode st = U_ZERO_ERROR;
      int32_t n = ucnv_fromUChars(converter.get(), out, 4, &source, 1, &st);
      if (U_FAILURE(st) || n != 1) return -1;
      return static_cast<unsigned char>(out[0]);
    };
    if (int up = encode(u_toupper(unit[0])); up >= 0) upper_[b] = static_cast<unsigned char>(up);
    if (int low = encode(u_tolower(unit[0])); low >= 0) lower_[b] = static_cast<unsigned char>(low);
  }
  keeps_ascii_ = KeepsAscii();
}

const AnsiCodePage& AnsiCodePage::System() {
  static const AnsiCodePage instance = [] {
    try {
      return AnsiCodePage(CodePageFromEnvironment());
    } catch (const std::runtime_error&) {
      return AnsiCodePage(1252);
    }
  }();
  return instance;
}

std::u16string AnsiCodePage::ToUtf16(std::string_view text) const {
  if (single_byte_) return TableToUtf16(text);
  Converter converter = OpenConverter(number_);
  std::u16string result(text.size() + 1, u'\0');
  UErrorCode status = U_ZERO_ERROR;
  int32_t n = ucnv_toUChars(converter.get(), reinterpret_cast<UChar*>(result.data()),
                            static_cast<int32_t>(result.size()), text.data(),
                            static_cast<int32_t>(text.size()), &status);
  result.resize(U_SUCCESS(status) ? static_cast<std::size_t>(n) : 0);
  return result;
}

std::string AnsiCodePage::FromUtf16(std::u16string_view text) const {
  Converter converter = OpenConverter(number_);
  // '?' for what the code page cannot hold, as the Windows conversion does by default.
  UErrorCode status = U_ZERO_ERROR;
  ucnv_setSubstChars(converter.get(), "?", 1, &status);
  status = U_ZERO_ERROR;
  std::string result(text.size() * static_cast<std::size_t>(ucnv_getMaxCharSize(converter.get())) + 1, '\0');
  int32_t n = ucnv_fromUChars(converter.get(), result.data(), static_cast<int32_t>(result.size()),
                              reinterpret_cast<const UChar*>(text.data()), static_cast<int32_t>(text.size()),
                              &status);
  result.resize(U_SUCCESS(status) ? static_cast<std::size_t>(n) : 0);
  return result;
}

}  // namespace quendra::platform
