#include "common/params_list.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <new>
#include <optional>

#include "common/errors.h"
#include "platform/ansi_codepage.h"
#include "platform/guid.h"
#include "platform/shared_heap.h"

namespace quendra {

namespace {

void QUENDRA_CALL clear_list(void* self) {
  static_cast<TzelParamsList*>(self)->Clear();
}
void QUENDRA_CALL destroy_list(void* self) {
  TzelParamsList::destroy(static_cast<TzelParamsList*>(self));
}
void QUENDRA_CALL no_op(void*) {}

constexpr QuendraClassRec kParamsListClass{QUENDRA_PARAMS_LIST_CLASS, clear_list, destroy_list};
constexpr QuendraClassRec kRowsListClass{QUENDRA_ROWS_LIST_CLASS, clear_list, destroy_list};
constexpr QuendraClassRec kItemClass{QUENDRA_PARAMS_ITEM_CLASS, no_op, no_op};

bool is_trim_char(char c) {
  return static_cast<unsigned char>(c) <= 32;
}

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && is_trim_char(s.front())) s.remove_prefix(1);
  while (!s.empty() && is_trim_char(s.back())) s.remove_suffix(1);
  return s;
}

// Items compare by LowerName, the name in the code page's lower case; the key is made the same way, so a name
// always finds its own item, letters outside A..Z included.
std::string lookup_key(std::string_view name) {
  return platform::AnsiCodePage::System().ToLower(name);
}

// The code page's lower case of `name` as a counted string; the name's own string when lower-casing changes
// nothing (counted strings are shared by reference, so the item then makes one string instead of two).
QuendraAnsiStr make_lower_name(std::string_view name, QuendraAnsiStr made_name) {
  const auto& lower = platform::AnsiCodePage::System().lower_table();
  std::size_t i = 0;
  while (i < name.size() && lower[static_cast<unsigned char>(name[i])] == static_cast<unsigned char>(name[i]))
    ++i;
  if (i == name.size()) return ansi::retain(made_name);
  QuendraAnsiStr lowered = ansi::make(name);
  // A fresh string is ours alone until it is stored, so it may be written in place.
  platform::AnsiCodePage::System().ToLower(const_cast<char*>(lowered) + i, name.size() - i);
  return lowered;
}

// Items of this side's own lists (which the host only reads and never frees) carry a hidden header in front
// of them: copies of a text value made for rows share one string through it instead of copying the text once
// per row. Items this side adds to a host's list are plain blocks that the host may free.
constexpr QuendraClassRec kOwnItemClass{QUENDRA_PARAMS_ITEM_CLASS, no_op, no_op};

bool is_own_list(const QuendraClassRec* cls) {
  return cls == &kParamsListClass || cls == &kRowsListClass;
}

// A value whose bits several items hold; the last item to let go clears it.
struct SharedValue {
  std::atomic<int32_t> refs;
  OleVariant value;
};

// The items copied for one row are made in one allocation; the block goes when its last item does.
struct alignas(8) ItemBlock {
  std::atomic<int32_t> refs;
};

struct alignas(8) ItemHeader {
  std::atomic<SharedValue*> shared;
  ItemBlock* block;  // null: the item was allocated alone
};
constexpr std::size_t kSlotSize = sizeof(ItemHeader) + sizeof(TzelParamsListItem);
static_assert(sizeof(ItemHeader) % alignof(TzelParamsListItem) == 0);

ItemHeader* header_of(TzelParamsListItem* item) {
  return reinterpret_cast<ItemHeader*>(reinterpret_cast<char*>(item) - sizeof(ItemHeader));
}

void release_shared(SharedValue* shared) noexcept {
  if (shared->refs.fetch_sub(1, std::memory_order_acq_rel) != 1) return;
  shared->~SharedValue();
  platform::shared_free(shared);
}

// Lets go of the item's value: clears its own, or forgets the bits of a shared one.
void drop_value(TzelParamsListItem* item) noexcept {
  if (item->ClassRec == &kOwnItemClass) {
    // Changing or freeing an item is a write to its list, which no other thread makes or reads at the
    // same time: a plain load will do.
    std::atomic<SharedValue*>& slot = header_of(item)->shared;
    if (SharedValue* shared = slot.load(std::memory_order_acquire)) {
      slot.store(nullptr, std::memory_order_relaxed);
      std::memset(static_cast<void*>(&item->Value), 0, sizeof(item->Value));
      release_shared(shared);
      return;
    }
  }
  item->Value.clear();
}

