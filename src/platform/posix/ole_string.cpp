#include "platform/ole_string.h"

#include <cstring>

#include "platform/shared_heap.h"

namespace quendra::platform {

char16_t* ole_string_alloc(const char16_t* text, uint32_t length) {
  // Layout: 32-bit byte length, the characters, a zero character.
  auto* block = static_cast<char*>(shared_alloc(sizeof(uint32_t) + (std::size_t{length} + 1) * sizeof(char16_t)));
  uint32_t bytes = length * sizeof(char16_t);
  std::memcpy(block, &bytes, sizeof bytes);
  auto* chars = reinterpret_cast<char16_t*>(block + sizeof(uint32_t));
  if (text) std::memcpy(chars, text, bytes);
  chars[length] = 0;
  return chars;
}

void ole_string_free(char16_t* text) noexcept {
  if (text) shared_free(reinterpret_cast<char*>(text) - sizeof(uint32_t));
}

uint32_t ole_string_length(const char16_t* text) noexcept {
  if (!text) return 0;
  uint32_t bytes;
  std::memcpy(&bytes, reinterpret_cast<const char*>(text) - sizeof(uint32_t), sizeof bytes);
  return bytes / sizeof(char16_t);
}

// Without an object model there is nothing foreign this side can own.
bool variant_clear_foreign(QuendraVariant*) noexcept { return false; }
bool variant_copy_foreign(QuendraVariant*, const QuendraVariant*) noexcept { return false; }

}  // namespace quendra::platform
