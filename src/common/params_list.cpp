#include "common/params_list.h"

#include <cstring>
#include <new>

#include "common/errors.h"
#include "platform/ansi_codepage.h"
#include "platform/guid.h"
#include "platform/shared_heap.h"

namespace quendra {

namespace {

void QUENDRA_CALL clear_list(void* self) { static_cast<TzelParamsList*>(self)->Clear(); }
void QUENDRA_CALL destroy_list(void* self) { TzelParamsList::destroy(static_cast<TzelParamsList*>(self)); }
void QUENDRA_CALL no_op(void*) {}

constexpr QuendraClassRec kParamsListClass{QUENDRA_PARAMS_LIST_CLASS, clear_list, destroy_list};
constexpr QuendraClassRec kRowsListClass{QUENDRA_ROWS_LIST_CLASS, clear_list, destroy_list};
constexpr QuendraClassRec kItemClass{QUENDRA_PARAMS_ITEM_CLASS, no_op, no_op};

bool is_trim_char(char c) { return static_cast<unsigned char>(c) <= 32; }

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && is_trim_char(s.front())) s.remove_prefix(1);
  while (!s.empty() && is_trim_char(s.back())) s.remove_suffix(1);
  return s;
}

// Items compare by LowerName, the name in the code page's lower case; the key is made the same way, so a name
// always finds its own item, letters outside A..Z included.
std::string lookup_key(std::string_view name) { return platform::AnsiCodePage::System().ToLower(name); }

TzelParamsListItem* new_item(std::string_view name, const OleVariant& value) {
  void* block = platform::shared_alloc(sizeof(TzelParamsListItem));
  auto* item = static_cast<TzelParamsListItem*>(block);
  std::memset(block, 0, sizeof(TzelParamsListItem));
  try {
    new (&item->Value) OleVariant(value);
    item->Value.widen_ansi_text();
    item->ClassRec = &kItemClass;
    item->Name = ansi::make(name);
    item->LowerName = ansi::make(lookup_key(name));
    item->State = kItemStateAdded;
  } catch (...) {
    item->Value.~OleVariant();
    ansi::release(item->Name);
    platform::shared_free(block);
    throw;
  }
  return item;
}

void free_item(TzelParamsListItem* item) noexcept {
  if (!item) return;
  ansi::release(item->Name);
  ansi::release(item->LowerName);
  item->Value.~OleVariant();
  platform::shared_free(item);
}

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

TzelParamsListItem* TzelParamsList::Add(std::string_view name, const OleVariant& value) {
  if (trimmed(name).empty()) return nullptr;
  if (count_ == capacity_) {
    // Detect and prevent integer overflow of the 32-bit capacity.
    if (capacity_ > INT32_MAX / 2) throw std::bad_alloc();
    int32_t grown = capacity_ < 8 ? 8 : capacity_ * 2;
    items_ = static_cast<TzelParamsListItem**>(
        platform::shared_realloc(items_, static_cast<std::size_t>(grown) * sizeof(TzelParamsListItem*)));
    capacity_ = grown;
  }
  TzelParamsListItem* item = new_item(name, value);
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

TzelParamsListItem* TzelParamsList::SetValue(std::string_view name, const OleVariant& value, bool add_if_missing) {
  TzelParamsListItem* item = FindItem(name);
  if (!item && add_if_missing) item = Add(name, OleVariant::null());
  if (!item) return nullptr;
  item->Value = value;
  item->Value.widen_ansi_text();
  return item;
}

TzelParamsListItem* TzelParamsList::AddItemCopy(const TzelParamsListItem* item) {
  return item ? Add(item->name(), item->Value) : nullptr;
}

bool TzelParamsList::AppendList(const TzelParamsList* source) {
  if (!source) return false;
  source->check_magic();
  if (source->empty()) return false;
  // Count first: appending a list to itself must copy only what was there.
  const int32_t n = source->count_;
  for (int32_t i = 0; i < n; ++i) AddItemCopy(source->items_[i]);
  return true;
}

void TzelParamsList::AddNewRow() { Add(kNewRow, OleVariant::null()); }

bool TzelParamsList::AppendRow(const TzelParamsList* source) {
  bool copied = AppendList(source);
  if (copied && !source->items_[source->count_ - 1]->is_row_marker()) AddNewRow();
  return copied;
}

void TzelParamsList::Delete(int32_t index) noexcept {
  if (index < 0 || index >= count_) return;
  TzelParamsListItem* item = items_[index];
  items_[index] = nullptr;
  free_item(item);
  std::memmove(items_ + index, items_ + index + 1, static_cast<std::size_t>(count_ - index - 1) * sizeof(*items_));
  --count_;
}

void TzelParamsList::Clear() noexcept {
  for (int32_t i = 0; i < count_; ++i) {
    TzelParamsListItem* item = items_[i];
    items_[i] = nullptr;
    free_item(item);
  }
  platform::shared_free(items_);
  items_ = nullptr;
  count_ = 0;
  capacity_ = 0;
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
