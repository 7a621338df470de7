// A grid of text cells with one fixed header row. Its columns are components owned by the grid, each with
// a header, an editor kind and, for drop-down columns, the item list; row 0 is the header, data rows
// follow. The current cell is (Col, Row).
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "component/control.h"
#include "component/string_list.h"

namespace quendra {

enum class TColumnEditor { Text = 0, PickList = 1 };

class TGridColumn : public TComponent {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  std::string Header;
  TColumnEditor Editor = TColumnEditor::Text;
  TStringList ComboItems;
  int Width = 64;
  // The column takes the width the others leave.
  bool Stretch = false;
};

class TStringGrid : public TWinControl {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  TGridColumn& AddColumn(std::string header, TColumnEditor editor = TColumnEditor::Text);
  std::size_t ColCount() const { return columns_.size(); }
  TGridColumn& Column(std::size_t index) const { return *columns_.at(index); }

  // Rows including the header row.
  std::size_t RowCount() const { return rows_.size() + 1; }
  std::size_t DataRowCount() const { return rows_.size(); }
  // Data row `row` (from 0, not counting the header); "" for cells never set.
  const std::string& Cell(std::size_t col, std::size_t row) const;
  void SetCell(std::size_t col, std::size_t row, std::string text);

  // Drops every data row; the current row becomes the header row.
  void ClearRows();
  // Appends an empty data row and returns its index; does not move the current cell.
  std::size_t AppendRow();
  // Inserts an empty data row before `row` (at most DataRowCount()).
  void InsertRow(std::size_t row);
  void DeleteRow(std::size_t row);

  // The current cell in grid coordinates (row 0 is the header).
  int Row() const { return row_; }
  int Col() const { return col_; }
  void SetRow(int row) { row_ = row; }
  void SetCol(int col) { col_ = col; }
  // True when the current row is a data row.
  bool HasCurrentDataRow() const { return row_ >= 1 && static_cast<std::size_t>(row_) <= rows_.size(); }

  int FixedRows = 1;
  int DefaultRowHeight = 18;

  // User actions the view reports: a cell was selected, the keyboard inserted or deleted a row.
  std::function<void(int col, int row)> OnSelectCell;
  std::function<void()> OnRowInserted;
  std::function<void()> OnRowDeleted;

 private:
  std::vector<TGridColumn*> columns_;
  std::vector<std::vector<std::string>> rows_;
  int row_ = 0;
  int col_ = 0;
};

}  // namespace quendra
