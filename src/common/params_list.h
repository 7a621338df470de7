// Ordered lists of named variant values, shared with the host as live objects (layout in
// include/quendra/plugin_api.h). The host creates the list of a call's inputs and this side reads and
// writes it in place; this side hands its own output lists to the host by pointer. Names are matched without
// regard to ASCII letter case; duplicates are allowed and lookups find the first match in their range.
//
// A rows list is the same list used as rows: an item named "$NEW_ROW$" (null value) closes each row.
//
// Objects are made with create() and freed with destroy() (never with delete): items, arrays and names live
// on the shared heap so that the other side of the boundary can free what this side made. A list has no lock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/ansi_string.h"
#include "common/item_names.h"
#include "common/ole_variant.h"
#include "quendra/plugin_api.h"

namespace quendra {

constexpr std::string_view kNewRow = "$NEW_ROW$";
constexpr uint8_t kItemStateAdded = 2;

struct TzelParamsListItem {
  const QuendraClassRec* ClassRec;
  QuendraAnsiStr Name;
  QuendraAnsiStr LowerName;
  void* Reserved12;
  uint8_t State;
  uint8_t Reserved17[7];
  OleVariant Value;

  std::string_view name() const noexcept { return ansi::view(Name); }
  bool is_row_marker() const noexcept { return name() == kNewRow; }
  // Replaces Value by a copy of the argument, without any conversion.
  void SetItemValue(const OleVariant& value);
};

// Room for the items that appends to this side's own lists make (the rows of a block): one allocation for a
// run of items instead of one each. The items outlive the slab; what it did not hand out is given back when
// it goes. One thread at a time.
class ItemSlab {
 public:
  explicit ItemSlab(int32_t run = 128);
  ~ItemSlab();
  ItemSlab(const ItemSlab&) = delete;
  ItemSlab& operator=(const ItemSlab&) = delete;

  // A fresh item; or one holding the bits of `source`, whose names and value the caller then counts or
  // replaces for the copy.
  TzelParamsListItem* take();
  TzelParamsListItem* take_copy_of(const TzelParamsListItem& source);

 private:
  char* next_slot();

  void* block_ = nullptr;
  int32_t run_;
  int32_t count_ = 0;
  int32_t next_ = 0;
};

class TzelParamsList {
 public:
  // An empty list with its validity mark and a fresh ListID. Throws std::bad_alloc.
  static TzelParamsList* create();
  // Clears the validity mark first, then frees the items and the list. Null is ignored.
  static void destroy(TzelParamsList* list) noexcept;

  // True when the object at `list` is a live list (validity mark present).
  static bool is_valid(const QuendraParamsList* list) noexcept;
  // A host's list seen through this class; the layout is shared. Null stays null.
  static TzelParamsList* from(QuendraParamsList* list) noexcept {
    return reinterpret_cast<TzelParamsList*>(list);
  }
  QuendraParamsList* raw() noexcept { return reinterpret_cast<QuendraParamsList*>(this); }

  // Class name from the object header ("TzelParamsList", "TzelRowsParamsList").
  std::string_view class_name() const noexcept;
  bool is_rows_list() const noexcept;

  int32_t Count() const noexcept { return count_; }
  bool empty() const noexcept { return count_ <= 0; }
  uint32_t magic() const noexcept { return magic_; }
  std::string_view list_id() const noexcept { return ansi::view(list_id_); }

  TzelParamsListItem* GetItem(int32_t index) const noexcept;
  // Null when the name is empty after trimming codes 0..32; 8-bit text values are stored as wide text.
  TzelParamsListItem* Add(std::string_view name, const OleVariant& value);
  TzelParamsListItem* Add(std::string_view name, OleVariant&& value);
  // The same with a name made once for the process: the item refers to its constant strings. An own list
  // takes the item from `room` when given.
  TzelParamsListItem* Add(const ItemName& name, OleVariant&& value, ItemSlab* room = nullptr);
  // An item named `name` whose value is the same as `source`'s (an item of this list): a text is shared by
  // both instead of being stored twice.
  TzelParamsListItem* AddSameValue(const ItemName& name, TzelParamsListItem& source);
  // First index in [first, last] whose name matches; last < 0 or >= Count means the end, and last == -2
  // also stops at the first row marker (search within the current row). -1 when none.
  int32_t IndexOfName(std::string_view name, int32_t first = 0, int32_t last = -1) const;
  TzelParamsListItem* FindItem(std::string_view name, int32_t first = 0, int32_t last = -1) const;
  // A copy of the first match's value; empty when there is none.
  OleVariant GetValue(std::string_view name, int32_t first = 0, int32_t last = -1) const;
  // Writes the first match (adding it when missing and asked to); text is stored as wide text.
  TzelParamsListItem* SetValue(std::string_view name, const OleVariant& value, bool add_if_missing);
  TzelParamsListItem* AddItemCopy(const TzelParamsListItem* item);
  bool AppendList(const TzelParamsList* source);
  // Moves every item of `source` to the end of this list without copying; `source` is left empty. False when
  // there was nothing to move.
  bool TakeItems(TzelParamsList& source);
  void AddNewRow();
  bool AppendRow(const TzelParamsList* source);
  // AppendRow followed by deleting the source's items from `first_taken` on, except that those items move
  // into this list instead of being copied and deleted. The copies come from `room`.
  bool AppendRowTaking(TzelParamsList& source, int32_t first_taken, ItemSlab& room);
  void Delete(int32_t index) noexcept;
  void Clear() noexcept;

  // Convenience readers over GetValue: missing (absent, empty or null) gives nullopt.
  std::optional<std::string> text(std::string_view name) const;
  std::optional<int64_t> integer(std::string_view name) const;

 protected:
  TzelParamsList() = default;
  static void init(TzelParamsList* list, const QuendraClassRec* cls);
  void check_magic() const;
  // Room for `count` items in all.
  void reserve(int32_t count);

 private:
  // Copies of items and row markers, from `slots` when given (own lists make a row's items in one block).
  TzelParamsListItem* add_copy(const TzelParamsListItem* item, ItemSlab* slots);
  void add_row_marker(ItemSlab* slots);
  bool append_items(const TzelParamsList* source, bool as_row, ItemSlab* room);

  const QuendraClassRec* class_rec_;
  TzelParamsListItem** items_;
  int32_t count_;
  int32_t capacity_;
  uint32_t magic_;
  QuendraAnsiStr list_id_;
  void* reserved24_;
};

class TzelRowsParamsList : public TzelParamsList {
 public:
  static TzelRowsParamsList* create();
  static void destroy(TzelRowsParamsList* list) noexcept { TzelParamsList::destroy(list); }

 private:
  void* reserved28_;
};

// Owner of a list made by this side.
template <typename List>
struct ListDeleter {
  void operator()(List* list) const noexcept { List::destroy(list); }
};

}  // namespace quendra
