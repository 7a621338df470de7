#include "dialog/grid_rows.h"

#include <gtest/gtest.h>

#include <vector>

#include "dialog_fixture.h"

namespace quendra {
namespace {

// The two grids exactly as the dialog builds them, over an empty store.
class GridRowsTest : public testing::DialogTest {};

std::vector<std::vector<std::string>> Cells(const TStringGrid& grid) {
  std::vector<std::vector<std::string>> rows;
  for (std::size_t r = 0; r < grid.DataRowCount(); ++r) {
    rows.emplace_back();
    for (std::size_t c = 0; c < grid.ColCount(); ++c) rows.back().push_back(grid.Cell(c, r));
  }
  return rows;
}

TEST_F(GridRowsTest, ColumnsOfBothGrids) {
  auto form = Open();
  const TStringGrid& xmls = *form->XMLs;
  ASSERT_EQ(xmls.ColCount(), 4u);
  EXPECT_EQ(xmls.Column(0).Header, "Name");
  EXPECT_EQ(xmls.Column(0).Editor, TColumnEditor::Text);
  EXPECT_EQ(xmls.Column(1).Header, "Type");
  EXPECT_EQ(xmls.Column(1).ComboItems.Lines(), (std::vector<std::string>{"All", "Node", "Attribute"}));
  EXPECT_EQ(xmls.Column(2).Header, "Action");
  EXPECT_EQ(xmls.Column(2).ComboItems.Lines(), (std::vector<std::string>{"Ignore", "Parse"}));
  EXPECT_TRUE(xmls.Column(2).Stretch);
  EXPECT_EQ(xmls.Column(3).Header, "Data type");
  EXPECT_EQ(xmls.Column(3).ComboItems.Lines(),
            (std::vector<std::string>{"String", "Memo", "Bytes", "Blob", "Boolean", "Float", "Smallint",
                                      "Word", "Integer", "Date", "Time", "DateTime", "DWord", "Byte",
                                      "Shortint", "Int64", "Currency"}));
  const TStringGrid& filters = *form->Filters;
  ASSERT_EQ(filters.ColCount(), 4u);
  EXPECT_EQ(filters.Column(0).Header, "Situation");
  EXPECT_EQ(filters.Column(0).ComboItems.Lines(),
            (std::vector<std::string>{"Disabled", "Contains", "Not contains"}));
  EXPECT_EQ(filters.Column(1).Header, "Type");
  EXPECT_EQ(filters.Column(1).ComboItems.Lines(), (std::vector<std::string>{"Text", "Reg. expr."}));
  EXPECT_EQ(filters.Column(2).Header, "Expression");
  EXPECT_EQ(filters.Column(2).Editor, TColumnEditor::Text);
  EXPECT_TRUE(filters.Column(2).Stretch);
  EXPECT_EQ(filters.Column(3).Header, "Action");
  EXPECT_EQ(filters.Column(3).ComboItems.Lines(), (std::vector<std::string>{"Ignore", "Parse"}));
  EXPECT_EQ(xmls.FixedRows, 1);
  EXPECT_EQ(xmls.DefaultRowHeight, 18);
}

TEST_F(GridRowsTest, TextToRowsAndBack) {
  struct Case {
    const char* name;
    bool xmls;
    const char* stored;
    std::vector<std::vector<std::string>> cells;
    const char* written;
  };
  const Case cases[] = {
      {"rule", true, "Temp||1||1||5\r\n", {{"Temp", "Node", "Parse", "Float"}}, "Temp||1||1||5\r\n"},
      {"two rules, blank line between",
       true,
       "a||0||0||0\r\n   \r\nb||2||1||16",
       {{"a", "All", "Ignore", "String"}, {"b", "Attribute", "Parse", "Currency"}},
       "a||0||0||0\r\nb||2||1||16\r\n"},
      {"data type by name is written as its position",
       true,
       "t||1||1||Integer",
       {{"t", "Node", "Parse", "Integer"}},
       "t||1||1||8\r\n"},
      {"out of range and not numbers show as stored, written -1",
       true,
       "x||3||-1||abc",
       {{"x", "3", "-1", "abc"}},
       "x||-1||-1||-1\r\n"},
      {"missing fields give empty cells", true, "only", {{"only", "", "", ""}}, "only||-1||-1||-1\r\n"},
      {"fields are trimmed",
       true,
       "  sp  || 1 ||0||0",
       {{"sp", "Node", "Ignore", "String"}},
       "sp||1||0||0\r\n"},
      {"filter", false, "1||0||<Data>||1", {{"Contains", "Text", "<Data>", "Parse"}}, "1||0||<Data>||1\r\n"},
      {"expression with || splits",
       false,
       "2||1||a||b||0",
       {{"Not contains", "Reg. expr.", "a", "b"}},
       "2||1||a||-1\r\n"},
      {"line feeds only",
       false,
       "0||0||x||0\n1||1||y||1\n",
       {{"Disabled", "Text", "x", "Ignore"}, {"Contains", "Reg. expr.", "y", "Parse"}},
       "0||0||x||0\r\n1||1||y||1\r\n"},
      {"empty", false, "", {}, ""},
  };
  auto form = Open();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TStringGrid& grid = c.xmls ? *form->XMLs : *form->Filters;
    TextToRows(grid, c.stored);
    EXPECT_EQ(Cells(grid), c.cells);
    EXPECT_EQ(RowsToText(grid), c.written);
  }
}

TEST_F(GridRowsTest, EmptyRowsAreWrittenWithMinusOnes) {
  auto form = Open();
  form->XMLs->AppendRow();
  form->Filters->AppendRow();
  EXPECT_EQ(RowsToText(*form->XMLs), "||-1||-1||-1\r\n");
  EXPECT_EQ(RowsToText(*form->Filters), "-1||-1||||-1\r\n");
}

TEST_F(GridRowsTest, ItemTextsMatchWithoutRegardToCase) {
  auto form = Open();
  TStringGrid& grid = *form->XMLs;
  grid.SetCell(0, grid.AppendRow(), "n");
  grid.SetCell(1, 0, "ATTRIBUTE");
  grid.SetCell(2, 0, "parse");
  grid.SetCell(3, 0, "datetime");
  EXPECT_EQ(RowsToText(grid), "n||2||1||11\r\n");
}

}  // namespace
}  // namespace quendra
