#include "platform/shared_heap.h"

#include <cstdlib>
#include <new>

namespace quendra::platform {

void* shared_alloc(std::size_t size) {
  void* block = std::malloc(size ? size : 1);
  if (!block) throw std::bad_alloc();
  return block;
}

void* shared_realloc(void* block, std::size_t size) {
  void* grown = std::realloc(block, size ? size : 1);
  if (!grown) throw std::bad_alloc();
  return grown;
}

void shared_free(void* block) noexcept { std::free(block); }

}  // namespace quendra::platform