// The item's value as a shared one, with a reference taken for a copy. An item that still owns its value
// hands the value's bits over to a new SharedValue that it references itself.
SharedValue* share_value(TzelParamsListItem& item) {
  ItemHeader* header = header_of(&item);
  SharedValue* shared = header->shared.load(std::memory_order_acquire);
  if (!shared) {
    auto* made = static_cast<SharedValue*>(platform::shared_alloc(sizeof(SharedValue)));
    new (made) SharedValue{};
    made->refs.store(1, std::memory_order_relaxed);
    std::memcpy(static_cast<void*>(&made->value), &item.Value, sizeof(item.Value));
    if (header->shared.compare_exchange_strong(shared, made, std::memory_order_acq_rel)) {
      shared = made;
    } else {
      // Another copy shared it first: this shell never owned the bits.
      std::memset(static_cast<void*>(&made->value), 0, sizeof(made->value));
      release_shared(made);
    }
  }
  shared->refs.fetch_add(1, std::memory_order_relaxed);
  return shared;
}

// A zeroed item with an empty value at `at`; `own` puts the header of an own list's item in front of it.
TzelParamsListItem* init_item(char* at, bool own, ItemBlock* block) {
  const std::size_t prefix = own ? sizeof(ItemHeader) : 0;
  std::memset(at, 0, prefix + sizeof(TzelParamsListItem));
  if (own) new (at) ItemHeader{nullptr, block};
  auto* item = reinterpret_cast<TzelParamsListItem*>(at + prefix);
  new (&item->Value) OleVariant();
  item->ClassRec = own ? &kOwnItemClass : &kItemClass;
  item->State = kItemStateAdded;
  return item;
}

TzelParamsListItem* alloc_item(bool own) {
  const std::size_t size = (own ? sizeof(ItemHeader) : 0) + sizeof(TzelParamsListItem);
  return init_item(static_cast<char*>(platform::shared_alloc(size)), own, nullptr);
}

void release_block(ItemBlock* block, int32_t count) noexcept {
  if (block->refs.fetch_sub(count, std::memory_order_acq_rel) == count) platform::shared_free(block);
}

// References to slab blocks given back together: freeing a list's items in order meets each block's items
// one after another, so one count change per block does instead of one per item.
class BlockReleases {
 public:
  BlockReleases() = default;
  BlockReleases(const BlockReleases&) = delete;
  BlockReleases& operator=(const BlockReleases&) = delete;
  ~BlockReleases() { flush(); }

  void add(ItemBlock* block) noexcept {
    if (block != block_) {
      flush();
      block_ = block;
    }
    ++count_;
  }
  void flush() noexcept {
    if (block_) release_block(block_, count_);
    block_ = nullptr;
    count_ = 0;
  }

 private:
  ItemBlock* block_ = nullptr;
  int32_t count_ = 0;
};

void free_item(TzelParamsListItem* item, BlockReleases* releases = nullptr) noexcept {
  if (!item) return;
  ansi::release(item->Name);
  ansi::release(item->LowerName);
  drop_value(item);
  item->Value.~OleVariant();
  if (item->ClassRec != &kOwnItemClass) {
    platform::shared_free(item);
  } else if (ItemBlock* block = header_of(item)->block) {
    if (releases) {
      releases->add(block);
    } else {
      release_block(block, 1);
    }
  } else {
    platform::shared_free(header_of(item));
  }
}

}  // namespace

ItemSlab::ItemSlab(int32_t run) : run_(run > 0 ? run : 1) {}

ItemSlab::~ItemSlab() {
  if (next_ < count_) release_block(static_cast<ItemBlock*>(block_), count_ - next_);
}

char* ItemSlab::next_slot() {
  if (next_ == count_) {
    // A run is counted as taken in full; the slab gives back what it did not hand out.
    auto* block = static_cast<ItemBlock*>(
        platform::shared_alloc(sizeof(ItemBlock) + static_cast<std::size_t>(run_) * kSlotSize));
    new (block) ItemBlock{};
    block->refs.store(run_, std::memory_order_relaxed);
    block_ = block;
    count_ = run_;
    next_ = 0;
  }
  return reinterpret_cast<char*>(static_cast<ItemBlock*>(block_) + 1) +
         static_cast<std::size_t>(next_++) * kSlotSize;
}

