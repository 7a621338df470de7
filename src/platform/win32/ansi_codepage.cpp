// Win32: the process's ANSI code page (CP_ACP) with the system's own case rules.
#include "platform/ansi_codepage.h"

#include <windows.h>

#include <stdexcept>

namespace quendra::platform {

AnsiCodePage::AnsiCodePage(unsigned number) : number_(number) {
  CPINFO info{};
  if (!GetCPInfo(number, &info)) throw std::runtime_error("Unknown ANSI code page " + std::to_string(number));
  single_byte_ = info.MaxCharSize == 1;
  for (unsigned b = 0; b < 256; ++b) {
    char byte = static_cast<char>(b);
    WCHAR unit = 0;
    to_utf16_[b] =
        MultiByteToWideChar(number, 0, &byte, 1, &unit, 1) == 1 ? static_cast<char16_t>(unit) : u'\uFFFD';
    upper_[b] = lower_[b] = static_cast<unsigned char>(b);
  }
  keeps_ascii_ = KeepsAscii();
  if (number == GetACP()) {
    // The system's mapping of its own code page, one byte at a time so lead bytes stay untouched.
    for (unsigned b = 0; b < 256; ++b) {
      char up = static_cast<char>(b), low = static_cast<char>(b);
      CharUpperBuffA(&up, 1);
      CharLowerBuffA(&low, 1);
      upper_[b] = static_cast<unsigned char>(up);
      lower_[b] = static_cast<unsigned char>(low);
    }
    return;
  }
  // Another code page (tests): map through UTF-16 with the system's wide case rules.
  for (unsigned b = 0; b < 256; ++b) {
    if (IsDBCSLeadByteEx(number, static_cast<BYTE>(b))) continue;
    auto other_case = [&](DWORD flag) -> unsigned char {
      WCHAR wide = to_utf16_[b];
      WCHAR mapped = 0;
      if (LCMapStringW(LOCALE_INVARIANT, flag, &wide, 1, &mapped, 1) != 1)
        return static_cast<unsigned char>(b);
      char out[4];
      BOOL lossy = FALSE;
      int n = WideCharToMultiByte(number, 0, &mapped, 1, out, 4, nullptr, &lossy);
      return n == 1 && !lossy ? static_cast<unsigned char>(out[0]) : static_cast<unsigned char>(b);
    };
    upper_[b] = other_case(LCMAP_UPPERCASE);
    lower_[b] = other_case(LCMAP_LOWERCASE);
  }
}

const AnsiCodePage& AnsiCodePage::System() {
  static const AnsiCodePage instance(GetACP());
  return instance;
}

std::u16string AnsiCodePage::ToUtf16(std::string_view text) const {
  if (single_byte_) return TableToUtf16(text);
  if (text.empty()) return {};
  int size = static_cast<int>(text.size());
  std::u16string result(text.size(), u'\0');
  int n = MultiByteToWideChar(number_, 0, text.data(), size, reinterpret_cast<LPWSTR>(result.data()), size);
  result.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  return result;
}

std::string AnsiCodePage::FromUtf16(std::u16string_view text) const {
  if (text.empty()) return {};
  int size = static_cast<int>(text.size());
  auto source = reinterpret_cast<LPCWSTR>(text.data());
  int needed = WideCharToMultiByte(number_, WC_NO_BEST_FIT_CHARS, source, size, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return {};
  std::string result(static_cast<std::size_t>(needed), '\0');
  int n = WideCharToMultiByte(number_, WC_NO_BEST_FIT_CHARS, source, size, result.data(), needed, nullptr,
                              nullptr);
  result.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  return result;
}

}  // namespace quendra::platform
