// Allocation failures inside data calls: the call fails with -3, nothing leaks or breaks, and the instance goes
// on working. The test replaces the global allocator, which the library's allocations go through as well.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>

#include "host_session.h"
#include "plugin_library.h"

namespace {

// Countdown to the failing allocation; negative: never fail.
std::atomic<long> g_fail_after{-1};

void* allocate(std::size_t size) {
  if (g_fail_after.load(std::memory_order_relaxed) >= 0 && g_fail_after.fetch_sub(1) == 0) throw std::bad_alloc();
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace quendra::host {
namespace {

TEST(Faults, AllocationFailureInsideADataCall) {
  PluginLibrary library(QUENDRA_PLUGIN_PATH);
  const auto dir = std::filesystem::temp_directory_path() / ("quendra-faults-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  std::ofstream(dir / "settings.ini", std::ios::binary) << "[Common]\r\nXMLs=t||1||1||8%0d%0a\r\n";
  SessionOptions options;
  options.settings = (dir / "settings.ini").string();
  options.handle = 90;
  HostSession session(library, options);

  int failed = 0;
  for (long n = 0; n < 400; ++n) {
    g_fail_after = n;
    const int32_t result = session.process("<Data><t>1</t><u>x</u></Data>", static_cast<int32_t>(n % 3)).result;
    const bool hit = g_fail_after.load() < 0;  // the countdown ran out during the call
    g_fail_after = -1;
    EXPECT_TRUE(result >= 0 || result == -3) << n;
    if (hit && result == -3) ++failed;
    // Whatever happened, the instance still cuts and parses the next block.
    auto answer = session.process("<Data><t>7</t></Data>", 9);
    ASSERT_EQ(std::string(answer.text), "<Data><t>7</t></Data><{[::]}>") << n;
    ASSERT_NE(answer.rows, nullptr);
  }
  EXPECT_GT(failed, 0);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace quendra::host
