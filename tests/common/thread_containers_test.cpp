#include "common/thread_containers.h"

#include <gtest/gtest.h>

#include "common/custom_commands.h"

namespace quendra {
namespace {

TEST(ThreadStringList, SplitsEveryLineBreakKindAndJoinsWithCrLf) {
  TThreadStringList list;
  list.SetText("a\r\nb\nc\rd");
  EXPECT_EQ(list.Text(), "a\r\nb\r\nc\r\nd\r\n");
  list.SetText("x\r\n\r\ny\r\n");
  EXPECT_EQ(list.Text(), "x\r\n\r\ny\r\n");
  list.Clear();
  EXPECT_EQ(list.Text(), "");
}

TEST(ThreadObjectList, OwningListFreesEntries) {
  auto counter = std::make_shared<int>(0);
  {
    TThreadObjectList<std::unique_ptr<std::shared_ptr<int>>> list;
    list.Add(std::make_unique<std::shared_ptr<int>>(counter));
    EXPECT_EQ(list.Count(), 1u);
    EXPECT_EQ(counter.use_count(), 2);
  }
  EXPECT_EQ(counter.use_count(), 1);
}

TEST(CustomCommands, TextForm) {
  TzelPluginCustomCmdList list;
  EXPECT_EQ(list.GetCustomCommandsText(), "");
  list.Add({"a", "b", "c", 1, 2});
  list.Add({"", "x", "", 255, 0});
  EXPECT_EQ(list.GetCustomCommandsText(), "a|b|c|1|2\r\n|x||255|0\r\n");
}

}  // namespace
}  // namespace quendra
