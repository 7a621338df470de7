// Printing the rows a plug-in hands back: as an aligned table, as CSV, or as JSON lines.
#pragma once

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "common/params_list.h"

namespace quendra::host {

enum class Format { Table, Csv, Jsonl };

// One value as text: `json` gives JSON (strings quoted, empty and null as null), otherwise the plain text.
std::string format_value(const QuendraVariant& value, bool json);
// An OLE date as "YYYY-MM-DDTHH:MM:SS", with ".mmm" when the milliseconds are not zero.
std::string format_ole_date(double date);
std::string utf16_to_utf8(std::u16string_view text);

using Row = std::vector<std::pair<std::string, QuendraVariant>>;

// Splits a rows list into rows: each "$NEW_ROW$" item closes one.
std::vector<std::vector<const TzelParamsListItem*>> split_rows(const TzelParamsList& rows);

class RowPrinter {
 public:
  // Values named in `hidden` are left out (exact names).
  RowPrinter(Format format, std::FILE* out, std::vector<std::string> hidden = {})
      : format_(format), out_(out), hidden_(std::move(hidden)) {}
  // Takes the rows of one call; JSON lines are written at once, tables and CSV at finish().
  void add(const TzelParamsList& rows);
  void finish();
  bool is_hidden(std::string_view name) const;
  std::size_t rows() const { return row_count_; }

 private:
  using TextRow = std::vector<std::pair<std::string, std::string>>;
  Format format_;
  std::FILE* out_;
  std::vector<std::string> hidden_;
  std::vector<TextRow> pending_;
  std::vector<std::string> names_;  // every name seen, in order of first appearance
  std::size_t row_count_ = 0;
};

}  // namespace quendra::host
