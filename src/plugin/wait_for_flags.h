// Waiting on flags while keeping the calling thread's windows alive.
#pragma once

#include <atomic>
#include <cstdint>
#include <initializer_list>

namespace quendra {

// Waits while every flag in `flags` is set: evaluates them in order (stopping at the first clear one or the
// first null pointer), and between passes pumps the thread's window messages and sleeps 50 ms. Stops when a
// flag is clear or missing, when `timeout_ms` (0: none) has elapsed, or, unless `ignore_shutdown`, when the
// application is terminating. True exactly when the last evaluation found a clear flag.
bool WaitForFlags(uint32_t timeout_ms, std::initializer_list<const std::atomic<bool>*> flags, bool ignore_shutdown);

}  // namespace quendra
