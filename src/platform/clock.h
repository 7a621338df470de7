// Millisecond tick counter and sleeping. The tick source can be replaced so that timeouts and idle expiry are
// tested without waiting.
#pragma once

#include <cstdint>

namespace quendra::platform {

// Milliseconds since an arbitrary start; wraps around like the system tick counter, so compare differences.
uint32_t tick_count();

// Replaces the tick source for the whole process; nullptr restores the system counter. Test use only.
using TickSource = uint32_t (*)();
void set_tick_source(TickSource source);

void sleep_ms(uint32_t ms);

}  // namespace quendra::platform

namespace quendra::platform {

// The current local date and time as an OLE automation date (days since 1899-12-30, time as the fraction).
double local_now_ole_date();

}  // namespace quendra::platform
