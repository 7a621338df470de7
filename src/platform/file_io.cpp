#include "platform/file_io.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>

namespace quendra::platform {

namespace {

// The seam costs production one relaxed load per call: the mutex is only taken while faults are set.
std::atomic<bool> g_faults_set{false};
std::mutex g_faults_lock;
std::optional<FileFaults> g_faults;

}  // namespace

void set_file_faults(std::optional<FileFaults> faults) {
  const std::lock_guard<std::mutex> guard(g_faults_lock);
  g_faults = std::move(faults);
  g_faults_set.store(g_faults.has_value());
}

namespace detail {

bool fault_refuses_create() {
  if (!g_faults_set.load(std::memory_order_relaxed)) return false;
  const std::lock_guard<std::mutex> guard(g_faults_lock);
  return g_faults && g_faults->read_only;
}

std::size_t fault_write_allowance(std::size_t wanted) {
  if (!g_faults_set.load(std::memory_order_relaxed)) return wanted;
  const std::lock_guard<std::mutex> guard(g_faults_lock);
  if (!g_faults || !g_faults->free_bytes) return wanted;
  const std::size_t allowed = wanted < *g_faults->free_bytes ? wanted : *g_faults->free_bytes;
  *g_faults->free_bytes -= allowed;
  return allowed;
}

}  // namespace detail

namespace {

void fault_while_reading(const std::string& path) {
  if (!g_faults_set.load(std::memory_order_relaxed)) return;
  std::function<void(const std::string&)> hook;
  {
    const std::lock_guard<std::mutex> guard(g_faults_lock);
    if (g_faults) hook = g_faults->while_reading;
  }
  if (hook) hook(path);  // Outside the lock: the hook may write files itself.
}

}  // namespace

std::optional<std::string> read_whole_file(const std::string& path) {
  if (!file_exists(path)) return std::nullopt;
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!file) throw FileError("Cannot open " + path + ": " + std::strerror(errno));
  std::string data;
  char buf[65536];
  // One open file is read to its end: a file renamed over the path meanwhile is not mixed in.
  for (bool first = true;; first = false) {
    const std::size_t n = std::fread(buf, 1, sizeof buf, file.get());
    data.append(buf, n);
    if (first) fault_while_reading(path);
    if (n < sizeof buf) break;
  }
  if (std::ferror(file.get())) throw FileError("Cannot read " + path);
  return data;
}

}  // namespace quendra::platform
