// Re-entrant readers/writer lock: any number of readers or one writer. Both kinds nest on the thread holding
// them, and a reader may take the write lock as well (promotion). Every acquisition is paired with a release
// of the same kind.
//
// Promotion cannot be atomic when two readers promote at once (each would wait for the other), so a promoting
// thread lets go of its read holds while it waits and gets them back with the write lock. lock_write()
// therefore returns false when another writer ran in between: what the caller read under its read lock may
// have changed and must be looked at again.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace quendra {

class ReentrantRwLock {
 public:
  ReentrantRwLock() = default;
  ReentrantRwLock(const ReentrantRwLock&) = delete;
  ReentrantRwLock& operator=(const ReentrantRwLock&) = delete;

  void lock_read();
  void unlock_read();
  // True when no other writer held the lock since this thread started to wait for it.
  bool lock_write();
  void unlock_write();

 private:
  struct ReaderHolds {
    std::thread::id thread;
    int count;
  };

  ReaderHolds* find_reader(std::thread::id id);  // under mutex_

  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<ReaderHolds> readers_;  // threads with active read holds
  std::thread::id writer_{};
  int write_depth_ = 0;
  int writers_waiting_ = 0;
  uint64_t write_generation_ = 0;  // counts write acquisitions, to tell a promoter whether it was overtaken
};

// Scoped holds.
class ReadGuard {
 public:
  explicit ReadGuard(ReentrantRwLock& lock) : lock_(lock) { lock_.lock_read(); }
  ~ReadGuard() { lock_.unlock_read(); }
  ReadGuard(const ReadGuard&) = delete;
  ReadGuard& operator=(const ReadGuard&) = delete;

 private:
  ReentrantRwLock& lock_;
};

class WriteGuard {
 public:
  explicit WriteGuard(ReentrantRwLock& lock) : lock_(lock), undisturbed_(lock_.lock_write()) {}
  ~WriteGuard() { lock_.unlock_write(); }
  WriteGuard(const WriteGuard&) = delete;
  WriteGuard& operator=(const WriteGuard&) = delete;
  // False when another writer ran while this thread waited (see lock_write).
  bool undisturbed() const { return undisturbed_; }

 private:
  ReentrantRwLock& lock_;
  bool undisturbed_;
};

}  // namespace quendra
