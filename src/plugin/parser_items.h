// The values a data-parser module can produce, as the host sees them before any data arrives.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quendra {

// A one-byte data type code: the position of the type's name in "String|Memo|...|Currency|", 17 for none.
using TParamDataType = uint8_t;
constexpr TParamDataType kNoDataType = 17;
// The type's name, empty for 17 and above.
std::string_view ParamDataTypeName(TParamDataType type);
// Position of a name in the list, compared without regard to ASCII case; 17 when unknown.
TParamDataType ParamDataTypeFromName(std::string_view name);

struct TParserItem {
  std::string Name;
  std::string Description;
  TParamDataType DataType = kNoDataType;
  std::string Extra;
};

class ParserItemList {
 public:
  void Clear() { items_.clear(); }
  int AddParserItem(std::string name, std::string description, std::string extra, TParamDataType type);
  // The six standard items, and the client item when asked.
  void AddStandardParserItems(bool with_client_id);
  // "Description|Name|TypeName|Extra" per item, lines joined by CR LF, none after the last.
  std::string GetParserItemsText() const;
  void SetParserItemsText(std::string_view text, bool clear_first);
  const std::vector<TParserItem>& items() const { return items_; }

 private:
  std::vector<TParserItem> items_;
};

}  // namespace quendra
