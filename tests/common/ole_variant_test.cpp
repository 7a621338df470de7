#include "common/ole_variant.h"

#include <gtest/gtest.h>

namespace quendra {
namespace {

TEST(OleVariant, CopiesOwnTheirText) {
  OleVariant a = OleVariant::from_ansi_as_wide("hello");
  OleVariant b = a;
  EXPECT_NE(a.raw().Value.OleString, b.raw().Value.OleString);
  a.clear();
  EXPECT_EQ(b.wide_view(), u"hello");
  OleVariant c = std::move(b);
  EXPECT_TRUE(b.is_empty());
  EXPECT_EQ(c.to_ansi(), "hello");
  OleVariant s = OleVariant::from_ansi_string("counted");
  OleVariant t = s;
  EXPECT_EQ(t.ansi_view(), "counted");
  EXPECT_EQ(s.raw().Value.AnsiString, t.raw().Value.AnsiString);  // shared by reference count
}

TEST(OleVariant, MissingMeansEmptyNullOrEmptyText) {
  EXPECT_TRUE(OleVariant().is_missing());
  EXPECT_TRUE(OleVariant::null().is_missing());
  EXPECT_TRUE(OleVariant::from_wide(u"").is_missing());
  EXPECT_FALSE(OleVariant::from_int32(0).is_missing());
  EXPECT_FALSE(OleVariant::from_wide(u" ").is_missing());
}

TEST(OleVariant, IntegerReading) {
  struct Case {
    OleVariant value;
    std::optional<int64_t> expected;
  };
  const Case cases[] = {
      {OleVariant::from_int32(-7), -7},
      {OleVariant::from_typed_integer(VarType::UInt32, 4000000000), 4000000000},
      {OleVariant::from_bool(true), -1},
      {OleVariant::from_double(2.5), 2},  // banker's rounding, as the platform converts
      {OleVariant::from_ansi_as_wide(" 42 "), 42},
      {OleVariant::from_ansi_as_wide("-0x10"), -16},
      {OleVariant::from_ansi_as_wide("$FF"), 255},
      {OleVariant::from_ansi_as_wide("12a"), std::nullopt},
      {OleVariant::from_ansi_as_wide("99999999999999999999"), std::nullopt},
      {OleVariant::from_ansi_as_wide(""), std::nullopt},
      {OleVariant::null(), std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(c.value.to_int64(), c.expected) << c.value.to_ansi();
}

TEST(OleVariant, TextOfNumbersIgnoresTheProcessLocale) {
  EXPECT_EQ(OleVariant::from_double(1.5).to_ansi(), "1.5");
  EXPECT_EQ(OleVariant::from_int64(-9000000000).to_ansi(), "-9000000000");
  EXPECT_EQ(OleVariant::from_currency_units(12345).to_ansi(), "1.2345");
}

}  // namespace
}  // namespace quendra
