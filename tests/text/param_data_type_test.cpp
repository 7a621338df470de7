#include "text/param_data_type.h"

#include <gtest/gtest.h>

#include <string>

namespace quendra {
namespace {

TEST(DataTypeByName, PositionsInTheList) {
  const char* names[] = {"String",   "Memo", "Bytes",    "Blob",  "Boolean", "Float",
                         "Smallint", "Word", "Integer",  "Date",  "Time",    "DateTime",
                         "DWord",    "Byte", "Shortint", "Int64", "Currency"};
  for (int code = 0; code < 17; ++code) {
    EXPECT_EQ(DataTypeByName(names[code]), code) << names[code];
    EXPECT_EQ(DataTypeName(static_cast<TParamDataType>(code)), names[code]);
  }
}

TEST(DataTypeByName, CaseAndUnknownNames) {
  struct Case {
    std::string name;
    int expected;
  } cases[] = {
      {"string", 0},       {"DATETIME", 11}, {"dWoRd", 12},  {"int64", 15},    {"", 17},
      {"Strin", 17},       {"Strings", 17},  {"Date ", 17},  {" Date", 17},    {"|", 17},
      {"String|Memo", 17}, {"Intger", 17},   {"Int 64", 17}, {"currency", 16},
  };
  for (const Case& c : cases) EXPECT_EQ(DataTypeByName(c.name), c.expected) << "'" << c.name << "'";
  EXPECT_EQ(DataTypeName(17), "");
  EXPECT_EQ(DataTypeName(200), "");
}

}  // namespace
}  // namespace quendra
