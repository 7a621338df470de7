#include "platform/named_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace quendra::platform {

namespace {

std::filesystem::path lock_directory() {
  if (const char* dir = std::getenv("QUENDRA_LOCK_DIR"); dir != nullptr && *dir != '\0') return dir;
  if (const char* run = std::getenv("XDG_RUNTIME_DIR"); run != nullptr && *run != '\0') {
    return std::filesystem::path(run) / "quendra";
  }
  std::error_code ec;
  std::filesystem::path tmp = std::filesystem::temp_directory_path(ec);
  if (ec) tmp = "/tmp";
  return tmp / ("quendra-" + std::to_string(::getuid()));
}

}  // namespace

struct NamedLock::Impl {
  int fd = -1;
  bool held = false;
};

NamedLock::NamedLock(std::string_view name) : impl_(std::make_unique<Impl>()) {
  const std::filesystem::path dir = lock_directory();
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  const std::filesystem::path file = dir / (bounded_lock_name(name) + ".lock");
  // Each NamedLock opens its own descriptor: flock conflicts between descriptors, so threads of one
  // process exclude each other as processes do.
  impl_->fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (impl_->fd < 0)
    throw NamedLockError("Cannot create lock " + file.string() + ": " + std::strerror(errno));
}

NamedLock::~NamedLock() {
  if (impl_->held) unlock();
  ::close(impl_->fd);
}

void NamedLock::lock() {
  while (::flock(impl_->fd, LOCK_EX) != 0) {
    if (errno != EINTR) throw NamedLockError(std::string("Cannot take lock: ") + std::strerror(errno));
  }
  impl_->held = true;
}

void NamedLock::unlock() {
  if (!impl_->held) return;
  ::flock(impl_->fd, LOCK_UN);
  impl_->held = false;
}

}  // namespace quendra::platform
