#include "text/ole_date.h"

#include <gtest/gtest.h>

#include <optional>

namespace quendra {
namespace {

struct DateCase {
  int year, month, day;
  std::optional<double> expected;
};

TEST(EncodeOleDate, DaysSinceEndOf1899) {
  const DateCase cases[] = {
      {1899, 12, 30, 0.0},         {1899, 12, 31, 1.0},         {1900, 1, 1, 2.0},
      {1900, 3, 1, 61.0},          {2000, 1, 1, 36526.0},       {2023, 6, 5, 45082.0},
      {2021, 3, 7, 44262.0},       {1899, 6, 5, -208.0},        {2000, 2, 29, 36585.0},
      {1, 1, 1, -693593.0},        {9999, 12, 31, 2958465.0},   {2023, 2, 29, std::nullopt},
      {1900, 2, 29, std::nullopt}, {2023, 4, 31, std::nullopt}, {0, 1, 1, std::nullopt},
      {10000, 1, 1, std::nullopt}, {2023, 13, 1, std::nullopt}, {2023, 0, 1, std::nullopt},
      {2023, 1, 0, std::nullopt},  {2023, 1, 32, std::nullopt},
  };
  for (const DateCase& c : cases)
    EXPECT_EQ(EncodeOleDate(c.year, c.month, c.day), c.expected) << c.year << "-" << c.month << "-" << c.day;
}

TEST(EncodeOleTime, FractionOfDay) {
  EXPECT_EQ(EncodeOleTime(0, 0, 0, 0), 0.0);
  EXPECT_EQ(EncodeOleTime(12, 0, 0, 0), 0.5);
  EXPECT_EQ(EncodeOleTime(6, 0, 0, 0), 0.25);
  EXPECT_DOUBLE_EQ(*EncodeOleTime(23, 59, 59, 999), 86399999.0 / 86400000.0);
  EXPECT_EQ(EncodeOleTime(24, 0, 0, 0), std::nullopt);
  EXPECT_EQ(EncodeOleTime(0, 60, 0, 0), std::nullopt);
  EXPECT_EQ(EncodeOleTime(0, 0, 60, 0), std::nullopt);
  EXPECT_EQ(EncodeOleTime(0, 0, 0, 1000), std::nullopt);
  EXPECT_EQ(EncodeOleTime(-1, 0, 0, 0), std::nullopt);
}

TEST(CombineOleDateTime, TimeCountsAwayFromZeroBeforeBase) {
  EXPECT_EQ(CombineOleDateTime(2.0, 0.25), 2.25);
  EXPECT_EQ(CombineOleDateTime(0.0, 0.25), 0.25);
  EXPECT_EQ(CombineOleDateTime(-1.0, 0.25), -1.25);
}

}  // namespace
}  // namespace quendra
