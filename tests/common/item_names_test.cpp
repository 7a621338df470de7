// Names made once per process, and the hash map the data path looks names up in.
#include "common/item_names.h"

#include <gtest/gtest.h>

#include <string>

#include "common/ansi_string.h"
#include "common/name_map.h"

namespace quendra {
namespace {

TEST(ItemNames, OneConstantEntryPerName) {
  const ItemName* level = InternItemName("Level");
  ASSERT_NE(level, nullptr);
  EXPECT_EQ(InternItemName("Level"), level);
  EXPECT_NE(InternItemName("LEVEL"), level);
  EXPECT_EQ(ansi::view(level->Name), "Level");
  EXPECT_EQ(ansi::view(level->LowerName), "level");
  EXPECT_TRUE(ansi::is_constant(level->Name));
  EXPECT_TRUE(ansi::is_constant(level->LowerName));
  // Counting leaves constants alone.
  EXPECT_EQ(ansi::retain(level->Name), level->Name);
  ansi::release(level->Name);
  ansi::release(level->Name);
  EXPECT_EQ(ansi::view(level->Name), "Level");

  const ItemName* lower = InternItemName("flow");
  EXPECT_EQ(lower->LowerName, lower->Name);               // nothing to lower: one string serves both
  const ItemName* accented = InternItemName("\xC4RGER");  // the code page's letters, not only A..Z
  EXPECT_EQ(ansi::view(accented->LowerName), "\xE4rger");
}

TEST(ItemNames, RefusesWhatIsNotWorthKeeping) {
  EXPECT_EQ(InternItemName(""), nullptr);
  EXPECT_EQ(InternItemName(std::string(129, 'n')), nullptr);
  EXPECT_NE(InternItemName(std::string(128, 'n')), nullptr);
}

TEST(NameMap, FindsWhatWasInsertedAcrossGrowth) {
  NameMap<int> map;
  EXPECT_EQ(map.Find("a"), nullptr);
  for (int i = 0; i < 1000; ++i) map.Insert("name" + std::to_string(i), i);
  EXPECT_EQ(map.size(), 1000u);
  for (int i = 0; i < 1000; ++i) {
    const int* found = map.Find("name" + std::to_string(i));
    ASSERT_NE(found, nullptr) << i;
    EXPECT_EQ(*found, i);
  }
  EXPECT_EQ(map.Insert("name7", 99), 7);  // a key keeps its first value
  EXPECT_EQ(map.Find("name1000"), nullptr);
  EXPECT_EQ(map.Find(""), nullptr);
  map.Insert("", -1);
  EXPECT_EQ(*map.Find(""), -1);
  // Keys that differ only past the first eight bytes, or only in length.
  map.Insert("abcdefgh1", 1);
  map.Insert("abcdefgh2", 2);
  map.Insert(std::string("ab\0", 3), 3);
  EXPECT_EQ(*map.Find("abcdefgh2"), 2);
  EXPECT_EQ(*map.Find(std::string("ab\0", 3)), 3);
  EXPECT_EQ(map.Find("ab"), nullptr);
  map.clear();
  EXPECT_EQ(map.Find("name1"), nullptr);
}

// Short names are compared as overlapping words: a difference at any position of any length must show.
TEST(NameMap, NamesDifferingInAnyOneByteAreDifferent) {
  for (std::size_t n = 0; n <= 40; ++n) {
    std::string a;
    for (std::size_t i = 0; i < n; ++i) a += static_cast<char>('a' + (i * 7) % 26);
    const std::string same = a;
    EXPECT_TRUE(EqualNames(a, same)) << n;
    EXPECT_EQ(HashName(a), HashName(same)) << n;
    EXPECT_FALSE(EqualNames(a, a + "x")) << n;
    for (std::size_t i = 0; i < n; ++i) {
      std::string b = a;
      b[i] = static_cast<char>(b[i] ^ 0x20);
      EXPECT_FALSE(EqualNames(a, b)) << n << " at " << i;
      b[i] = '\0';
      EXPECT_FALSE(EqualNames(a, b)) << n << " at " << i;
    }
  }
}

}  // namespace
}  // namespace quendra
