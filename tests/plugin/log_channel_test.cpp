#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "platform/clock.h"
#include "platform/window.h"
#include "plugin/plugin.h"

namespace quendra {
namespace {

struct Received {
  uint32_t message;
  uintptr_t wparam;
  uintptr_t tag;
  std::string text;
};

// A host log window that records what it receives.
struct RecordingWindow {
  std::vector<Received> received;
  platform::WindowHandle handle = platform::create_window(&RecordingWindow::proc, this);
  ~RecordingWindow() { platform::destroy_window(handle); }

  static intptr_t proc(void* context, uint32_t message, uintptr_t wparam, intptr_t lparam) {
    auto* self = static_cast<RecordingWindow*>(context);
    Received r{message, wparam, 0, {}};
    if (message == QUENDRA_WM_COPYDATA) {
      const auto* data = reinterpret_cast<const QuendraCopyData*>(lparam);
      r.tag = data->Tag;
      r.text.assign(static_cast<const char*>(data->Data), data->Size);
    }
    self->received.push_back(r);
    return 1;
  }
};


class LogChannelTest : public ::testing::Test {
 protected:
  LogChannelTest() {
    plugin.LogTitle = "Quendra";
    plugin.SenderID = 77;
  }
  TzelPlugin plugin{nullptr};
};

TEST_F(LogChannelTest, LineFormat) {
  EXPECT_EQ(plugin.FormatLogLine(2, "Data have been processed successfully"),
            "\x03Quendra. Data have been processed successfully");
  EXPECT_EQ(plugin.FormatLogLine(0, "two\r\nlines"), "\x01Quendra. two  lines");
  plugin.LogTitle.clear();
  EXPECT_EQ(plugin.FormatLogLine(1, "x"), "\x02x");
}

TEST_F(LogChannelTest, ClosedChannelDropsEverything) {
  plugin.AddLog(0, "lost");
  plugin.AddLogBuffered(0, "lost too");
  EXPECT_EQ(plugin.LogBuffer.Text(), "");
}

TEST_F(LogChannelTest, DeliversBufferedBlockBeforeTheNewLine) {
  RecordingWindow window;
  plugin.LogWindow = window.handle;
  plugin.AddLogBuffered(0, "first");
  plugin.AddLogBuffered(1, "second");
  ASSERT_EQ(window.received.size(), 0u);  // the notices are posted, not yet pumped
  plugin.AddLog(2, "third");
  ASSERT_EQ(window.received.size(), 2u);
  EXPECT_EQ(window.received[0].message, QUENDRA_WM_COPYDATA);
  EXPECT_EQ(window.received[0].wparam, 77u);
  EXPECT_EQ(window.received[0].tag, 1u);
  EXPECT_EQ(window.received[0].text, "\x01Quendra. first\r\n\x02Quendra. second\r\n");
  EXPECT_EQ(window.received[1].tag, 2u);
  EXPECT_EQ(window.received[1].text, "\x03Quendra. third");
  EXPECT_EQ(plugin.LogBuffer.Text(), "");
  platform::pump_messages();
  ASSERT_EQ(window.received.size(), 4u);
  EXPECT_EQ(window.received[2].message, 0x711u);
  EXPECT_EQ(window.received[2].wparam, 77u);
}

std::atomic<uint32_t> g_ticks{1000};
uint32_t fake_ticks() { return g_ticks.load(); }

// A host window whose thread never answers: every line falls back to the buffer, which keeps the newest 100,
// and each one posts a "lines waiting" notice.
TEST_F(LogChannelTest, HungHostWindowKeepsNewestHundredLines) {
  platform::set_tick_source(fake_ticks);
  std::promise<platform::WindowHandle> made;
  std::promise<void> release;
  std::atomic<int> notices{0};
  std::thread host([&] {
    auto proc = [](void* context, uint32_t message, uintptr_t, intptr_t) -> intptr_t {
      if (message == 0x711) ++*static_cast<std::atomic<int>*>(context);
      return 0;
    };
    platform::WindowHandle handle = platform::create_window(proc, &notices);
    made.set_value(handle);
    release.get_future().wait();
    platform::pump_messages();
    platform::destroy_window(handle);
  });
  plugin.LogWindow = made.get_future().get();
  g_ticks += 60000;  // the host thread has not pumped for a minute: it counts as hung
  for (int i = 0; i < 150; ++i) plugin.AddLog(1, "line " + std::to_string(i));
  release.set_value();
  host.join();
  platform::set_tick_source(nullptr);

  auto lines = TThreadStringList::SplitLines(plugin.LogBuffer.Text());
  ASSERT_EQ(lines.size(), 100u);
  EXPECT_EQ(lines.front(), "\x02Quendra. line 50");
  EXPECT_EQ(lines.back(), "\x02Quendra. line 149");
  EXPECT_EQ(notices.load(), 150);
}

}  // namespace
}  // namespace quendra
