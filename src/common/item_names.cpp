#include "common/item_names.h"

#include <deque>
#include <mutex>

#include "common/ansi_string.h"
#include "common/name_map.h"
#include "platform/ansi_codepage.h"

namespace quendra {

namespace {

// Received data chooses the names: the table stops growing at these bounds and never shrinks.
constexpr std::size_t kMaxNames = 4096;
constexpr std::size_t kMaxNameLength = 128;

class NameTable {
 public:
  ~NameTable() {
    for (const ItemName& name : entries_) {
      if (name.LowerName != name.Name) ansi::free_constant(name.LowerName);
      ansi::free_constant(name.Name);
    }
  }

  const ItemName* Find(std::string_view name) {
    std::lock_guard lock(mutex_);
    if (const ItemName* const* found = index_.Find(name)) return *found;
    if (index_.size() >= kMaxNames) return nullptr;
    std::string lower = platform::AnsiCodePage::System().ToLower(name);
    ItemName entry{ansi::make_constant(name), nullptr};
    try {
      entry.LowerName = lower == name ? entry.Name : ansi::make_constant(lower);
      const ItemName* stored = &entries_.emplace_back(entry);
      index_.Insert(name, stored);
      return stored;
    } catch (...) {
      if (entry.LowerName && entry.LowerName != entry.Name) ansi::free_constant(entry.LowerName);
      ansi::free_constant(entry.Name);
      if (!entries_.empty() && entries_.back().Name == entry.Name) entries_.pop_back();
      throw;
    }
  }

 private:
  std::mutex mutex_;
  std::deque<ItemName> entries_;  // addresses stay put as it grows
  NameMap<const ItemName*> index_;
};

NameTable& table() {
  static NameTable names;
  return names;
}

}  // namespace

const ItemName* InternItemName(std::string_view name) {
  if (name.empty() || name.size() > kMaxNameLength) return nullptr;
  return table().Find(name);
}

void StartItemNames() {
  table();
}

}  // namespace quendra
