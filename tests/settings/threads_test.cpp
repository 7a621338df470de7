// Threads of one process: the named lock excludes them as it excludes processes, and translation tables
// stay readable while the configuration reloads.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "platform/named_lock.h"
#include "settings/data_source_cfg.h"
#include "settings_sandbox.h"

namespace quendra {
namespace {

using ThreadsTest = testing::SettingsSandbox;

TEST_F(ThreadsTest, ANamedLockAdmitsOneHolderAtATime) {
  const std::string name = "quendra_test_lock_" + std::to_string(testing::ProcessId());
  std::atomic<int> inside{0};
  std::atomic<int> overlaps{0};
  int counter = 0;  // guarded by the lock alone
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 200; ++i) {
        platform::NamedLockGuard guard(name);
        if (inside.fetch_add(1) != 0) overlaps.fetch_add(1);
        ++counter;
        inside.fetch_sub(1);
      }
    });
  }
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(overlaps.load(), 0);
  EXPECT_EQ(counter, 800);
}

TEST_F(ThreadsTest, LongLockNamesStayDistinct) {
  const std::string base(300, 'a');
  const std::string one = platform::bounded_lock_name(base + "1");
  const std::string two = platform::bounded_lock_name(base + "2");
  EXPECT_NE(one, two);
  EXPECT_LE(one.size(), 120u);
  EXPECT_EQ(platform::bounded_lock_name("short_name"), "short_name");
  // Both can be held at once: they are different locks.
  platform::NamedLockGuard first(base + "1");
  platform::NamedLockGuard second(base + "2");
}

TEST_F(ThreadsTest, TablesStayReadableWhileTheConfigurationReloads) {
  TDataSourceCfg cfg;
  cfg.MapTransl0_Strings.SetLines({"N", "N", "1"});
  cfg.LoadConfig(TDataSourceCfg::kAllModuleTypes);
  std::atomic<bool> stop{false};
  std::atomic<int> wrong{0};
  std::thread reader([&] {
    while (!stop.load()) {
      const std::string out = cfg.TranslationTable(TDataSourceCfg::kDataPacketTable)->Translate("abc");
      if (out != "ABC" && out != "abc") wrong.fetch_add(1);
    }
  });
  for (int i = 0; i < 500; ++i) {
    // Only the reloading thread touches the map lines; readers see whole tables of either map.
    cfg.MapTransl0_Strings.SetLines({"N", "N", i % 2 ? "1" : "0"});
    cfg.LoadConfig(TDataSourceCfg::kAllModuleTypes);
  }
  stop.store(true);
  reader.join();
  EXPECT_EQ(wrong.load(), 0);
}

}  // namespace
}  // namespace quendra
