#include "dialog/grid_rows.h"

#include "component/ascii_text.h"
#include "component/string_list.h"
#include "component/text_numbers.h"

namespace quendra {

namespace {

constexpr std::string_view kCellSeparator = "||";

std::string StoredCell(const TGridColumn& column, const std::string& text) {
  if (column.Editor != TColumnEditor::PickList) return text;
  const auto& items = column.ComboItems.Lines();
  for (std::size_t i = 0; i < items.size(); ++i)
    if (SameTextAscii(items[i], text)) return std::to_string(i);
  return "-1";
}

// Only plain decimal digits name a position: "0x1" or " 2" typed by hand are shown as they stand.
std::string ShownCell(const TGridColumn& column, std::string_view field) {
  if (column.Editor == TColumnEditor::PickList && !field.empty() && field.size() <= 9 &&
      field.find_first_not_of("0123456789") == std::string_view::npos) {
    const auto n = ParseInteger(field);
    if (n && *n >= 0 && static_cast<std::size_t>(*n) < column.ComboItems.Count())
      return column.ComboItems[static_cast<std::size_t>(*n)];
  }
  return std::string(field);
}

}  // namespace

std::string RowsToText(const TStringGrid& grid) {
  std::string text;
  for (std::size_t row = 0; row < grid.DataRowCount(); ++row) {
    for (std::size_t col = 0; col < grid.ColCount(); ++col) {
      if (col > 0) text += kCellSeparator;
      text += StoredCell(grid.Column(col), grid.Cell(col, row));
    }
    text += "\r\n";
  }
  return text;
}

void TextToRows(TStringGrid& grid, std::string_view text) {
  grid.ClearRows();
  TStringList lines;
  lines.SetText(text);
  for (const std::string& line : lines.Lines()) {
    if (TrimBlanks(line).empty()) continue;
    const std::size_t row = grid.AppendRow();
    std::string_view rest = line;
    for (std::size_t col = 0; col < grid.ColCount(); ++col) {
      const std::size_t sep = rest.find(kCellSeparator);
      const std::string_view field = TrimBlanks(rest.substr(0, sep));
      grid.SetCell(col, row, ShownCell(grid.Column(col), field));
      if (sep == std::string_view::npos) {
        rest = {};
        // Missing fields give empty cells.
        for (++col; col < grid.ColCount(); ++col) grid.SetCell(col, row, "");
        break;
      }
      rest.remove_prefix(sep + kCellSeparator.size());
    }
  }
}

}  // namespace quendra
