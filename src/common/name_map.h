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

// A quick hash for short names.
inline uint64_t HashName(std::string_view s) noexcept {
  uint64_t h = 0x9E3779B97F4A7C15u ^ s.size();
  std::size_t i = 0;
  for (; i + 8 <= s.size(); i += 8) {
    uint64_t word;
    std::memcpy(&word, s.data() + i, 8);
    h = (h ^ word) * 0xFF51AFD7ED558CCDu;
    h ^= h >> 32;
  }
  uint64_t tail = 0;
  if (i < s.size()) std::memcpy(&tail, s.data() + i, s.size() - i);
  h = (h ^ tail) * 0xC4CEB9FE1A85EC53u;
  return h ^ (h >> 29);
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
      if (slot.hash == hash && Equal(slot.key, key)) return &slot.value;
    }
  }
  Value* Find(std::string_view key) noexcept { return const_cast<Value*>(std::as_const(*this).Find(key)); }

  // Stores `value` under `key` unless the key is there already; returns the stored value.
  Value& Insert(std::string_view key, Value value) {
    if ((size_ + 1) * 2 > slots_.size()) Grow();
    const uint64_t hash = HashName(key);
    std::size_t i = hash & mask_;
    for (; slots_[i].used; i = (i + 1) & mask_) {
      if (slots_[i].hash == hash && Equal(slots_[i].key, key)) return slots_[i].value;
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

  // Names are short: compared in place rather than through a library call.
  static bool Equal(std::string_view a, std::string_view b) noexcept {
    if (a.size() != b.size()) return false;
    if (a.size() > 32) return a == b;
    for (std::size_t i = 0; i < a.size(); ++i)
      if (a[i] != b[i]) return false;
    return true;
  }

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
