#include "row_output.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "common/ole_variant.h"

namespace quendra::host {

namespace {

template <typename T>
std::string shortest(T value) {
  if (!std::isfinite(value)) return "null";
  char buffer[64];
  auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
  return std::string(buffer, end);
}

std::string json_quote(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\u%04x", c);
          out += escape;
        } else {
          out += c;
        }
    }
  }
  out += '"';
  return out;
}

std::string csv_quote(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string out = "\"";
  for (char c : text) {
    out += c;
    if (c == '"') out += c;  // doubled inside quotes
  }
  out += '"';
  return out;
}

// Days from 1970-01-01 to a civil date and back (proleptic Gregorian).
void civil_from_days(int64_t z, int& y, unsigned& m, unsigned& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

}  // namespace

std::string utf16_to_utf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    uint32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;  // a lone surrogate
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::string format_ole_date(double date) {
  if (!std::isfinite(date) || std::fabs(date) > 3e6) return "invalid date";
  // OLE dates count days from 1899-12-30; before it the fraction still counts forward from midnight.
  double whole = std::trunc(date);
  int64_t ms = std::llround(std::fabs(date - whole) * 86400000.0);
  int64_t days = static_cast<int64_t>(whole);
  if (ms >= 86400000) {
    ms -= 86400000;
    days += date < 0 ? -1 : 1;
  }
  int y;
  unsigned m, d;
  civil_from_days(days - 25569, y, m, d);
  char text[40];
  int n = std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02d", y, m, d, static_cast<int>(ms / 3600000),
                        static_cast<int>(ms / 60000 % 60), static_cast<int>(ms / 1000 % 60));
  if (ms % 1000) std::snprintf(text + n, sizeof text - n, ".%03d", static_cast<int>(ms % 1000));
  return text;
}

std::string format_value(const QuendraVariant& raw, bool json) {
  const OleVariant& value = *reinterpret_cast<const OleVariant*>(&raw);
  switch (value.type()) {
    case VarType::Empty:
    case VarType::Null: return json ? "null" : "";
    case VarType::Bool: return raw.Value.Bool ? "true" : "false";
    case VarType::Single: return shortest(raw.Value.Single);
    case VarType::Double: return shortest(raw.Value.Double);
    case VarType::Currency: return shortest(static_cast<double>(raw.Value.Int64) / 10000.0);
    case VarType::Date: {
      std::string text = format_ole_date(raw.Value.Double);
      return json ? json_quote(text) : text;
    }
    case VarType::OleStr: {
      std::string text = utf16_to_utf8(value.wide_view());
      return json ? json_quote(text) : text;
    }
    case VarType::AnsiString: {
      std::string text(value.ansi_view());
      return json ? json_quote(text) : text;
    }
    default:
      if (auto n = value.to_int64()) return std::to_string(*n);
      if (value.type() == VarType::UInt64) return std::to_string(static_cast<uint64_t>(raw.Value.Int64));
      return json ? "null" : "";
  }
}

std::vector<std::vector<const TzelParamsListItem*>> split_rows(const TzelParamsList& rows) {
  std::vector<std::vector<const TzelParamsListItem*>> result(1);
  for (int32_t i = 0; i < rows.Count(); ++i) {
    const TzelParamsListItem* item = rows.GetItem(i);
    if (item->is_row_marker())
      result.emplace_back();
    else
      result.back().push_back(item);
  }
  if (result.back().empty()) result.pop_back();
  return result;
}

bool RowPrinter::is_hidden(std::string_view name) const {
  return std::find(hidden_.begin(), hidden_.end(), name) != hidden_.end();
}

void RowPrinter::add(const TzelParamsList& rows) {
  for (const auto& row : split_rows(rows)) {
    ++row_count_;
    if (format_ == Format::Jsonl) {
      std::string line = "{";
      for (const TzelParamsListItem* item : row) {
        if (is_hidden(item->name())) continue;
        if (line.size() > 1) line += ", ";
        line += json_quote(item->name());
        line += ": ";
        line += format_value(item->Value.raw(), true);
      }
      std::fprintf(out_, "%s}\n", line.c_str());
      continue;
    }
    TextRow text_row;
    for (const TzelParamsListItem* item : row) {
      if (is_hidden(item->name())) continue;
      std::string name(item->name());
      if (std::find(names_.begin(), names_.end(), name) == names_.end()) names_.push_back(name);
      text_row.emplace_back(std::move(name), format_value(item->Value.raw(), false));
    }
    pending_.push_back(std::move(text_row));
  }
}

void RowPrinter::finish() {
  if (format_ == Format::Jsonl) return;
  auto cell = [](const TextRow& row, const std::string& name) -> std::string {
    for (const auto& [n, v] : row)
      if (n == name) return v;
    return {};
  };
  if (format_ == Format::Csv) {
    std::string line;
    for (const auto& name : names_) {
      if (!line.empty()) line += ',';
      line += csv_quote(name);
    }
    if (!names_.empty()) std::fprintf(out_, "%s\n", line.c_str());
    for (const TextRow& row : pending_) {
      line.clear();
      for (std::size_t i = 0; i < names_.size(); ++i) {
        if (i) line += ',';
        line += csv_quote(cell(row, names_[i]));
      }
      std::fprintf(out_, "%s\n", line.c_str());
    }
  } else {
    std::vector<std::size_t> width(names_.size());
    for (std::size_t i = 0; i < names_.size(); ++i) {
      width[i] = names_[i].size();
      for (const TextRow& row : pending_) width[i] = std::max(width[i], cell(row, names_[i]).size());
    }
    auto print_line = [&](auto&& text_of) {
      std::string line;
      for (std::size_t i = 0; i < names_.size(); ++i) {
        std::string text = text_of(i);
        line += text + std::string(width[i] - std::min(width[i], text.size()) + 2, ' ');
      }
      while (!line.empty() && line.back() == ' ') line.pop_back();
      std::fprintf(out_, "%s\n", line.c_str());
    };
    if (!names_.empty()) print_line([&](std::size_t i) { return names_[i]; });
    for (const TextRow& row : pending_) print_line([&](std::size_t i) { return cell(row, names_[i]); });
  }
  pending_.clear();
}

}  // namespace quendra::host
