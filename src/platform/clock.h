// Millisecond tick counter and sleeping. The tick source can be replaced so that timeouts and idle expiry are
// tested without waiting.
#pragma once

#include "platform/user_api.h"

#include <cstdint>

namespace quendra::platform {

// Milliseconds since an arbitrary start; wraps around like the system tick counter, so compare differences.
QUENDRA_USER_API uint32_t tick_count();

// Replaces the tick source for the whole process; nullptr restores the system counter. Test use only.
using TickSource = uint32_t (*)();
QUENDRA_USER_API void set_tick_source(TickSource source);

QUENDRA_USER_API void sleep_ms(uint32_t ms);

}  // namespace quendra::platform

namespace quendra::platform {

// The current local date and time as an OLE automation date (days since 1899-12-30, time as the fraction).
QUENDRA_USER_API double local_now_ole_date();

}  // namespace quendra::platform
