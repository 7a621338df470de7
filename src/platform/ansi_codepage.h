// The system's ANSI code page: the 8-bit character set that all text inside the plug-in is in.
//
// One process-wide instance, built on first use and immutable afterwards, so any thread may use it
// without locking. Win32 asks the system (CharUpperBuffA, MultiByteToWideChar); POSIX uses code page
// 1252 unless the environment variable QUENDRA_ANSI_CODEPAGE names another one (read once, at first use).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quendra::platform {

class AnsiCodePage {
 public:
  // The code page of this process. Never fails: an unusable QUENDRA_ANSI_CODEPAGE falls back to 1252.
  static const AnsiCodePage& System();

  unsigned number() const { return number_; }

  // Case mapping of single bytes, covering every letter of the code page (not only a..z). A byte whose
  // other-case letter does not exist in the code page maps to itself.
  unsigned char Upper(unsigned char c) const { return upper_[c]; }
  unsigned char Lower(unsigned char c) const { return lower_[c]; }
  const std::array<unsigned char, 256>& upper_table() const { return upper_; }
  const std::array<unsigned char, 256>& lower_table() const { return lower_; }

  // In place over a buffer; the length never changes.
  void ToUpper(char* data, std::size_t size) const { Map(upper_, data, size); }
  void ToLower(char* data, std::size_t size) const { Map(lower_, data, size); }
  std::string ToUpper(std::string_view text) const {
    std::string result(text);
    ToUpper(result.data(), result.size());
    return result;
  }
  std::string ToLower(std::string_view text) const {
    std::string result(text);
    ToLower(result.data(), result.size());
    return result;
  }

  // 8-bit text to UTF-16. Bytes the code page does not define become their best-fit or U+FFFD; the
  // conversion itself never fails.
  std::u16string ToUtf16(std::string_view text) const;
  // Single-byte code pages widen one unit per byte, straight into the caller's buffer of text.size() units.
  bool single_byte() const { return single_byte_; }
  void WidenSingleByte(std::string_view text, char16_t* out) const {
    const auto* in = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = text.size();
    std::size_t i = 0;
    if (keeps_ascii_) {
      // Runs of 7-bit text widen without the table, sixteen bytes at a time (the loops vectorise).
      constexpr std::size_t kRun = 16;
      for (; i + kRun <= size; i += kRun) {
        unsigned char high = 0;
        for (std::size_t j = 0; j < kRun; ++j) high |= in[i + j];
        if (high < 0x80) {
          for (std::size_t j = 0; j < kRun; ++j) out[i + j] = in[i + j];
        } else {
          for (std::size_t j = 0; j < kRun; ++j) out[i + j] = to_utf16_[in[i + j]];
        }
      }
    }
    for (; i < size; ++i) out[i] = to_utf16_[in[i]];
  }
  // UTF-16 to 8-bit text; characters the code page cannot hold become '?'.
  std::string FromUtf16(std::u16string_view text) const;

  // Builds the tables of a given code page; throws std::runtime_error when the platform does not know
  // it. Public so tests can check a code page other than the process one.
  explicit AnsiCodePage(unsigned number);

 private:
  // Single-byte code pages convert through to_utf16_, the same on every platform.
  std::u16string TableToUtf16(std::string_view text) const {
    std::u16string result(text.size(), u'\0');
    WidenSingleByte(text, result.data());
    return result;
  }
  static void Map(const std::array<unsigned char, 256>& table, char* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i)
      data[i] = static_cast<char>(table[static_cast<unsigned char>(data[i])]);
  }

  // Whether bytes 0..127 stand for themselves, as in every ANSI code page; set once the tables are built.
  bool KeepsAscii() const {
    for (unsigned b = 0; b < 0x80; ++b)
      if (to_utf16_[b] != b) return false;
    return true;
  }

  unsigned number_;
  bool single_byte_ = true;
  bool keeps_ascii_ = false;
  std::array<unsigned char, 256> upper_{};
  std::array<unsigned char, 256> lower_{};
  // Single-byte code pages: the UTF-16 unit of each byte (multi-byte ones convert through the system).
  std::array<char16_t, 256> to_utf16_{};
};

}  // namespace quendra::platform
