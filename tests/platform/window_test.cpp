#include "platform/window.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>
#include <vector>

#include "platform/clock.h"
#include "quendra/plugin_api.h"

namespace quendra::platform {
namespace {

struct Counter {
  std::atomic<int> timer_ticks{0}, posts{0};
  static intptr_t proc(void* context, uint32_t message, uintptr_t, intptr_t lparam) {
    auto* self = static_cast<Counter*>(context);
    if (message == kMsgTimer) ++self->timer_ticks;
    if (message == 0x0711) ++self->posts;
    if (message == kMsgCopyData) return static_cast<intptr_t>(reinterpret_cast<const QuendraCopyData*>(lparam)->Size);
    return 7;
  }
};

TEST(Windows, UnknownHandlesAreRefusedNotFollowed) {
  intptr_t result = 0;
  for (WindowHandle bogus : {WindowHandle{0}, WindowHandle{1}, WindowHandle{0xDEADBEEF}}) {
    EXPECT_FALSE(send_message_timeout(bogus, 0x400, 0, 0, 10, &result));
    EXPECT_FALSE(post_message(bogus, 0x400, 0, 0));
    EXPECT_FALSE(set_timer(bogus, 1, 10));
    destroy_window(bogus);
  }
}

TEST(Windows, SendFromAnotherThreadWaitsForThePumpOrTimesOut) {
  Counter counter;
  WindowHandle window = create_window(&Counter::proc, &counter);
  std::atomic<bool> done{false};
  intptr_t answer = 0;
  std::thread sender([&] {
    const char bytes[] = "12345";
    EXPECT_TRUE(send_copy_data(window, 1, 2, bytes, 5, 5000));
    EXPECT_TRUE(send_message_timeout(window, 0x400, 0, 0, 5000, &answer));
    done = true;
  });
  while (!done) {
    pump_messages();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  sender.join();
  EXPECT_EQ(answer, 7);
  // Nobody pumps now: a send from another thread gives up after its timeout.
  std::thread([&] { EXPECT_FALSE(send_message_timeout(window, 0x400, 0, 0, 50)); }).join();
  destroy_window(window);
}

#ifndef _WIN32
// The emulation's own guarantees: its timers follow the injected clock, and a window destroyed from another
// thread is gone at once. On Windows timers follow the system clock and the owner thread destroys the window
// when it next pumps.
std::atomic<uint32_t> g_ticks{5000};
uint32_t fake_ticks() { return g_ticks.load(); }

TEST(Windows, TimersFireOncePerPumpWhenDue) {
  set_tick_source(fake_ticks);
  Counter counter;
  WindowHandle window = create_window(&Counter::proc, &counter);
  ASSERT_TRUE(set_timer(window, 1, 300));
  pump_messages();
  EXPECT_EQ(counter.timer_ticks, 0);
  g_ticks += 300;
  pump_messages();
  pump_messages();
  EXPECT_EQ(counter.timer_ticks, 1);
  g_ticks += 10000;  // overdue by many intervals: still one tick per pump
  pump_messages();
  EXPECT_EQ(counter.timer_ticks, 2);
  EXPECT_TRUE(kill_timer(window, 1));
  g_ticks += 1000;
  pump_messages();
  EXPECT_EQ(counter.timer_ticks, 2);
  destroy_window(window);
  set_tick_source(nullptr);
}

// A window destroyed by another thread while its owner pumps: after destroy_window returns, its procedure
// never runs again.
TEST(Windows, DestroyFromAnotherThreadStopsTheProcedure) {
  for (int round = 0; round < 50; ++round) {
    auto counter = std::make_unique<Counter>();
    std::promise<WindowHandle> made;
    std::atomic<bool> stop{false};
    std::thread owner([&] {
      WindowHandle w = create_window(&Counter::proc, counter.get());
      set_timer(w, 1, 0);
      made.set_value(w);
      while (!stop) pump_messages();
    });
    WindowHandle window = made.get_future().get();
    for (int i = 0; i < 20; ++i) post_message(window, 0x0711, 0, 0);
    destroy_window(window);
    counter.reset();  // the procedure must not touch it any more
    EXPECT_FALSE(post_message(window, 0x0711, 0, 0));
    stop = true;
    owner.join();
  }
}

#endif  // _WIN32

}  // namespace
}  // namespace quendra::platform