TzelParamsListItem* ItemSlab::take() {
  char* at = next_slot();
  return init_item(at, true, static_cast<ItemBlock*>(block_));
}

TzelParamsListItem* ItemSlab::take_copy_of(const TzelParamsListItem& source) {
  char* at = next_slot();
  new (at) ItemHeader{nullptr, static_cast<ItemBlock*>(block_)};
  auto* item = reinterpret_cast<TzelParamsListItem*>(at + sizeof(ItemHeader));
  std::memcpy(static_cast<void*>(item), &source, sizeof(TzelParamsListItem));
  return item;
}

namespace {

TzelParamsListItem* new_item(bool own, std::string_view name, OleVariant&& value) {
  TzelParamsListItem* item = alloc_item(own);
  try {
    item->Value = std::move(value);
    item->Value.widen_ansi_text();
    item->Name = ansi::make(name);
    item->LowerName = make_lower_name(name, item->Name);
  } catch (...) {
    free_item(item);
    throw;
  }
  return item;
}

// A list of the other side keeps names only it counts: a constant string of this library is copied for it.
QuendraAnsiStr name_for(QuendraAnsiStr name, bool own) {
  return own || !ansi::is_constant(name) ? ansi::retain(name) : ansi::make(ansi::view(name));
}

// `item` (a fresh own item) holds the value of `source` (an own item) by sharing it.
void take_shared_value(TzelParamsListItem& item, TzelParamsListItem& source) {
  SharedValue* shared = share_value(source);
  header_of(&item)->shared.store(shared, std::memory_order_relaxed);
  std::memcpy(static_cast<void*>(&item.Value), &shared->value, sizeof(item.Value));
}

bool is_shareable(const OleVariant& value) {
  return value.type() == VarType::OleStr && value.wide_view().size() > 0;
}

// A copy of an item this side made: its names are shared by reference; a text value is shared too when both
// items belong to own lists, and copied otherwise.
TzelParamsListItem* copy_own_item(TzelParamsListItem& source, bool own, ItemSlab* slots) {
  TzelParamsListItem* item = nullptr;
  if (slots && own && source.ClassRec == &kOwnItemClass) {
    // Between this side's own lists: the item's bits are copied whole, then its names counted once more.
    item = slots->take_copy_of(source);
    ansi::retain(item->Name);
    ansi::retain(item->LowerName);
    if (item->Value.is_plain()) return item;
    new (&item->Value) OleVariant();  // the source's value is not the copy's until it is shared or copied
  } else {
    item = slots ? slots->take() : alloc_item(own);
    try {
      item->Name = name_for(source.Name, own);
      item->LowerName =
          source.LowerName == source.Name ? ansi::retain(item->Name) : name_for(source.LowerName, own);
    } catch (...) {
      free_item(item);
      throw;
    }
    if (source.Value.is_plain()) {
      std::memcpy(static_cast<void*>(&item->Value), &source.Value, sizeof(item->Value));
      return item;
    }
  }
  try {
    if (own && source.ClassRec == &kOwnItemClass && is_shareable(source.Value)) {
      take_shared_value(*item, source);
    } else {
      item->Value = source.Value;
      item->Value.widen_ansi_text();
    }
  } catch (...) {
    free_item(item);
    throw;
  }
  return item;
}

// The row marker's names, constant counted strings (a negative count: never freed) in the shared layout.
struct ConstantName {
  int32_t refs;
  uint32_t length;
  char text[12];
};
ConstantName kNewRowName{-1, 9, "$NEW_ROW$"};
ConstantName kNewRowLowerName{-1, 9, "$new_row$"};
static_assert(kNewRow.size() == 9);

}  // namespace

static_assert(sizeof(TzelParamsListItem) == sizeof(QuendraParamsItem));
static_assert(offsetof(TzelParamsListItem, State) == offsetof(QuendraParamsItem, State));
static_assert(offsetof(TzelParamsListItem, Value) == offsetof(QuendraParamsItem, Value));
static_assert(sizeof(TzelParamsList) == sizeof(QuendraParamsList));
static_assert(sizeof(TzelRowsParamsList) == sizeof(QuendraRowsParamsList));
#if defined(_WIN32) && !defined(_WIN64)
// The i686 product shares these exact layouts with its hosts.
static_assert(sizeof(QuendraParamsItem) == 40 && offsetof(QuendraParamsItem, Name) == 4 &&
              offsetof(QuendraParamsItem, LowerName) == 8 && offsetof(QuendraParamsItem, Reserved12) == 12 &&
              offsetof(QuendraParamsItem, State) == 16 && offsetof(QuendraParamsItem, Value) == 24);
