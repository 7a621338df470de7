// Data type codes of values: the position of the type's name in the list below, counted from 0.
// The numbering is part of the host interface (hosts are told each value's code).
#pragma once

#include <cstdint>
#include <string_view>

namespace quendra {

using TParamDataType = std::uint8_t;

// "String|Memo|Bytes|Blob|Boolean|Float|Smallint|Word|Integer|Date|Time|DateTime|DWord|Byte|Shortint|
// Int64|Currency|": codes 0..16; 17 stands for none, or a name not in the list.
inline constexpr std::string_view kParamDataTypeNames =
    "String|Memo|Bytes|Blob|Boolean|Float|Smallint|Word|Integer|Date|Time|DateTime|DWord|Byte|Shortint|Int64|"
    "Currency|";

enum ParamDataTypeCode : TParamDataType {
  kDataString = 0,
  kDataMemo = 1,
  kDataBytes = 2,
  kDataBlob = 3,
  kDataBoolean = 4,
  kDataFloat = 5,
  kDataSmallint = 6,
  kDataWord = 7,
  kDataInteger = 8,
  kDataDate = 9,
  kDataTime = 10,
  kDataDateTime = 11,
  kDataDWord = 12,
  kDataByte = 13,
  kDataShortint = 14,
  kDataInt64 = 15,
  kDataCurrency = 16,
  kDataNone = 17,
};

// The code of a whole name, ignoring ASCII letter case; 17 for an empty or unknown name.
TParamDataType DataTypeByName(std::string_view name);

// The name of a code, or "" for 17 and above.
std::string_view DataTypeName(TParamDataType code);

}  // namespace quendra
