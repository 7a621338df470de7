#include "plugin/parser_items.h"

#include "common/thread_containers.h"

namespace quendra {

namespace {

// The data type names in code order; the text form of parser items names a type by its position here.
constexpr std::string_view kParamDataTypeNames[] = {
    "String", "Memo",  "Bytes", "Blob", "Boolean", "Float",    "Smallint", "Word",    "Integer",
    "Date",   "Time",  "DateTime", "DWord", "Byte", "Shortint", "Int64",  "Currency"};

struct StandardItem {
  const char* name;
  const char* description;
  TParamDataType type;
};

constexpr StandardItem kStandardItems[] = {
    {"FULL_DATA_PACKET", "Full data packet", 0},   {"DATA_PACKET", "Data packet", 0},
    {"DATE_TIME_STAMP", "Datetime stamp", 11},     {"DATA_SOURCE_ID", "Data source ID", 8},
    {"DATA_SOURCE_NAME", "Data source name", 0},   {"DATA_SOURCE_FULL_NAME", "Data source full name", 0},
    {"CLIENTID", "Client ID", 8},
};

bool equal_ascii_nocase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace

std::string_view ParamDataTypeName(TParamDataType type) {
  return type < std::size(kParamDataTypeNames) ? kParamDataTypeNames[type] : std::string_view();
}

TParamDataType ParamDataTypeFromName(std::string_view name) {
  for (std::size_t i = 0; i < std::size(kParamDataTypeNames); ++i)
    if (equal_ascii_nocase(name, kParamDataTypeNames[i])) return static_cast<TParamDataType>(i);
  return kNoDataType;
}

int ParserItemList::AddParserItem(std::string name, std::string description, std::string extra,
                               TParamDataType type) {
  items_.push_back({std::move(name), std::move(description), type, std::move(extra)});
  return static_cast<int>(items_.size()) - 1;
}

void ParserItemList::AddStandardParserItems(bool with_client_id) {
  for (std::size_t i = 0; i < std::size(kStandardItems) - (with_client_id ? 0 : 1); ++i)
    AddParserItem(kStandardItems[i].name, kStandardItems[i].description, {}, kStandardItems[i].type);
}

std::string ParserItemList::GetParserItemsText() const {
  std::string text;
  for (const TParserItem& item : items_) {
    if (&item != &items_.front()) text += "\r\n";
    text += item.Description;
    text += '|';
    text += item.Name;
    text += '|';
    text += ParamDataTypeName(item.DataType);
    text += '|';
    text += item.Extra;
  }
  return text;
}

void ParserItemList::SetParserItemsText(std::string_view text, bool clear_first) {
  if (clear_first) Clear();
  for (const std::string& line : TThreadStringList::SplitLines(text)) {
    std::vector<std::string_view> fields;
    std::string_view rest = line;
    for (std::size_t bar; (bar = rest.find('|')) != std::string_view::npos; rest.remove_prefix(bar + 1))
      fields.push_back(rest.substr(0, bar));
    if (!rest.empty()) fields.push_back(rest);  // an empty last field after a final "|" is dropped
    if (fields.size() < 2) continue;
    TParamDataType type = fields.size() > 2 ? ParamDataTypeFromName(fields[2]) : kNoDataType;
    AddParserItem(std::string(fields[1]), std::string(fields[0]), fields.size() > 3 ? std::string(fields[3]) : "",
                  type);
  }
}

}  // namespace quendra
