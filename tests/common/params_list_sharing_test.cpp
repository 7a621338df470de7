// Rows copy the values of a working list many times over; copies share their texts and names instead of
// copying them. Every list operation must still see each item as a value of its own.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "common/params_list.h"
#include "platform/shared_heap.h"

namespace quendra {
namespace {

using ListPtr = std::unique_ptr<TzelParamsList, ListDeleter<TzelParamsList>>;
using RowsPtr = std::unique_ptr<TzelRowsParamsList, ListDeleter<TzelRowsParamsList>>;

std::string text_of(const TzelParamsListItem* item) {
  return item ? item->Value.to_ansi() : "<none>";
}

std::vector<std::string> texts_of(const TzelParamsList& list) {
  std::vector<std::string> texts;
  for (int32_t i = 0; i < list.Count(); ++i)
    texts.push_back(std::string(list.GetItem(i)->name()) + "=" + text_of(list.GetItem(i)));
  return texts;
}

// A working list of two texts and a number, copied into rows three times.
struct RowsOfCopies {
  ListPtr current{TzelParamsList::create()};
  RowsPtr rows{TzelRowsParamsList::create()};
  RowsOfCopies() {
    current->Add("Packet", OleVariant::from_ansi_as_wide("<Data><a>1</a></Data>"));
    current->Add("Name", OleVariant::from_ansi_as_wide("alpha"));
    current->Add("N", OleVariant::from_int32(7));
    for (int i = 0; i < 3; ++i) rows->AppendRow(current.get());
  }
};

TEST(ParamsListSharing, CopiesOutliveAndIgnoreChangesOfEachOther) {
  struct Case {
    const char* what;
    void (*change)(RowsOfCopies&);
  };
  const Case cases[] = {
      {"source deleted", [](RowsOfCopies& r) { r.current->Delete(0); }},
      {"source cleared", [](RowsOfCopies& r) { r.current->Clear(); }},
      {"source destroyed", [](RowsOfCopies& r) { r.current.reset(); }},
      {"source set",
       [](RowsOfCopies& r) { r.current->SetValue("Packet", OleVariant::from_int32(1), false); }},
      {"source item set", [](RowsOfCopies& r) { r.current->GetItem(0)->SetItemValue(OleVariant::null()); }},
  };
  const std::vector<std::string> row = {"Packet=<Data><a>1</a></Data>", "Name=alpha", "N=7", "$NEW_ROW$="};
  std::vector<std::string> expected;
  for (int i = 0; i < 3; ++i) expected.insert(expected.end(), row.begin(), row.end());
  for (const Case& c : cases) {
    RowsOfCopies r;
    c.change(r);
    EXPECT_EQ(texts_of(*r.rows), expected) << c.what;
  }
}

TEST(ParamsListSharing, ChangingOneCopyLeavesTheOthers) {
  RowsOfCopies r;
  r.rows->GetItem(4)->SetItemValue(OleVariant::from_ansi_as_wide("changed"));
  r.rows->SetValue("Name", OleVariant::from_ansi_as_wide("first"), false);
  r.rows->Delete(8);
  EXPECT_EQ(text_of(r.rows->GetItem(0)), "<Data><a>1</a></Data>");
  EXPECT_EQ(text_of(r.rows->GetItem(1)), "first");
  EXPECT_EQ(text_of(r.rows->GetItem(4)), "changed");
  EXPECT_EQ(text_of(r.rows->GetItem(5)), "alpha");
  EXPECT_EQ(text_of(r.rows->GetItem(8)), "alpha");  // the third row's packet was deleted
  EXPECT_EQ(text_of(r.current->GetItem(0)), "<Data><a>1</a></Data>");
  EXPECT_EQ(text_of(r.current->GetItem(1)), "alpha");
  // A copy of a copy, and the list appended to itself.
  r.rows->AppendList(r.rows.get());
  EXPECT_EQ(r.rows->Count(), 22);
  EXPECT_EQ(text_of(r.rows->GetItem(11 + 4)), "changed");
}

TEST(ParamsListSharing, ItemsKeepTheSharedLayout) {
  RowsOfCopies r;
  for (int32_t i = 0; i < r.rows->Count(); ++i) {
    const TzelParamsListItem* item = r.rows->GetItem(i);
    EXPECT_EQ(item->Reserved12, nullptr) << i;
    EXPECT_EQ(item->State, 2) << i;
    const uint8_t zeros[7] = {};
    EXPECT_EQ(std::memcmp(item->Reserved17, zeros, sizeof zeros), 0) << i;
  }
  const TzelParamsListItem* marker = r.rows->GetItem(3);
  EXPECT_TRUE(marker->is_row_marker());
  EXPECT_TRUE(marker->Value.is_null());
  EXPECT_EQ(ansi::view(marker->LowerName), "$new_row$");
  EXPECT_EQ(r.rows->IndexOfName("$New_Row$"), 3);
  EXPECT_EQ(ansi::view(r.rows->GetItem(0)->LowerName), "packet");
}

TEST(ParamsListSharing, TakeItemsMovesInOrderAndEmptiesTheSource) {
  RowsOfCopies r;
  RowsPtr out(TzelRowsParamsList::create());
  ListPtr empty(TzelParamsList::create());
  EXPECT_FALSE(out->TakeItems(*empty));
  EXPECT_TRUE(out->TakeItems(*r.rows));
  EXPECT_EQ(r.rows->Count(), 0);
  EXPECT_EQ(out->Count(), 12);
  r.rows->AppendRow(r.current.get());  // the source stays usable
  EXPECT_TRUE(out->TakeItems(*r.rows));
  EXPECT_EQ(out->Count(), 16);
  EXPECT_EQ(text_of(out->GetItem(13)), "alpha");
  EXPECT_FALSE(out->TakeItems(*r.rows));
  EXPECT_FALSE(out->TakeItems(*out));
}

// A row of the working list with its last items moved instead of copied: the rows read the same as with
// AppendRow followed by deleting those items, and the working list keeps the rest.
TEST(ParamsListSharing, AppendRowTakingMovesTheTail) {
  struct Case {
    std::vector<std::string> source;  // names; "$NEW_ROW$" makes a marker
    int32_t first_taken;
    std::vector<std::string> rows;
    std::vector<std::string> kept;
  };
  const Case cases[] = {
      {{"a", "b", "c"}, 1, {"a=a", "b=b", "c=c", "$NEW_ROW$="}, {"a=a"}},
      {{"a", "b", "c"}, 3, {"a=a", "b=b", "c=c", "$NEW_ROW$="}, {"a=a", "b=b", "c=c"}},
      {{"a", "b", "c"}, 0, {"a=a", "b=b", "c=c", "$NEW_ROW$="}, {}},
      {{"a", "b", "c"}, -5, {"a=a", "b=b", "c=c", "$NEW_ROW$="}, {}},
      {{"a", "b", "c"}, 9, {"a=a", "b=b", "c=c", "$NEW_ROW$="}, {"a=a", "b=b", "c=c"}},
      {{"a", "$NEW_ROW$"}, 1, {"a=a", "$NEW_ROW$="}, {"a=a"}},  // no second marker
      {{}, 0, {}, {}},
  };
  for (const Case& c : cases) {
    ListPtr source(TzelParamsList::create());
    for (const std::string& name : c.source) {
      if (name == kNewRow) {
        source->AddNewRow();
      } else {
        source->Add(name, OleVariant::from_ansi_as_wide(name));
      }
    }
    RowsPtr rows(TzelRowsParamsList::create());
    ItemSlab slab(2);  // runs shorter than a row
    EXPECT_EQ(rows->AppendRowTaking(*source, c.first_taken, slab), !c.source.empty());
    EXPECT_EQ(texts_of(*rows), c.rows) << c.first_taken;
    EXPECT_EQ(texts_of(*source), c.kept) << c.first_taken;
    source.reset();  // the rows own what they hold
    EXPECT_EQ(texts_of(*rows), c.rows) << c.first_taken;
  }
}

TEST(ParamsListSharing, RowsOfOneSlabOutliveTheSlabAndEachOther) {
  RowsOfCopies r;
  RowsPtr rows(TzelRowsParamsList::create());
  {
    ItemSlab slab(5);
    for (int i = 0; i < 4; ++i) rows->AppendRowTaking(*r.current, r.current->Count(), slab);
  }
  rows->Delete(0);
  rows->Delete(3);
  EXPECT_EQ(rows->Count(), 14);
  EXPECT_EQ(text_of(rows->GetItem(0)), "alpha");
  EXPECT_EQ(text_of(rows->GetItem(3)), "alpha");  // the second row lost its packet
  EXPECT_EQ(text_of(rows->GetItem(6)), "<Data><a>1</a></Data>");
  r.current.reset();
  rows->GetItem(4)->SetItemValue(OleVariant::from_int32(1));
  EXPECT_EQ(text_of(rows->GetItem(4)), "1");
  EXPECT_EQ(text_of(rows->GetItem(8)), "7");
}

TEST(ParamsListSharing, ItemsNamedOncePerProcess) {
  const ItemName& packet = *InternItemName("FULL_DATA_PACKET");
  const ItemName& same = *InternItemName("DATA_PACKET");
  ListPtr list(TzelParamsList::create());
  TzelParamsListItem* full = list->Add(packet, OleVariant::from_ansi_as_wide("<Data/>"));
  TzelParamsListItem* copy = list->AddSameValue(same, *full);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(full->Name, packet.Name);
  EXPECT_EQ(ansi::view(full->LowerName), "full_data_packet");
  EXPECT_EQ(list->IndexOfName("data_packet"), 1);
  EXPECT_EQ(texts_of(*list), (std::vector<std::string>{"FULL_DATA_PACKET=<Data/>", "DATA_PACKET=<Data/>"}));
  // Each keeps its own value once one is changed or goes.
  copy->SetItemValue(OleVariant::from_int32(5));
  EXPECT_EQ(text_of(list->GetItem(0)), "<Data/>");
  list->AddSameValue(same, *list->GetItem(0));
  list->Delete(0);
  EXPECT_EQ(texts_of(*list), (std::vector<std::string>{"DATA_PACKET=5", "DATA_PACKET=<Data/>"}));
  // A name made from text: nothing to share, but still a value.
  EXPECT_EQ(text_of(list->AddSameValue(same, *list->GetItem(0))), "5");
  EXPECT_EQ(list->Add(*InternItemName("  "), OleVariant::null()), nullptr);
}

// A list of the host's own making keeps names it counts itself: copies into it never point at this side's
// constant names, which go when the library does.
TEST(ParamsListSharing, HostListsGetNamesOfTheirOwn) {
  static const QuendraClassRec host_class{QUENDRA_PARAMS_LIST_CLASS, [](void*) {}, [](void*) {}};
  ListPtr own(TzelParamsList::create());
  own->Add(*InternItemName("Level"), OleVariant::from_int32(3));
  own->AddNewRow();
  ListPtr host(TzelParamsList::create());
  host->raw()->ClassRec = &host_class;
  host->AppendList(own.get());
  host->Add(*InternItemName("Flow"), OleVariant::from_int32(4));
  ItemSlab slab;
  host->AppendRowTaking(*own, 1, slab);  // even when handed a slab, the host's list gets plain items
  ASSERT_EQ(host->Count(), 5);
  for (int32_t i = 0; i < host->Count(); ++i) {
    const TzelParamsListItem* item = host->GetItem(i);
    EXPECT_FALSE(ansi::is_constant(item->Name)) << i;
    EXPECT_FALSE(ansi::is_constant(item->LowerName)) << i;
  }
  EXPECT_EQ(texts_of(*host),
            (std::vector<std::string>{"Level=3", "$NEW_ROW$=", "Flow=4", "Level=3", "$NEW_ROW$="}));
  EXPECT_EQ(host->IndexOfName("$new_row$"), 1);
  EXPECT_EQ(host->IndexOfName("flow"), 2);
  // The host frees its items as the blocks of the shared heap they are (the memory checkers watch this).
  QuendraParamsList& raw = *host->raw();
  for (int32_t i = 0; i < raw.Count; ++i) {
    QuendraParamsItem* item = raw.Items[i];
    ansi::release(item->Name);
    ansi::release(item->LowerName);
    reinterpret_cast<TzelParamsListItem*>(item)->Value.clear();
    platform::shared_free(item);
  }
  raw.Count = 0;
}

}  // namespace
}  // namespace quendra
