#include "common/rw_lock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace quendra {
namespace {

TEST(ReentrantRwLock, NestsBothKindsAndPromotes) {
  ReentrantRwLock lock;
  lock.lock_read();
  lock.lock_read();
  EXPECT_TRUE(lock.lock_write());  // promotion with no other writer in between
  EXPECT_TRUE(lock.lock_write());
  lock.lock_read();
  lock.unlock_read();
  lock.unlock_write();
  lock.unlock_write();
  lock.unlock_read();
  lock.unlock_read();
  // Fully released: another thread can write at once.
  std::thread([&] {
    EXPECT_TRUE(lock.lock_write());
    lock.unlock_write();
  }).join();
}

TEST(ReentrantRwLock, WriterWaitsForOtherReaders) {
  ReentrantRwLock lock;
  std::atomic<bool> writing{false};
  lock.lock_read();
  std::thread writer([&] {
    lock.lock_write();
    writing = true;
    lock.unlock_write();
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(writing.load());
  lock.unlock_read();
  writer.join();
  EXPECT_TRUE(writing.load());
}

// Two readers promoting at once must not deadlock; the one overtaken learns it.
TEST(ReentrantRwLock, ConcurrentPromotionsFinishAndReportOvertaking) {
  ReentrantRwLock lock;
  int counter = 0;
  std::atomic<int> overtaken{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 8; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 500; ++i) {
        lock.lock_read();
        if (!lock.lock_write()) ++overtaken;
        ++counter;
        lock.unlock_write();
        lock.unlock_read();
      }
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_EQ(counter, 8 * 500);
}

}  // namespace
}  // namespace quendra
