// The text form of a grid's rows, as the settings store keeps it in the grid's Hint: one line per data row,
// each ended by carriage return and line feed, the cells joined by "||". A drop-down column's cell is stored
// as the position of its text among the column's items (ASCII case ignored), "-1" when it is none of them,
// so translated item texts never change what is stored.
#pragma once

#include <string>
#include <string_view>

#include "component/string_grid.h"

namespace quendra {

std::string RowsToText(const TStringGrid& grid);

// Refills the grid from row text: blank lines are skipped, fields are trimmed, missing fields give empty
// cells, and a drop-down field that is a valid position shows that item's text (anything else shows as
// stored).
void TextToRows(TStringGrid& grid, std::string_view text);

}  // namespace quendra
