#include <gtest/gtest.h>

#include "component/string_list.h"

namespace quendra {
namespace {

TEST(StringListTest, SetTextSplitsAtCarriageReturnLineFeedOrThePair) {
  struct Case {
    const char* text;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"", {}},
      {"Y\r\nN\r\n0\r\n", {"Y", "N", "0"}},
      {"Y\r\nN\r\n0", {"Y", "N", "0"}},
      {"a\nb\rc", {"a", "b", "c"}},
      {"a\n\rb", {"a", "", "b"}},
      {"\r\n", {""}},
      {"\r\n\r\n", {"", ""}},
      {"x\r\r\ny", {"x", "", "y"}},
  };
  for (const Case& c : cases) {
    TStringList list;
    list.SetText(c.text);
    EXPECT_EQ(list.Lines(), c.lines) << c.text;
  }
}

TEST(StringListTest, TextEndsEveryLineWithCarriageReturnLineFeed) {
  TStringList list({"Y", "", "0"});
  EXPECT_EQ(list.Text(), "Y\r\n\r\n0\r\n");
  EXPECT_EQ(TStringList().Text(), "");
  EXPECT_EQ(list.GetStrProp("Text"), "Y\r\n\r\n0\r\n");
  list.SetStrProp("Text", "a\nb");
  EXPECT_EQ(list.Count(), 2u);
  EXPECT_EQ(list.GetOrdProp("Count"), 2);
}

TEST(StringListTest, EditingAndCopies) {
  TStringList list;
  list.Add("b");
  list.Insert(0, "a");
  list.Add("c");
  list.Delete(1);
  EXPECT_EQ(list.Lines(), (std::vector<std::string>{"a", "c"}));
  EXPECT_THROW(list.Delete(5), std::out_of_range);
  EXPECT_THROW(list.Insert(5, "x"), std::out_of_range);
  TStringList copy = list;
  copy.Add("d");
  EXPECT_EQ(list.Count(), 2u);
  EXPECT_EQ(copy.Count(), 3u);
}

}  // namespace
}  // namespace quendra
