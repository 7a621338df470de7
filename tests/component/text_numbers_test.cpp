#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "component/text_numbers.h"

namespace quendra {
namespace {

TEST(TextNumbersTest, ParseInteger) {
  struct Case {
    const char* text;
    std::optional<std::int64_t> value;
  };
  const Case cases[] = {
      {"465", 465},
      {" -12 ", -12},
      {"+7", 7},
      {"0x409", 1033},
      {"0X1f", 31},
      {"$FF", 255},
      {"0xFFFFFFFF", 4294967295ll},
      {"-0x10", -16},
      {"", std::nullopt},
      {"12a", std::nullopt},
      {"0x", std::nullopt},
      {"- 1", std::nullopt},
      {"1.5", std::nullopt},
      {"--1", std::nullopt},
      {"9223372036854775807", INT64_MAX},
      {"-9223372036854775808", INT64_MIN},
      {"9223372036854775808", std::nullopt},
      {"0x12345678901234567", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseInteger(c.text), c.value) << c.text;
}

TEST(TextNumbersTest, ParseFloat) {
  struct Case {
    const char* text;
    std::optional<double> value;
  };
  const Case cases[] = {
      {"5000", 5000.0},
      {"1033.5", 1033.5},
      {"1033,5", 1033.5},
      {" -0.25 ", -0.25},
      {"+2", 2.0},
      {"1E3", 1000.0},
      {"", std::nullopt},
      {"abc", std::nullopt},
      {"1.2.3", std::nullopt},
      {"+-1", std::nullopt},
      {"1 000", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseFloat(c.text), c.value) << c.text;
}

TEST(TextNumbersTest, FloatToTextRoundTrips) {
  for (double d : {0.0, 5000.0, 1033.0, 0.1, -2.5, 1e20, 123456.789, 4.9e-324}) {
    const std::string text = FloatToText(d);
    EXPECT_EQ(ParseFloat(text), d) << text;
  }
  EXPECT_EQ(FloatToText(5000), "5000");
  EXPECT_EQ(FloatToText(1033), "1033");
}

}  // namespace
}  // namespace quendra
