#include "plugin/parser_items.h"

#include <gtest/gtest.h>

namespace quendra {
namespace {

TEST(ParserItems, StandardItemsText) {
  ParserItemList items;
  items.AddStandardParserItems(false);
  EXPECT_EQ(items.GetParserItemsText(),
            "Full data packet|FULL_DATA_PACKET|String|\r\n"
            "Data packet|DATA_PACKET|String|\r\n"
            "Datetime stamp|DATE_TIME_STAMP|DateTime|\r\n"
            "Data source ID|DATA_SOURCE_ID|Integer|\r\n"
            "Data source name|DATA_SOURCE_NAME|String|\r\n"
            "Data source full name|DATA_SOURCE_FULL_NAME|String|");
  items.Clear();
  items.AddStandardParserItems(true);
  ASSERT_EQ(items.items().size(), 7u);
  EXPECT_TRUE(items.GetParserItemsText().ends_with("\r\nClient ID|CLIENTID|Integer|"));
}

TEST(ParserItems, EmptyListAndUnknownTypeText) {
  ParserItemList items;
  EXPECT_EQ(items.GetParserItemsText(), "");
  items.AddParserItem("N", "D", "", kNoDataType);
  items.AddParserItem("M", "E", "x", 200);
  EXPECT_EQ(items.GetParserItemsText(), "D|N||\r\nE|M||x");
}

TEST(ParserItems, ReadingText) {
  struct Case {
    const char* line;
    bool kept;
    const char* name;
    const char* description;
    TParamDataType type;
    const char* extra;
  };
  const Case cases[] = {
      {"A|B|integer|x", true, "B", "A", 8, "x"},
      {"A|B|Number", true, "B", "A", 17, ""},
      {"A|B|CURRENCY|", true, "B", "A", 16, ""},
      {"A|B", true, "B", "A", 17, ""},
      {"|B||", true, "B", "", 17, ""},
      {"A", false, "", "", 0, ""},
      {"A|", false, "", "", 0, ""},  // the empty last field is dropped: one field only
      {"", false, "", "", 0, ""},
  };
  for (const Case& c : cases) {
    ParserItemList items;
    items.SetParserItemsText(c.line, true);
    ASSERT_EQ(items.items().size(), c.kept ? 1u : 0u) << c.line;
    if (!c.kept) continue;
    const TParserItem& item = items.items()[0];
    EXPECT_EQ(item.Name, c.name) << c.line;
    EXPECT_EQ(item.Description, c.description) << c.line;
    EXPECT_EQ(item.DataType, c.type) << c.line;
    EXPECT_EQ(item.Extra, c.extra) << c.line;
  }
}

TEST(ParserItems, ReadingSeveralLinesAppendsUnlessCleared) {
  ParserItemList items;
  items.SetParserItemsText("a|A|String\r\nb|B|Float\nc|C|Word\rskip", true);
  ASSERT_EQ(items.items().size(), 3u);
  EXPECT_EQ(items.items()[2].DataType, 7);
  items.SetParserItemsText("d|D", false);
  EXPECT_EQ(items.items().size(), 4u);
  items.SetParserItemsText("d|D", true);
  EXPECT_EQ(items.items().size(), 1u);
}

}  // namespace
}  // namespace quendra