static_assert(sizeof(QuendraParamsList) == 28 && offsetof(QuendraParamsList, Items) == 4 &&
              offsetof(QuendraParamsList, Count) == 8 && offsetof(QuendraParamsList, Capacity) == 12 &&
              offsetof(QuendraParamsList, Magic) == 16 && offsetof(QuendraParamsList, ListID) == 20 &&
              offsetof(QuendraParamsList, Reserved24) == 24);
static_assert(sizeof(QuendraRowsParamsList) == 32 && offsetof(QuendraRowsParamsList, Reserved28) == 28);
static_assert(sizeof(QuendraVariant) == 16);
#endif

void TzelParamsList::init(TzelParamsList* list, const QuendraClassRec* cls) {
  list->class_rec_ = cls;
  list->items_ = nullptr;
  list->count_ = 0;
  list->capacity_ = 0;
  list->reserved24_ = nullptr;
  list->list_id_ = nullptr;
  list->magic_ = QUENDRA_LIST_MAGIC;
  list->list_id_ = ansi::make(platform::new_guid_text());
}

TzelParamsList* TzelParamsList::create() {
  auto* list = static_cast<TzelParamsList*>(platform::shared_alloc(sizeof(TzelParamsList)));
  try {
    init(list, &kParamsListClass);
  } catch (...) {
    platform::shared_free(list);
    throw;
  }
  return list;
}

TzelRowsParamsList* TzelRowsParamsList::create() {
  auto* list = static_cast<TzelRowsParamsList*>(platform::shared_alloc(sizeof(TzelRowsParamsList)));
  try {
    init(list, &kRowsListClass);
    list->reserved28_ = nullptr;
  } catch (...) {
    platform::shared_free(list);
    throw;
  }
  return list;
}

void TzelParamsList::destroy(TzelParamsList* list) noexcept {
  if (!list) return;
  list->magic_ = 0;
  list->Clear();
  ansi::release(list->list_id_);
  list->list_id_ = nullptr;
  platform::shared_free(list);
}

bool TzelParamsList::is_valid(const QuendraParamsList* list) noexcept {
  return list && list->Magic == QUENDRA_LIST_MAGIC;
}

std::string_view TzelParamsList::class_name() const noexcept {
  return class_rec_ && class_rec_->ClassName ? std::string_view(class_rec_->ClassName) : std::string_view();
}

bool TzelParamsList::is_rows_list() const noexcept {
  std::string_view name = class_name();
  constexpr std::string_view rows = QUENDRA_ROWS_LIST_CLASS;
  if (name.size() != rows.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i)
    if ((name[i] | 0x20) != (rows[i] | 0x20)) return false;
  return true;
}

void TzelParamsList::check_magic() const {
  if (magic_ != QUENDRA_LIST_MAGIC) throw AssertionFailure(kParamListUnit);
}

TzelParamsListItem* TzelParamsList::GetItem(int32_t index) const noexcept {
  return index >= 0 && index < count_ ? items_[index] : nullptr;
}

void TzelParamsList::reserve(int32_t count) {
  if (count <= capacity_) return;
  int32_t grown = capacity_ < 8 ? 8 : capacity_;
  while (grown < count) {
    // Detect and prevent integer overflow of the 32-bit capacity.
    if (grown > INT32_MAX / 2) throw std::bad_alloc();
    grown *= 2;
  }
  items_ = static_cast<TzelParamsListItem**>(
      platform::shared_realloc(items_, static_cast<std::size_t>(grown) * sizeof(TzelParamsListItem*)));
  capacity_ = grown;
}

TzelParamsListItem* TzelParamsList::Add(std::string_view name, const OleVariant& value) {
  if (trimmed(name).empty()) return nullptr;
  return Add(name, OleVariant(value));
}

TzelParamsListItem* TzelParamsList::Add(std::string_view name, OleVariant&& value) {
  if (trimmed(name).empty()) return nullptr;
  if (count_ == capacity_) reserve(count_ + 1);
  TzelParamsListItem* item = new_item(is_own_list(class_rec_), name, std::move(value));
  items_[count_++] = item;
  return item;
}

