// Time-driven behaviour of the data path, with the tick counter moved by hand: idle clients expire and an
// unfinished block is abandoned after the sign time-out.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>

#include "host_session.h"
#include "platform/clock.h"
#include "platform/window.h"
#include "plugin_library.h"

namespace quendra::host {
namespace {

std::atomic<uint32_t> g_ticks{0xFFFF0000u};  // close to the wrap of the 32-bit counter
uint32_t fake_ticks() { return g_ticks.load(); }

const PluginLibrary& library() {
  static PluginLibrary lib(QUENDRA_PLUGIN_PATH);
  return lib;
}

class Expiry : public ::testing::Test {
 protected:
  void SetUp() override { platform::set_tick_source(fake_ticks); }
  void TearDown() override {
    session_.reset();
    platform::set_tick_source(nullptr);
    std::filesystem::remove_all(dir_);
  }

  HostSession& open(const std::string& common_lines, uint32_t handle) {
    dir_ = std::filesystem::temp_directory_path() / ("quendra-expiry-" + std::to_string(::getpid()) + "-" +
                                                     std::to_string(handle));
    std::filesystem::create_directories(dir_);
    std::ofstream(dir_ / "settings.ini", std::ios::binary) << "[Common]\r\n" << common_lines;
    SessionOptions options;
    options.settings = (dir_ / "settings.ini").string();
    options.handle = handle;
    session_ = std::make_unique<HostSession>(library(), options);
    return *session_;
  }

  // Moves the clock and lets the container's timer (owned by this thread, which ran SET-STATE) tick.
  static void advance(uint32_t ms) {
    g_ticks += ms;
    platform::pump_messages();
  }

  static std::string text(HostSession& s, std::string_view chunk, int32_t client) {
    return std::string(s.process(chunk, client).text);
  }

  std::filesystem::path dir_;
  std::unique_ptr<HostSession> session_;
};

TEST_F(Expiry, IdleClientsGoOnlyWhileTheSourceHasSeveral) {
  HostSession& s = open("Sign timeout=0\r\n", 50);
  // One client: never expires, however long it waits.
  EXPECT_EQ(text(s, "<Data><a>1</a>", 1), "");
  advance(600000);
  EXPECT_EQ(text(s, "</Data>", 1), "<Data><a>1</a></Data><{[::]}>");

  // Three clients, two of them idle for more than a minute: one tick removes both, with what they buffered.
  EXPECT_EQ(text(s, "<Data><a>1</a>", 1), "");
  EXPECT_EQ(text(s, "<Data><b>2</b>", 2), "");
  advance(30000);
  EXPECT_EQ(text(s, "<Data><c>3</c>", 3), "");
  advance(30001);
  advance(1);  // client 3 is 30 s idle, clients 1 and 2 more than 60 s
  EXPECT_EQ(text(s, "</Data>", 1), "");  // a new client 1: its old open block is gone
  EXPECT_EQ(text(s, "</Data>", 3), "<Data><c>3</c></Data><{[::]}>");
}

TEST_F(Expiry, UnfinishedBlockIsAbandonedAfterTheSignTimeout) {
  HostSession& s = open("Sign timeout=5000\r\n", 51);
  EXPECT_EQ(text(s, "<Data><a>1</a>", 1), "");
  g_ticks += 4000;
  EXPECT_EQ(text(s, "<b>2</b>", 1), "");  // within the time-out: the block goes on
  EXPECT_EQ(text(s, "</Data>", 1), "<Data><a>1</a><b>2</b></Data><{[::]}>");
  EXPECT_EQ(text(s, "<Data><a>1</a>", 1), "");
  g_ticks += 5001;
  EXPECT_EQ(text(s, "<b>2</b>", 1), "");  // too late: abandoned
  EXPECT_EQ(text(s, "</Data><Data><c>3</c></Data>", 1), "<Data><c>3</c></Data><{[::]}>");
}

}  // namespace
}  // namespace quendra::host
