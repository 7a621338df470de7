#include "platform/clock.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace quendra::platform {

namespace {
std::atomic<TickSource> g_tick_source{nullptr};
}

uint32_t tick_count() {
  if (TickSource source = g_tick_source.load(std::memory_order_acquire)) return source();
  auto since_start = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(since_start).count());
}

void set_tick_source(TickSource source) { g_tick_source.store(source, std::memory_order_release); }

void sleep_ms(uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

}  // namespace quendra::platform