TzelParamsListItem* TzelParamsList::Add(const ItemName& name, OleVariant&& value, ItemSlab* room) {
  if (trimmed(ansi::view(name.Name)).empty()) return nullptr;
  if (count_ == capacity_) reserve(count_ + 1);
  const bool own = is_own_list(class_rec_);
  TzelParamsListItem* item = own && room ? room->take() : alloc_item(own);
  try {
    item->Value = std::move(value);
    item->Value.widen_ansi_text();
    item->Name = name_for(name.Name, own);
    item->LowerName = name.LowerName == name.Name ? ansi::retain(item->Name) : name_for(name.LowerName, own);
  } catch (...) {
    free_item(item);
    throw;
  }
  items_[count_++] = item;
  return item;
}

TzelParamsListItem* TzelParamsList::AddSameValue(const ItemName& name, TzelParamsListItem& source) {
  if (!is_own_list(class_rec_) || source.ClassRec != &kOwnItemClass || !is_shareable(source.Value))
    return Add(name, OleVariant(source.Value));
  if (trimmed(ansi::view(name.Name)).empty()) return nullptr;
  if (count_ == capacity_) reserve(count_ + 1);
  TzelParamsListItem* item = alloc_item(true);
  item->Name = name.Name;
  item->LowerName = name.LowerName;
  take_shared_value(*item, source);
  items_[count_++] = item;
  return item;
}

int32_t TzelParamsList::IndexOfName(std::string_view name, int32_t first, int32_t last) const {
  check_magic();
  if (count_ <= 0) return -1;
  const std::string key = lookup_key(name);
  const bool within_row = last == -2;
  if (first < 0) first = 0;
  if (last < 0 || last >= count_) last = count_ - 1;
  for (int32_t i = first; i <= last; ++i) {
    const TzelParamsListItem* item = items_[i];
    if (ansi::view(item->LowerName) == key) return i;
    if (within_row && item->is_row_marker()) return -1;
  }
  return -1;
}

TzelParamsListItem* TzelParamsList::FindItem(std::string_view name, int32_t first, int32_t last) const {
  if (count_ <= 0) return nullptr;
  return GetItem(IndexOfName(name, first, last));
}

OleVariant TzelParamsList::GetValue(std::string_view name, int32_t first, int32_t last) const {
  if (const TzelParamsListItem* item = FindItem(name, first, last)) return item->Value;
  return {};
}

TzelParamsListItem* TzelParamsList::SetValue(std::string_view name, const OleVariant& value,
                                             bool add_if_missing) {
  TzelParamsListItem* item = FindItem(name);
  if (!item && add_if_missing) item = Add(name, OleVariant::null());
  if (!item) return nullptr;
  item->SetItemValue(value);
  item->Value.widen_ansi_text();
  return item;
}

TzelParamsListItem* TzelParamsList::AddItemCopy(const TzelParamsListItem* item) {
  return add_copy(item, nullptr);
}

TzelParamsListItem* TzelParamsList::add_copy(const TzelParamsListItem* item, ItemSlab* slots) {
  if (!item) return nullptr;
  // Another side's item may spell its lower-case name its own way: that one is made anew.
  if (item->ClassRec != &kItemClass && item->ClassRec != &kOwnItemClass)
    return Add(item->name(), item->Value);
  // This side's items got past Add's check of the name when they were made, and names never change.
  if (count_ == capacity_) reserve(count_ + 1);
  TzelParamsListItem* copy =
      copy_own_item(*const_cast<TzelParamsListItem*>(item), is_own_list(class_rec_), slots);
  items_[count_++] = copy;
  return copy;
}

bool TzelParamsList::AppendList(const TzelParamsList* source) {
  return append_items(source, false, nullptr);
}

bool TzelParamsList::AppendRow(const TzelParamsList* source) {
  return append_items(source, true, nullptr);
}

