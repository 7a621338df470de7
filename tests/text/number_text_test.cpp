#include "text/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>

namespace quendra {
namespace {

struct Int32Case {
  std::string text;
  std::optional<std::int32_t> expected;
};

TEST(ParseInt32Text, DecimalHexSignsAndFailures) {
  const Int32Case cases[] = {
      {"0", 0},
      {"31", 31},
      {"  31", 31},
      {"+31", 31},
      {"-31", -31},
      {"$1F", 31},
      {"$1f", 31},
      {"x1F", 31},
      {"X1F", 31},
      {"0x1F", 31},
      {"0X1F", 31},
      {"-$1F", -31},
      {"+0x10", 16},
      {"2147483647", 2147483647},
      {"-2147483648", std::numeric_limits<std::int32_t>::min()},
      {"2147483648", std::nullopt},
      {"-2147483649", std::nullopt},
      {"4294967295", std::nullopt},
      {"99999999999999999999", std::nullopt},
      {"$FFFFFFFF", -1},
      {"$7FFFFFFF", 2147483647},
      {"$80000000", std::numeric_limits<std::int32_t>::min()},
      {"$00000001F", 31},  // leading zeros are no significant digits
      {"$100000000", std::nullopt},
      {"00012", 12},
      {"", std::nullopt},
      {" ", std::nullopt},
      {"+", std::nullopt},
      {"-", std::nullopt},
      {"$", std::nullopt},
      {"0x", std::nullopt},
      {"x", std::nullopt},
      {"abc", std::nullopt},
      {"12a", std::nullopt},
      {"12 ", std::nullopt},
      {"1 2", std::nullopt},
      {"- 5", std::nullopt},
      {"\t5", std::nullopt},
      {"$1G", std::nullopt},
      {"1.0", std::nullopt},
      {"--1", std::nullopt},
      {"0x-1", std::nullopt},
  };
  for (const Int32Case& c : cases)
    EXPECT_EQ(ParseInt32Text(c.text), c.expected) << "text: '" << c.text << "'";
}

struct Int64Case {
  std::string text;
  std::optional<std::int64_t> expected;
};

TEST(ParseInt64Text, DecimalHexSignsAndFailures) {
  const Int64Case cases[] = {
      {"-5000000000", -5000000000LL},
      {"5000000000", 5000000000LL},
      {"9223372036854775807", std::numeric_limits<std::int64_t>::max()},
      {"-9223372036854775808", std::numeric_limits<std::int64_t>::min()},
      {"9223372036854775808", std::nullopt},
      {"-9223372036854775809", std::nullopt},
      {"$FFFFFFFF", 4294967295LL},
      {"$FFFFFFFFFFFFFFFF", -1},
      {"0x8000000000000000", std::numeric_limits<std::int64_t>::min()},
      {"$10000000000000000", std::nullopt},
      {"  +42", 42},
      {"", std::nullopt},
      {"4x", std::nullopt},
  };
  for (const Int64Case& c : cases)
    EXPECT_EQ(ParseInt64Text(c.text), c.expected) << "text: '" << c.text << "'";
}

struct FloatCase {
  std::string text;
  std::optional<double> expected;
};

TEST(ParseFloatText, SyntaxAndRange) {
  const FloatCase cases[] = {
      {"3.5", 3.5},
      {"-1.5E3", -1500.0},
      {" -1.5e3 ", -1500.0},
      {"+2", 2.0},
      {".5", 0.5},
      {"5.", 5.0},
      {"1e+2", 100.0},
      {"1E-2", 0.01},
      {"0.1", 0.1},
      {"1.7976931348623157e308", std::numeric_limits<double>::max()},
      {"1e309", std::nullopt},
      {"-1e309", std::nullopt},
      {"123456789e301", std::nullopt},
      {"0.000001e-400", 0.0},
      {"1e-400", 0.0},
      {"", std::nullopt},
      {" ", std::nullopt},
      {".", std::nullopt},
      {"-", std::nullopt},
      {"1.2.3", std::nullopt},
      {"1,5", std::nullopt},
      {"1e", std::nullopt},
      {"1e+", std::nullopt},
      {"e5", std::nullopt},
      {"inf", std::nullopt},
      {"nan", std::nullopt},
      {"0x10", std::nullopt},
      {"1 000", std::nullopt},
      {"\t1", std::nullopt},
      {"1.5x", std::nullopt},
  };
  for (const FloatCase& c : cases)
    EXPECT_EQ(ParseFloatText(c.text), c.expected) << "text: '" << c.text << "'";
}

TEST(ParseFloatText, OtherDecimalSeparator) {
  EXPECT_EQ(ParseFloatText("3,5", ','), 3.5);
  EXPECT_EQ(ParseFloatText("3.5", ','), std::nullopt);
  std::optional<double> tiny_negative = ParseFloatText("-1e-999");
  ASSERT_TRUE(tiny_negative.has_value());
  EXPECT_EQ(*tiny_negative, 0.0);
  EXPECT_TRUE(std::signbit(*tiny_negative));
}

TEST(Trim, CountsControlCharactersAsBlanks) {
  EXPECT_EQ(Trim("  abc\t"), "abc");
  EXPECT_EQ(Trim(std::string("\0\x1F abc \x20\r\n", 9)), "abc");
  EXPECT_EQ(TrimLeft("  abc "), "abc ");
  EXPECT_EQ(TrimRight("  abc "), "  abc");
  EXPECT_EQ(Trim("\x21x\x7F"), "\x21x\x7F");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(Trim("\xA0x\xA0"), "\xA0x\xA0");  // no-break space is no control character
}

}  // namespace
}  // namespace quendra
