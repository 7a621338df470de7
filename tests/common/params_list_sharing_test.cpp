// Rows copy the values of a working list many times over; copies share their texts and names instead of
// copying them. Every list operation must still see each item as a value of its own.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "common/params_list.h"

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

}  // namespace
}  // namespace quendra
