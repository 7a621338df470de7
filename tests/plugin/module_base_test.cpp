#include <gtest/gtest.h>

#include <atomic>
#include <cstring>

#include "platform/application.h"
#include "platform/clock.h"
#include "platform/window.h"
#include "plugin/call_record.h"
#include "plugin/plugin.h"
#include "plugin/wait_for_flags.h"

namespace quendra {
namespace {

TEST(ModuleTypes, ConversionsKeepOnlyTheEightMembers) {
  EXPECT_EQ(ModuleTypesFromInt(0x102), (TModuleTypes{TModuleType::mttDataParser}));
  EXPECT_EQ(ModuleTypesToInt({TModuleType::mttDataParser, TModuleType::mttMenuExt}), 0x82);
  EXPECT_EQ(ModuleTypesToInt({}), 0);
}

TEST(CallRecord, DataSourceNameEndsAtZeroOrFieldEnd) {
  TPluginCallRec rec{};
  std::memcpy(rec.DataSourceName, "COM1", 5);
  EXPECT_EQ(DataSourceNameOf(rec), "COM1");
  std::memset(rec.DataSourceName, 'N', sizeof rec.DataSourceName);
  EXPECT_EQ(DataSourceNameOf(rec), std::string(50, 'N'));
}

// A tick source the test moves by hand.
std::atomic<uint32_t> g_ticks{0};
uint32_t fake_ticks() { return g_ticks.fetch_add(10); }

class WaitForFlagsTest : public ::testing::Test {
 protected:
  void SetUp() override { platform::set_tick_source(fake_ticks); }
  void TearDown() override {
    platform::set_tick_source(nullptr);
    platform::set_app_terminating(false);
  }
};

TEST_F(WaitForFlagsTest, Outcomes) {
  std::atomic<bool> set{true}, clear{false};
  EXPECT_TRUE(WaitForFlags(30000, {&set, &clear}, false));    // a clear flag ends the wait at once
  EXPECT_FALSE(WaitForFlags(30000, {&set, nullptr}, false));  // a missing flag ends it as a failure
  EXPECT_FALSE(WaitForFlags(100, {&set, &set}, false));       // all set until the timeout
  platform::set_app_terminating(true);
  EXPECT_FALSE(WaitForFlags(0, {&set}, false));  // no timeout, but the application is closing
  EXPECT_TRUE(WaitForFlags(0, {&clear}, false));
}

TEST(CenterOnOwner, PlacesFormInTheMiddleOfTheOwner) {
  TzelPlugin plugin(nullptr);
  platform::WindowRect form{0, 0, 301, 200};
  EXPECT_FALSE(plugin.CenterOnOwner(form));
  platform::WindowHandle owner = platform::create_window([](void*, uint32_t, uintptr_t, intptr_t) -> intptr_t { return 0; }, nullptr);
  platform::set_window_rect(owner, {100, 100, 900, 700});
  plugin.OwnerForm = owner;
  ASSERT_TRUE(plugin.CenterOnOwner(form));
  EXPECT_EQ(form.left, 349);
  EXPECT_EQ(form.top, 300);
  EXPECT_EQ(form.right - form.left, 301);
  EXPECT_EQ(form.bottom - form.top, 200);

  EXPECT_FALSE(plugin.DialogBoundsChanged(form));  // nothing remembered yet
  plugin.SaveDialogBounds(form);
  EXPECT_FALSE(plugin.DialogBoundsChanged(form));
  form.left += 1;
  EXPECT_TRUE(plugin.DialogBoundsChanged(form));
  platform::destroy_window(owner);
}

TEST(ModuleBase, LanguageChangeNeedsANewNonEmptyCode) {
  TzelPlugin plugin(nullptr);
  int changes = 0;
  plugin.OnChangeLanguage = [&](TzelPlugin&) { ++changes; };
  EXPECT_EQ(plugin.Language, "EN");
  plugin.ChangeLanguage("");
  plugin.ChangeLanguage("EN");
  EXPECT_EQ(changes, 0);
  plugin.ChangeLanguage("DE");
  EXPECT_EQ(plugin.Language, "DE");
  EXPECT_TRUE(plugin.LanguageApplied);
  EXPECT_EQ(changes, 1);
}

}  // namespace
}  // namespace quendra
