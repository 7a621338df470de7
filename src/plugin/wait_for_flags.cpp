#include "plugin/wait_for_flags.h"

#include "platform/application.h"
#include "platform/clock.h"
#include "platform/window.h"

namespace quendra {

bool WaitForFlags(uint32_t timeout_ms, std::initializer_list<const std::atomic<bool>*> flags, bool ignore_shutdown) {
  const uint32_t start = platform::tick_count();
  int state = 1;
  for (bool first_pass = true;; first_pass = false) {
    state = 1;
    for (const std::atomic<bool>* flag : flags) {
      if (!flag) {
        state = -1;
        break;
      }
      if (!flag->load(std::memory_order_acquire)) {
        state = 0;
        break;
      }
    }
    const uint32_t elapsed = platform::tick_count() - start;
    if (!first_pass) {
      try {
        platform::pump_messages();
      } catch (...) {
      }
      platform::sleep_ms(50);
    }
    if (state < 1 || (timeout_ms != 0 && elapsed >= timeout_ms) ||
        (!ignore_shutdown && platform::app_terminating()))
      break;
  }
  return state == 0;
}

}  // namespace quendra
