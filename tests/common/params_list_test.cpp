#include "common/params_list.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "common/errors.h"

namespace quendra {
namespace {

using ListPtr = std::unique_ptr<TzelParamsList, ListDeleter<TzelParamsList>>;

ListPtr make_list(std::initializer_list<const char*> names) {
  ListPtr list(TzelParamsList::create());
  for (const char* name : names) list->Add(name, OleVariant::null());
  return list;
}

std::vector<std::string> names_of(const TzelParamsList& list) {
  std::vector<std::string> names;
  for (int32_t i = 0; i < list.Count(); ++i) names.emplace_back(list.GetItem(i)->name());
  return names;
}

TEST(ParamsList, CreateSetsMagicAndRegistryFormGuid) {
  ListPtr list(TzelParamsList::create());
  EXPECT_EQ(list->magic(), 0x0FDE2E4Bu);
  EXPECT_EQ(list->class_name(), "TzelParamsList");
  EXPECT_FALSE(list->is_rows_list());
  std::string id(list->list_id());
  ASSERT_EQ(id.size(), 38u);
  EXPECT_EQ(id.front(), '{');
  EXPECT_EQ(id.back(), '}');
  for (std::size_t dash : {9u, 14u, 19u, 24u}) EXPECT_EQ(id[dash], '-');
  for (char c : id) EXPECT_TRUE(std::string("{}-0123456789ABCDEF").find(c) != std::string::npos) << id;
  ListPtr other(TzelParamsList::create());
  EXPECT_NE(other->list_id(), list->list_id());
}

TEST(ParamsList, AddTrimsOnlyForTheEmptinessCheck) {
  ListPtr list(TzelParamsList::create());
  EXPECT_EQ(list->Add("  ", OleVariant::from_int32(1)), nullptr);
  EXPECT_EQ(list->Add(std::string("\x01\x1f ", 3), OleVariant()), nullptr);
  EXPECT_EQ(list->Count(), 0);
  TzelParamsListItem* item = list->Add(" a ", OleVariant::from_int32(1));
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->name(), " a ");
  EXPECT_EQ(item->State, 2);
  EXPECT_EQ(list->IndexOfName("a"), -1);
  EXPECT_EQ(list->IndexOfName(" A "), 0);
}

TEST(ParamsList, LookupsIgnoreAsciiCaseAndFindFirstInRange) {
  struct Case {
    std::initializer_list<const char*> names;
    const char* key;
    int32_t first, last, expected;
  };
  const Case cases[] = {
      {{"Temp"}, "TEMP", 0, -1, 0},
      {{"X", "X"}, "x", 0, -1, 0},
      {{"X", "X"}, "x", 1, -1, 1},
      {{"x", "$NEW_ROW$", "x"}, "x", 1, -2, -1},  // stops at the marker of the current row
      {{"x", "$NEW_ROW$", "x"}, "x", 2, -2, 2},
      {{"x", "$NEW_ROW$", "y"}, "$new_row$", 0, -2, 1},  // the marker is a candidate before it stops
      {{"a", "b", "c"}, "c", -5, 99, 2},  // negative first counts as 0, last past the end is the end
      {{"a", "b", "c"}, "c", 0, 1, -1},
      {{"a", "b", "c"}, "a", 2, -1, -1},
      {{}, "a", 0, -1, -1},
  };
  for (const Case& c : cases) {
    ListPtr list = make_list(c.names);
    EXPECT_EQ(list->IndexOfName(c.key, c.first, c.last), c.expected)
        << c.key << " " << c.first << " " << c.last;
  }
}

TEST(ParamsList, NonAsciiLettersFindTheirOwnItem) {
  ListPtr list(TzelParamsList::create());
  list->Add("\xC4nderung", OleVariant::from_int32(1));  // code page 1252 A-umlaut
  EXPECT_EQ(list->IndexOfName("\xC4nderung"), 0);
  EXPECT_EQ(list->IndexOfName("\xE4NDERUNG"), 0);
}

TEST(ParamsList, GetValueDistinguishesMissingFromNull) {
  ListPtr list = make_list({"n"});
  EXPECT_TRUE(list->GetValue("missing").is_empty());
  EXPECT_TRUE(list->GetValue("n").is_null());
  EXPECT_FALSE(list->text("n").has_value());
}

TEST(ParamsList, TextEntersAsWideOleString) {
  ListPtr list(TzelParamsList::create());
  list->Add("s", OleVariant::from_ansi_string("abc"));
  EXPECT_EQ(list->GetItem(0)->Value.type(), VarType::OleStr);
  EXPECT_EQ(list->GetItem(0)->Value.wide_view(), u"abc");

  EXPECT_EQ(list->SetValue("R", OleVariant::from_ansi_string("abc"), false), nullptr);
  EXPECT_EQ(list->Count(), 1);
  TzelParamsListItem* r = list->SetValue("R", OleVariant::from_ansi_string("abc"), true);
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(list->Count(), 2);
  EXPECT_EQ(r->Value.type(), VarType::OleStr);
  EXPECT_EQ(r->Value.wide_view(), u"abc");
  // SetItemValue copies without conversion.
  r->SetItemValue(OleVariant::from_ansi_string("raw"));
  EXPECT_EQ(r->Value.type(), VarType::AnsiString);
}

TEST(ParamsList, AppendRowClosesTheRowOnce) {
  ListPtr rows(TzelRowsParamsList::create());
  EXPECT_TRUE(rows->is_rows_list());
  ListPtr empty(TzelParamsList::create());
  EXPECT_FALSE(rows->AppendRow(empty.get()));
  EXPECT_FALSE(rows->AppendRow(nullptr));
  EXPECT_EQ(rows->Count(), 0);

  ListPtr open = make_list({"a", "b"});
  EXPECT_TRUE(rows->AppendRow(open.get()));
  ListPtr closed = make_list({"c", "$NEW_ROW$"});
  EXPECT_TRUE(rows->AppendRow(closed.get()));
  EXPECT_EQ(names_of(*rows), (std::vector<std::string>{"a", "b", "$NEW_ROW$", "c", "$NEW_ROW$"}));
}

TEST(ParamsList, AppendListOfItselfCopiesWhatWasThere) {
  ListPtr list = make_list({"a", "b"});
  EXPECT_TRUE(list->AppendList(list.get()));
  EXPECT_EQ(names_of(*list), (std::vector<std::string>{"a", "b", "a", "b"}));
}

TEST(ParamsList, DeleteShiftsAndIgnoresBadIndexes) {
  ListPtr list = make_list({"a", "b", "c"});
  list->Delete(3);
  list->Delete(-1);
  list->Delete(1);
  EXPECT_EQ(names_of(*list), (std::vector<std::string>{"a", "c"}));
  list->Clear();
  EXPECT_EQ(list->Count(), 0);
  EXPECT_EQ(list->GetItem(0), nullptr);
  list->Add("again", OleVariant());
  EXPECT_EQ(list->Count(), 1);
}

TEST(ParamsList, DestroyedListFailsLookupsWithAssertion) {
  // A destroyed list's memory is gone; what a stale reader meets is a list whose mark is cleared.
  alignas(TzelParamsList) unsigned char copy[sizeof(TzelParamsList)];
  std::memset(copy, 0, sizeof copy);
  auto* dead = reinterpret_cast<TzelParamsList*>(copy);
  EXPECT_EQ(dead->magic(), 0u);
  EXPECT_FALSE(TzelParamsList::is_valid(dead->raw()));
  try {
    dead->IndexOfName("a");
    FAIL() << "no failure";
  } catch (const AssertionFailure& failure) {
    EXPECT_EQ(std::string(failure.what()).rfind("Assertion failure", 0), 0u) << failure.what();
  }
  ListPtr target(TzelParamsList::create());
  EXPECT_THROW(target->AppendList(dead), AssertionFailure);
}

TEST(ParamsList, ClassRecordOperationsWorkOnTheObject) {
  TzelParamsList* list = TzelRowsParamsList::create();
  list->Add("a", OleVariant());
  const QuendraClassRec* cls = list->raw()->ClassRec;
  EXPECT_STREQ(cls->ClassName, "TzelRowsParamsList");
  cls->Clear(list);
  EXPECT_EQ(list->Count(), 0);
  cls->Destroy(list);
}

}  // namespace
}  // namespace quendra
