// A small hash map from short texts (element and value names) to values, for lookups made once per value on
// the data path: open addressing in one array, no division, looked up by string view without a copy.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quendra {

namespace name_map_detail {

// Reads of 1 to 8 bytes as one word, without a loop or a library call.
inline uint64_t Load(const char* p, std::size_t n) noexcept {
  uint64_t word = 0;
  if (n >= 8) {
    std::memcpy(&word, p, 8);
  } else if (n >= 4) {
    uint32_t head;
    uint32_t tail;
    std::memcpy(&head, p, 4);
    std::memcpy(&tail, p + n - 4, 4);
    word = (uint64_t{tail} << 32) | head;
  } else if (n > 0) {
    word = (uint64_t{static_cast<unsigned char>(p[0])} << 16) |
           (uint64_t{static_cast<unsigned char>(p[n / 2])} << 8) | static_cast<unsigned char>(p[n - 1]);
  }
  return word;
}

}  // namespace name_map_detail

// A quick hash for short names.
inline uint64_t HashName(std::string_view s) noexcept {
  const char* p = s.data();
  std::size_t n = s.size();
  uint64_t h = 0x9E3779B97F4A7C15u ^ n;
  for (; n > 8; n -= 8, p += 8) {
    uint64_t word;
    std::memcpy(&word, p, 8);
    h = (h ^ word) * 0xFF51AFD7ED558CCDu;
    h ^= h >> 32;
  }
  h = (h ^ name_map_detail::Load(p, n)) * 0xC4CEB9FE1A85EC53u;
  return h ^ (h >> 29);
}

// Equality of short names, compared in place rather than through a library call.
inline bool EqualNames(std::string_view a, std::string_view b) noexcept {
  const std::size_t n = a.size();
  if (n != b.size()) return false;
  if (n > 16) return a == b;
  using name_map_detail::Load;
  // Up to 16 bytes: the first and the last (at most) eight, which overlap in shorter names.
  const std::size_t head = n < 8 ? n : 8;
  if (Load(a.data(), head) != Load(b.data(), head)) return false;
  return n <= 8 || Load(a.data() + n - 8, 8) == Load(b.data() + n - 8, 8);
}

template <typename Value>
class NameMap {
 public:
  // The value stored under `key`, or null.
  const Value* Find(std::string_view key) const noexcept {
    if (slots_.empty()) return nullptr;
    const uint64_t hash = HashName(key);
    for (std::size_t i = hash & mask_;; i = (i + 1) & mask_) {
      const Slot& slot = slots_[i];
      if (!slot.used) return nullptr;
      if (slot.hash == hash && EqualNames(slot.key, key)) return &slot.value;
    }
  }
  Value* Find(std::string_view key) noexcept { return const_cast<Value*>(std::as_const(*this).Find(key)); }

  // Stores `value` under `key` unless the key is there already; returns the stored value.
  Value& Insert(std::string_view key, Value value) {
    if ((size_ + 1) * 2 > slots_.size()) Grow();
    const uint64_t hash = HashName(key);
    std::size_t i = hash & mask_;
    for (; slots_[i].used; i = (i + 1) & mask_) {
      if (slots_[i].hash == hash && EqualNames(slots_[i].key, key)) return slots_[i].value;
    }
    slots_[i] = Slot{hash, std::string(key), std::move(value), true};
    ++size_;
    return slots_[i].value;
  }

  std::size_t size() const noexcept { return size_; }
  void clear() noexcept {
    slots_.clear();
    mask_ = 0;
    size_ = 0;
  }

 private:
  struct Slot {
    uint64_t hash = 0;
    std::string key;
    Value value{};
    bool used = false;
  };

  void Grow() {
    std::vector<Slot> old = std::exchange(slots_, std::vector<Slot>(slots_.empty() ? 16 : slots_.size() * 2));
    mask_ = slots_.size() - 1;
    for (Slot& slot : old) {
      if (!slot.used) continue;
      std::size_t i = slot.hash & mask_;
      while (slots_[i].used) i = (i + 1) & mask_;
      slots_[i] = std::move(slot);
    }
  }

  std::vector<Slot> slots_;
  std::size_t mask_ = 0;
  std::size_t size_ = 0;
};

}  // namespace quendra
