// Containers guarded by the re-entrant readers/writer lock, for state reached from several host threads.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/rw_lock.h"

namespace quendra {

// Guards one object it does not own (itself when none is given).
class TThreadObject {
 public:
  explicit TThreadObject(void* guarded = nullptr) : guarded_(guarded ? guarded : this) {}
  virtual ~TThreadObject() = default;
  void* LockRead() {
    lock_.lock_read();
    return guarded_;
  }
  void UnlockRead() { lock_.unlock_read(); }
  void* LockWrite() {
    lock_.lock_write();
    return guarded_;
  }
  void UnlockWrite() { lock_.unlock_write(); }
  ReentrantRwLock& lock() { return lock_; }

 private:
  ReentrantRwLock lock_;
  void* guarded_;
};

// A guarded list. `Entry` is `T*` for a list that does not own its entries and `std::unique_ptr<T>` for one
// that does. Callers keep lock pairs balanced: LockListRead with UnlockListRead, LockList with UnlockList.
template <typename Entry>
class TThreadObjectList : public TThreadObject {
 public:
  using List = std::vector<Entry>;

  TThreadObjectList() : TThreadObject(&list_) {}
  ~TThreadObjectList() override {
    WriteGuard guard(lock());
    list_.clear();
  }

  List& LockList() {
    LockWrite();
    return list_;
  }
  const List& LockListRead() {
    LockRead();
    return list_;
  }
  void UnlockList() { UnlockWrite(); }
  void UnlockListRead() { UnlockRead(); }

  void Add(Entry entry) {
    WriteGuard guard(lock());
    list_.push_back(std::move(entry));
  }
  void Clear() {
    WriteGuard guard(lock());
    list_.clear();
  }
  std::size_t Count() {
    ReadGuard guard(lock());
    return list_.size();
  }

 private:
  List list_;
};

// Scoped holds of a guarded list: the list while held, released with the matching kind.
template <typename GuardedList>
class ListReadLock {
 public:
  explicit ListReadLock(GuardedList& owner) : owner_(owner), list_(owner.LockListRead()) {}
  ~ListReadLock() { owner_.UnlockListRead(); }
  ListReadLock(const ListReadLock&) = delete;
  ListReadLock& operator=(const ListReadLock&) = delete;
  const typename GuardedList::List& list() const { return list_; }

 private:
  GuardedList& owner_;
  const typename GuardedList::List& list_;
};

template <typename GuardedList>
class ListWriteLock {
 public:
  explicit ListWriteLock(GuardedList& owner) : owner_(owner), list_(owner.LockList()) {}
  ~ListWriteLock() { owner_.UnlockList(); }
  ListWriteLock(const ListWriteLock&) = delete;
  ListWriteLock& operator=(const ListWriteLock&) = delete;
  typename GuardedList::List& list() const { return list_; }

 private:
  GuardedList& owner_;
  typename GuardedList::List& list_;
};

// A list of 8-bit text lines. Every operation, reading included, takes the write lock.
class TThreadStringList {
 public:
  using List = std::vector<std::string>;

  List& LockList() {
    lock_.lock_write();
    return lines_;
  }
  void UnlockList() { lock_.unlock_write(); }

  void Add(std::string_view line) {
    WriteGuard guard(lock_);
    lines_.emplace_back(line);
  }
  void Clear() {
    WriteGuard guard(lock_);
    lines_.clear();
  }
  // Replaces the content by the lines of `text` (CR, LF or CR LF separated).
  void SetText(std::string_view text);
  // Every line followed by CR LF.
  std::string Text();

  // Runs `fn` on the lines under the lock.
  template <typename Fn>
  auto with_lock(Fn&& fn) {
    WriteGuard guard(lock_);
    return fn(lines_);
  }

  static std::string JoinLines(const List& lines);
  static List SplitLines(std::string_view text);

 private:
  ReentrantRwLock lock_;
  List lines_;
};

}  // namespace quendra
