#include "text/format_text.h"

#include <gtest/gtest.h>

namespace quendra {
namespace {

TEST(FormatText, FillsPlaceholdersInOrder) {
  EXPECT_EQ(
      FormatText("Error occurred while parameter formatting (%s)", {"'x' is not a valid integer value"}),
      "Error occurred while parameter formatting ('x' is not a valid integer value)");
  EXPECT_EQ(FormatText("'%s' with %s (%s)", {"a", "b", "c"}), "'a' with b (c)");
  EXPECT_EQ(FormatText("%s%s", {"a", "b"}), "ab");
  EXPECT_EQ(FormatText("100%% %s", {"done"}), "100% done");
  // Translated texts may carry wrong placeholders: they never fail.
  EXPECT_EQ(FormatText("%s and %s", {"one"}), "one and ");
  EXPECT_EQ(FormatText("%d %s %", {"x", "y"}), "%d x %");
  EXPECT_EQ(FormatText("no placeholder", {"x"}), "no placeholder");
  EXPECT_EQ(FormatText("%s", {"%s"}), "%s");
}

}  // namespace
}  // namespace quendra
