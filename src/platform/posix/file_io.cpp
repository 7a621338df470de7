#include "platform/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace quendra::platform {

namespace {

std::string error_text(const std::string& what, const std::string& path) {
  return what + " " + path + ": " + std::strerror(errno);
}

// Follows a chain of symbolic links to the file that is really written.
std::string resolve_links(const std::string& path) {
  std::error_code ec;
  std::filesystem::path p(path);
  for (int hops = 0; hops < 40 && std::filesystem::is_symlink(p, ec); ++hops) {
    const std::filesystem::path target = std::filesystem::read_symlink(p, ec);
    if (ec) break;
    p = target.is_absolute() ? target : p.parent_path() / target;
  }
  return p.string();
}

void sync_directory_of(const std::string& path) {
  std::filesystem::path dir = std::filesystem::path(path).parent_path();
  if (dir.empty()) dir = ".";
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);  // Best effort: the rename is already atomic; this only makes it durable.
  ::close(fd);
}

}  // namespace

bool file_exists(const std::string& path) {
  // Regular files only: opening a FIFO or a device for reading could block or never end.
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string canonical_file_path(const std::string& path) {
  std::error_code ec;
  std::filesystem::path p = std::filesystem::weakly_canonical(std::filesystem::absolute(path, ec), ec);
  if (ec) p = std::filesystem::absolute(path, ec).lexically_normal();
  return p.string();
}

void write_file_atomically(const std::string& path, std::string_view data) {
  static std::atomic<unsigned> counter{0};
  const std::string target = resolve_links(path);
  const std::string temp =
      target + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(counter.fetch_add(1));

  mode_t mode = 0666;
  struct stat st {};
  if (::stat(target.c_str(), &st) == 0) mode = st.st_mode & 07777;

  int fd = -1;
  if (detail::fault_refuses_create()) {
    errno = EROFS;
  } else {
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
  }
  if (fd < 0) throw FileError(error_text("Cannot create", temp));
  const char* p = data.data();
  std::size_t left = data.size();
  bool ok = true;
  while (left > 0) {
    const std::size_t chunk = detail::fault_write_allowance(left);
    if (chunk == 0) {
      errno = ENOSPC;
      ok = false;
      break;
    }
    const ssize_t n = ::write(fd, p, chunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      ok = false;
      break;
    }
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  if (ok && ::fsync(fd) != 0) ok = false;
  const std::string failure = ok ? std::string() : error_text("Cannot write", temp);
  ::close(fd);
  if (!ok) {
    ::unlink(temp.c_str());
    throw FileError(failure);
  }
  if (::rename(temp.c_str(), target.c_str()) != 0) {
    const std::string msg = error_text("Cannot replace", target);
    ::unlink(temp.c_str());
    throw FileError(msg);
  }
  sync_directory_of(target);
}

}  // namespace quendra::platform
