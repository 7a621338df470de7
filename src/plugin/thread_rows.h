// The output rows of a module instance, one list per host thread. Each data call fills and hands out the list
// of the thread that makes it, so calls running at the same time on one instance never clear or mix each
// other's rows, and a thread's rows stay valid until its own next data call.
#pragma once

#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>

#include "common/params_list.h"

namespace quendra {

class ThreadRows {
 public:
  // Lists exist between create() (LOAD) and reset() (UNLOAD).
  void create();
  void reset() noexcept;
  explicit operator bool() const;

  // The calling thread's list, made on its first use; null while the lists do not exist.
  TzelRowsParamsList* get();
  TzelRowsParamsList* operator->() { return get(); }

 private:
  using ListPtr = std::unique_ptr<TzelRowsParamsList, ListDeleter<TzelRowsParamsList>>;
  mutable std::mutex mutex_;
  bool live_ = false;
  std::unordered_map<std::thread::id, ListPtr> lists_;
};

}  // namespace quendra
