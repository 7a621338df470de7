#include "platform/named_lock.h"

#include <windows.h>

namespace quendra::platform {

struct NamedLock::Impl {
  HANDLE mutex = nullptr;
  bool held = false;
};

NamedLock::NamedLock(std::string_view name) : impl_(std::make_unique<Impl>()) {
  // "Local\" keeps the lock within the session, like the files it usually guards.
  const std::string full = "Local\\quendra_" + bounded_lock_name(name);
  impl_->mutex = CreateMutexA(nullptr, FALSE, full.c_str());
  if (impl_->mutex == nullptr) {
    throw NamedLockError("Cannot create lock " + full + " (error " + std::to_string(GetLastError()) + ")");
  }
}

NamedLock::~NamedLock() {
  if (impl_->held) unlock();
  CloseHandle(impl_->mutex);
}

void NamedLock::lock() {
  const DWORD rc = WaitForSingleObject(impl_->mutex, INFINITE);
  // An abandoned mutex means its holder died; the lock is ours now and what it guarded is ours to check.
  if (rc != WAIT_OBJECT_0 && rc != WAIT_ABANDONED) {
    throw NamedLockError("Cannot take lock (error " + std::to_string(GetLastError()) + ")");
  }
  impl_->held = true;
}

void NamedLock::unlock() {
  if (!impl_->held) return;
  ReleaseMutex(impl_->mutex);
  impl_->held = false;
}

}  // namespace quendra::platform
