// TFIFOStream: a bounded queue of bytes. Appending beyond the capacity drops the oldest bytes instead of
// growing, at least `drop quantum` bytes at a time, so a stalled reader costs memory once and never more.
//
// Every operation takes the queue's re-entrant critical section. Lock() hands out the held bytes, valid until
// the matching Unlock(); a holder may call the other operations meanwhile.
#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <string_view>

namespace quendra {

class TFIFOStream {
 public:
  TFIFOStream(std::size_t capacity, std::size_t drop_quantum);

  // Appends `count` bytes; returns how many bytes were dropped to make room (held bytes from the front, and
  // the front of a chunk longer than the capacity).
  std::size_t Write(const char* bytes, std::size_t count);
  // Removes min(count, Size()) bytes from the front.
  void Discard(std::size_t count);
  std::size_t Size() const;
  std::size_t Capacity() const { return capacity_; }

  const char* Lock();
  void Unlock();
  // The held bytes; call between Lock() and Unlock().
  std::string_view View() const { return {buffer_.get() + begin_, size_}; }

  // Position of the first occurrence of `sign` at or after `from`, byte for byte; -1 when there is none or
  // `sign` is empty.
  std::ptrdiff_t Search(std::string_view sign, std::size_t from = 0) const;

 private:
  mutable std::recursive_mutex mutex_;
  std::unique_ptr<char[]> buffer_;
  std::size_t capacity_;
  std::size_t drop_quantum_;
  // The held bytes start at begin_; they are moved to the front only when an append needs the room, so
  // cutting blocks off the front costs nothing.
  std::size_t begin_ = 0;
  std::size_t size_ = 0;
};

}  // namespace quendra