bool TzelParamsList::append_items(const TzelParamsList* source, bool as_row, ItemSlab* room) {
  if (!source) return false;
  source->check_magic();
  if (source->empty()) return false;
  // Count first: appending a list to itself must copy only what was there.
  const int32_t n = source->count_;
  if (n > INT32_MAX - count_ - 1) throw std::bad_alloc();
  reserve(count_ + n + 1);
  const bool marker = as_row && !source->items_[n - 1]->is_row_marker();
  std::optional<ItemSlab> slab;
  // Slabs make items of this side's own lists; a host's list gets plain blocks it may free itself.
  if (!is_own_list(class_rec_)) {
    room = nullptr;
  } else if (!room) {
    room = &slab.emplace(n + (marker ? 1 : 0));
  }
  for (int32_t i = 0; i < n; ++i) add_copy(source->items_[i], room);
  if (marker) add_row_marker(room);
  return true;
}

bool TzelParamsList::AppendRowTaking(TzelParamsList& source, int32_t first_taken, ItemSlab& room) {
  source.check_magic();
  if (source.empty()) return false;
  const int32_t n = source.count_;
  first_taken = std::clamp(first_taken, 0, n);
  if (&source == this || !is_own_list(class_rec_) || !is_own_list(source.class_rec_)) {
    append_items(&source, true, &room);
    while (source.count_ > first_taken) source.Delete(source.count_ - 1);
    return true;
  }
  if (n > INT32_MAX - count_ - 1) throw std::bad_alloc();
  reserve(count_ + n + 1);
  const bool marker = !source.items_[n - 1]->is_row_marker();
  for (int32_t i = 0; i < first_taken; ++i) add_copy(source.items_[i], &room);
  const auto taken = static_cast<std::size_t>(n - first_taken);
  std::memcpy(items_ + count_, source.items_ + first_taken, taken * sizeof(*items_));
  count_ += n - first_taken;
  source.count_ = first_taken;
  if (marker) add_row_marker(&room);
  return true;
}

bool TzelParamsList::TakeItems(TzelParamsList& source) {
  source.check_magic();
  if (source.empty() || &source == this) return false;
  if (is_own_list(class_rec_) != is_own_list(source.class_rec_)) {
    // Items change hands only between lists of the same side.
    AppendList(&source);
    source.Clear();
    return true;
  }
  if (count_ == 0) {
    // The source's array changes hands; this list's spare one goes to the source for its next items.
    std::swap(items_, source.items_);
    std::swap(capacity_, source.capacity_);
    count_ = source.count_;
  } else {
    if (source.count_ > INT32_MAX - count_) throw std::bad_alloc();
    reserve(count_ + source.count_);
    std::memcpy(items_ + count_, source.items_, static_cast<std::size_t>(source.count_) * sizeof(*items_));
    count_ += source.count_;
  }
  source.count_ = 0;
  return true;
}

void TzelParamsList::AddNewRow() {
  add_row_marker(nullptr);
}

void TzelParamsList::add_row_marker(ItemSlab* slots) {
  if (count_ == capacity_) reserve(count_ + 1);
  TzelParamsListItem* item = slots ? slots->take() : alloc_item(is_own_list(class_rec_));
  item->Value = OleVariant::null();
  item->Name = const_cast<char*>(kNewRowName.text);
  item->LowerName = const_cast<char*>(kNewRowLowerName.text);
  items_[count_++] = item;
}

void TzelParamsList::Delete(int32_t index) noexcept {
  if (index < 0 || index >= count_) return;
  TzelParamsListItem* item = items_[index];
  items_[index] = nullptr;
  free_item(item);
  std::memmove(items_ + index, items_ + index + 1,
               static_cast<std::size_t>(count_ - index - 1) * sizeof(*items_));
  --count_;
}

void TzelParamsList::Clear() noexcept {
  BlockReleases releases;
  for (int32_t i = 0; i < count_; ++i) {
    TzelParamsListItem* item = items_[i];
    items_[i] = nullptr;
    free_item(item, &releases);
  }
  releases.flush();
  platform::shared_free(items_);
  items_ = nullptr;
  count_ = 0;
  capacity_ = 0;
}

void TzelParamsListItem::SetItemValue(const OleVariant& value) {
  OleVariant copy(value);  // `value` may be this item's own
  drop_value(this);
  Value = std::move(copy);
}

std::optional<std::string> TzelParamsList::text(std::string_view name) const {
  OleVariant value = GetValue(name);
  if (value.is_missing()) return std::nullopt;
  return value.to_ansi();
}

std::optional<int64_t> TzelParamsList::integer(std::string_view name) const {
  OleVariant value = GetValue(name);
  if (value.is_missing()) return std::nullopt;
  return value.to_int64();
}

}  // namespace quendra
