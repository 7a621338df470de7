#include "common/ansi_string.h"

#include <atomic>
#include <cstddef>
#include <cstring>
#include <new>

#include "platform/shared_heap.h"

namespace quendra::ansi {

namespace {

struct Header {
  int32_t refs;
  uint32_t length;
};

Header* header_of(const char* s) {
  return reinterpret_cast<Header*>(const_cast<char*>(s) - sizeof(Header));
}

QuendraAnsiStr make_counted(std::string_view text, int32_t refs) {
  // Detect and prevent integer overflow: the length field is 32 bits.
  if (text.size() > UINT32_MAX - sizeof(Header) - 1) throw std::bad_alloc();
  auto* block = static_cast<char*>(platform::shared_alloc(sizeof(Header) + text.size() + 1));
  new (block) Header{refs, static_cast<uint32_t>(text.size())};
  char* chars = block + sizeof(Header);
  std::memcpy(chars, text.data(), text.size());
  chars[text.size()] = '\0';
  return chars;
}

}  // namespace

QuendraAnsiStr make(std::string_view text) {
  if (text.empty()) return nullptr;
  return make_counted(text, 1);
}

QuendraAnsiStr make_constant(std::string_view text) {
  if (text.empty()) return nullptr;
  return make_counted(text, -1);
}

void free_constant(QuendraAnsiStr s) noexcept {
  if (s) platform::shared_free(header_of(s));
}

static_assert(sizeof(Header) == 8 && offsetof(Header, length) == 4, "the layout the inline readers use");

QuendraAnsiStr detail::retain_counted(QuendraAnsiStr s) noexcept {
  std::atomic_ref<int32_t>(header_of(s)->refs).fetch_add(1, std::memory_order_relaxed);
  return s;
}

void detail::release_counted(QuendraAnsiStr s) noexcept {
  Header* h = header_of(s);
  if (std::atomic_ref<int32_t>(h->refs).fetch_sub(1, std::memory_order_acq_rel) == 1)
    platform::shared_free(h);
}

}  // namespace quendra::ansi
