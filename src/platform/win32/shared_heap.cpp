#include "platform/shared_heap.h"

#include <windows.h>

#include <new>

namespace quendra::platform {

void* shared_alloc(std::size_t size) {
  void* block = HeapAlloc(GetProcessHeap(), 0, size ? size : 1);
  if (!block) throw std::bad_alloc();
  return block;
}

void* shared_realloc(void* block, std::size_t size) {
  if (!block) return shared_alloc(size);
  void* grown = HeapReAlloc(GetProcessHeap(), 0, block, size ? size : 1);
  if (!grown) throw std::bad_alloc();
  return grown;
}

void shared_free(void* block) noexcept {
  if (block) HeapFree(GetProcessHeap(), 0, block);
}

}  // namespace quendra::platform
