// The heap both sides of the library boundary allocate list items, item arrays and counted strings from, so
// that either side may free what the other made: the process heap on Windows, the C runtime's heap elsewhere.
#pragma once

#include <cstddef>

namespace quendra::platform {

// Throws std::bad_alloc on failure; never returns null for a non-zero size.
void* shared_alloc(std::size_t size);
void* shared_realloc(void* block, std::size_t size);
void shared_free(void* block) noexcept;

}  // namespace quendra::platform
