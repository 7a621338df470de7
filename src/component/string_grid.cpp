#include "component/string_grid.h"

#include <stdexcept>

#include "component/property_binding.h"

namespace quendra {

using binding::Accessor;
using binding::EnumField;
using binding::Field;

const TClassInfo& TGridColumn::StaticClass() {
  static const TClassInfo info{"TGridColumn",
                               &TComponent::StaticClass(),
                               {
                                   Field("Header", &TGridColumn::Header),
                                   EnumField("Editor", &TGridColumn::Editor, {"Text", "PickList"}),
                                   Field("ComboItems", &TGridColumn::ComboItems),
                                   Field("Width", &TGridColumn::Width),
                               }};
  return info;
}

const TClassInfo& TStringGrid::StaticClass() {
  static const TClassInfo info{
      "TStringGrid",
      &TWinControl::StaticClass(),
      {
          Accessor<TStringGrid>(
              "RowCount", [](const TStringGrid& g) { return static_cast<std::int64_t>(g.RowCount()); },
              nullptr),
          Field("FixedRows", &TStringGrid::FixedRows),
          Field("DefaultRowHeight", &TStringGrid::DefaultRowHeight),
      }};
  return info;
}

TGridColumn& TStringGrid::AddColumn(std::string header, TColumnEditor editor) {
  TGridColumn& column = Create<TGridColumn>({});
  column.Header = std::move(header);
  column.Editor = editor;
  columns_.push_back(&column);
  for (auto& row : rows_) row.resize(columns_.size());
  return column;
}

const std::string& TStringGrid::Cell(std::size_t col, std::size_t row) const {
  static const std::string empty;
  if (row >= rows_.size() || col >= rows_[row].size()) return empty;
  return rows_[row][col];
}

void TStringGrid::SetCell(std::size_t col, std::size_t row, std::string text) {
  if (row >= rows_.size() || col >= columns_.size()) throw std::out_of_range("Grid index out of range");
  rows_[row][col] = std::move(text);
}

void TStringGrid::ClearRows() {
  rows_.clear();
  row_ = 0;
}

std::size_t TStringGrid::AppendRow() {
  rows_.emplace_back(columns_.size());
  return rows_.size() - 1;
}

void TStringGrid::InsertRow(std::size_t row) {
  if (row > rows_.size()) throw std::out_of_range("Grid index out of range");
  rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(row), std::vector<std::string>(columns_.size()));
}

void TStringGrid::DeleteRow(std::size_t row) {
  if (row >= rows_.size()) throw std::out_of_range("Grid index out of range");
  rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(row));
  if (static_cast<std::size_t>(row_) > rows_.size()) row_ = static_cast<int>(rows_.size());
}

}  // namespace quendra
