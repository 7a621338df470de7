#include "common/byte_queue.h"

#include <algorithm>
#include <cstring>

namespace quendra {

TFIFOStream::TFIFOStream(std::size_t capacity, std::size_t drop_quantum)
    // Left uninitialised: an idle client's buffer costs resident memory only for the bytes it has received.
    : buffer_(std::make_unique_for_overwrite<char[]>(capacity)),
      capacity_(capacity),
      drop_quantum_(drop_quantum) {}

std::size_t TFIFOStream::Write(const char* bytes, std::size_t count) {
  std::lock_guard lock(mutex_);
  if (count == 0) return 0;
  std::size_t dropped = 0;
  const std::size_t room = capacity_ - size_;
  if (count > room) {
    const std::size_t before = size_;
    Discard(std::max(count - room, drop_quantum_));
    dropped = before - size_;
  }
  if (count > capacity_) {
    // Only the chunk's last `capacity_` bytes fit.
    dropped += count - capacity_;
    bytes += count - capacity_;
    count = capacity_;
  }
  if (begin_ + size_ + count > capacity_) {
    std::memmove(buffer_.get(), buffer_.get() + begin_, size_);
    begin_ = 0;
  }
  std::memcpy(buffer_.get() + begin_ + size_, bytes, count);
  size_ += count;
  return dropped;
}

void TFIFOStream::Discard(std::size_t count) {
  std::lock_guard lock(mutex_);
  count = std::min(count, size_);
  begin_ += count;
  size_ -= count;
  if (size_ == 0) begin_ = 0;
}

std::size_t TFIFOStream::Size() const {
  std::lock_guard lock(mutex_);
  return size_;
}

const char* TFIFOStream::Lock() {
  mutex_.lock();
  return buffer_.get() + begin_;
}

void TFIFOStream::Unlock() {
  mutex_.unlock();
}

std::ptrdiff_t TFIFOStream::Search(std::string_view sign, std::size_t from) const {
  std::lock_guard lock(mutex_);
  if (sign.empty() || from >= size_) return -1;
  const std::string_view held = View();
  const std::size_t at = held.find(sign, from);
  return at == std::string_view::npos ? -1 : static_cast<std::ptrdiff_t>(at);
}

}  // namespace quendra
