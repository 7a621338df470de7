#include "common/rw_lock.h"

#include <algorithm>
#include <cassert>

namespace quendra {

ReentrantRwLock::ReaderHolds* ReentrantRwLock::find_reader(std::thread::id id) {
  for (ReaderHolds& r : readers_)
    if (r.thread == id) return &r;
  return nullptr;
}

void ReentrantRwLock::lock_read() {
  const auto self = std::this_thread::get_id();
  std::unique_lock lock(mutex_);
  if (ReaderHolds* mine = find_reader(self)) {
    ++mine->count;  // nested: never wait, or a waiting writer would deadlock with us
    return;
  }
  if (writer_ != self) {
    // Waiting writers go first, so a stream of readers cannot starve them.
    changed_.wait(lock, [&] { return writer_ == std::thread::id{} && writers_waiting_ == 0; });
  }
  readers_.push_back({self, 1});
}

void ReentrantRwLock::unlock_read() {
  const auto self = std::this_thread::get_id();
  std::lock_guard lock(mutex_);
  ReaderHolds* mine = find_reader(self);
  assert(mine && "unlock_read without lock_read");
  if (!mine) return;
  if (--mine->count == 0) {
    std::erase_if(readers_, [&](const ReaderHolds& r) { return r.thread == self; });
    changed_.notify_all();
  }
}

bool ReentrantRwLock::lock_write() {
  const auto self = std::this_thread::get_id();
  std::unique_lock lock(mutex_);
  if (writer_ == self) {
    ++write_depth_;
    return true;
  }
  // Promotion: set our read holds aside while we wait, so two promoting readers cannot block each other.
  int held_reads = 0;
  if (ReaderHolds* mine = find_reader(self)) {
    held_reads = mine->count;
    std::erase_if(readers_, [&](const ReaderHolds& r) { return r.thread == self; });
    changed_.notify_all();
  }
  const uint64_t generation = write_generation_;
  ++writers_waiting_;
  changed_.wait(lock, [&] { return writer_ == std::thread::id{} && readers_.empty(); });
  --writers_waiting_;
  writer_ = self;
  write_depth_ = 1;
  ++write_generation_;
  if (held_reads) readers_.push_back({self, held_reads});
  return write_generation_ == generation + 1;
}

void ReentrantRwLock::unlock_write() {
  std::lock_guard lock(mutex_);
  assert(writer_ == std::this_thread::get_id() && "unlock_write without lock_write");
  if (writer_ != std::this_thread::get_id()) return;
  if (--write_depth_ == 0) {
    writer_ = std::thread::id{};
    changed_.notify_all();
  }
}

}  // namespace quendra
