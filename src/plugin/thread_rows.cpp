#include "plugin/thread_rows.h"

namespace quendra {

void ThreadRows::create() {
  std::lock_guard lock(mutex_);
  live_ = true;
}

void ThreadRows::reset() noexcept {
  std::unordered_map<std::thread::id, ListPtr> doomed;
  {
    std::lock_guard lock(mutex_);
    live_ = false;
    doomed.swap(lists_);
  }
}

ThreadRows::operator bool() const {
  std::lock_guard lock(mutex_);
  return live_;
}

TzelRowsParamsList* ThreadRows::get() {
  std::lock_guard lock(mutex_);
  if (!live_) return nullptr;
  ListPtr& list = lists_[std::this_thread::get_id()];
  if (!list) list.reset(TzelRowsParamsList::create());
  return list.get();
}

}  // namespace quendra
