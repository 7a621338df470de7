// A named lock shared by all threads and processes of the machine (of the user, on POSIX): two holders
// of the same name never overlap. A holder that dies releases it.
//
// Win32: a named mutex. POSIX: flock on a lock file in $QUENDRA_LOCK_DIR, else $XDG_RUNTIME_DIR/quendra,
// else <temp>/quendra-<uid>. Names are used as file names: callers pass plain names (letters, digits,
// "_"); longer than 120 characters they are shortened with a hash so any name fits.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace quendra::platform {

class NamedLockError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class NamedLock {
 public:
  // Creates (or opens) the lock; does not take it. Throws NamedLockError when it cannot be created.
  explicit NamedLock(std::string_view name);
  ~NamedLock();
  NamedLock(const NamedLock&) = delete;
  NamedLock& operator=(const NamedLock&) = delete;

  // Blocks until held. Not re-entrant: one NamedLock object is locked once at a time.
  void lock();
  void unlock();

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

// Holds a named lock for one scope.
class NamedLockGuard {
 public:
  explicit NamedLockGuard(std::string_view name) : lock_(name) { lock_.lock(); }
  ~NamedLockGuard() { lock_.unlock(); }
  NamedLockGuard(const NamedLockGuard&) = delete;
  NamedLockGuard& operator=(const NamedLockGuard&) = delete;

 private:
  NamedLock lock_;
};

// The name shortened to a file-name-safe length (used by both implementations).
std::string bounded_lock_name(std::string_view name);

}  // namespace quendra::platform
