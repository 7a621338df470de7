// Counted 8-bit strings in the layout shared with the host: a pointer to the first character, the 32-bit
// length in the four bytes before it, a 32-bit reference count in the four bytes before the length, and a
// zero byte after the last character. A null pointer is the empty string. Memory comes from the shared heap,
// so a string made on one side of the library boundary can be released on the other.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "quendra/plugin_api.h"

namespace quendra {

namespace ansi {

// A new string with reference count 1; null for empty text. Throws std::bad_alloc.
QuendraAnsiStr make(std::string_view text);
// A string whose reference count is negative: retain and release leave it alone, so items may refer to it
// without counting. It lives until free_constant (the owner's promise that nothing refers to it any more).
QuendraAnsiStr make_constant(std::string_view text);
void free_constant(QuendraAnsiStr s) noexcept;

namespace detail {
// The counted paths; the header's checks for null and constants are inline, as most names are constants.
QuendraAnsiStr retain_counted(QuendraAnsiStr s) noexcept;
void release_counted(QuendraAnsiStr s) noexcept;
inline int32_t refs(const char* s) noexcept {
  return std::atomic_ref<int32_t>(*reinterpret_cast<int32_t*>(const_cast<char*>(s) - 8))
      .load(std::memory_order_relaxed);
}
}  // namespace detail

inline bool is_constant(QuendraAnsiStr s) noexcept {
  return s && detail::refs(s) < 0;
}
// Adds a reference and returns the same pointer (null stays null).
inline QuendraAnsiStr retain(QuendraAnsiStr s) noexcept {
  return s && detail::refs(s) >= 0 ? detail::retain_counted(s) : s;
}
// Drops a reference; frees the string when none is left. Null is ignored.
inline void release(QuendraAnsiStr s) noexcept {
  if (s && detail::refs(s) >= 0) detail::release_counted(s);
}
inline uint32_t length(const char* s) noexcept {
  uint32_t n = 0;
  if (s) std::memcpy(&n, s - 4, sizeof n);
  return n;
}
inline std::string_view view(const char* s) noexcept {
  return s ? std::string_view(s, length(s)) : std::string_view();
}

}  // namespace ansi

// Owning handle of one reference to a counted string.
class AnsiString {
 public:
  AnsiString() = default;
  explicit AnsiString(std::string_view text) : s_(ansi::make(text)) {}
  AnsiString(const AnsiString& other) noexcept : s_(ansi::retain(other.s_)) {}
  AnsiString(AnsiString&& other) noexcept : s_(other.s_) { other.s_ = nullptr; }
  AnsiString& operator=(AnsiString other) noexcept {
    std::swap(s_, other.s_);
    return *this;
  }
  ~AnsiString() { ansi::release(s_); }

  std::string_view view() const noexcept { return ansi::view(s_); }
  const char* c_str() const noexcept { return s_ ? s_ : ""; }
  QuendraAnsiStr get() const noexcept { return s_; }
  bool empty() const noexcept { return s_ == nullptr; }

 private:
  QuendraAnsiStr s_ = nullptr;
};

}  // namespace quendra
