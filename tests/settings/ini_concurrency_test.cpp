// Several processes on one INI file: saves never lose each other's keys, and a reader or a killed writer
// never leaves or sees half a file.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <string>
#include <thread>

#include "settings/data_source_cfg.h"
#include "settings/ini_file.h"
#include "settings/wreg.h"
#include "settings_sandbox.h"

namespace quendra {
namespace {

using IniConcurrencyTest = testing::SettingsSandbox;

constexpr int kSaves = 200;

// One save of one key, as a module's store does it.
bool SaveKey(const std::string& ini, const std::string& section, const std::string& key,
             const std::string& value) {
  TDataSourceCfg cfg;
  cfg.BegSign_Text = value;
  TWreg store;
  store.INIFile = ini;
  store.Components().SetLines({"BegSign.Text," + section + "\\" + key});
  return store.SaveProperties(cfg);
}

// Runs `work` in a child process; returns its id. The child never returns into the test runner.
template <class Work>
pid_t Spawn(Work work) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    const bool ok = work();
    ::_exit(ok ? 0 : 1);
  }
  return pid;
}

int ExitCode(pid_t pid) {
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A whole file as the store writes it: empty, or sections each ended by an empty line.
bool IsWholeFile(const std::string& text) {
  return text.empty() ||
         (text.front() == '[' && text.size() >= 4 && text.compare(text.size() - 4, 4, "\r\n\r\n") == 0);
}

std::size_t CountKeys(const IniFile& ini) {
  std::size_t n = 0;
  for (const std::string& section : {std::string("Worker0"), std::string("Worker1")}) {
    n += ini.SectionLines(section).size();
  }
  return n;
}

TEST_F(IniConcurrencyTest, TwoProcessesSavingDifferentKeysLoseNothing) {
  const std::string ini = Path("shared.ini");
  pid_t workers[2];
  for (int w = 0; w < 2; ++w) {
    workers[w] = Spawn([&ini, w] {
      const std::string section = "Worker" + std::to_string(w);
      for (int i = 0; i < kSaves; ++i) {
        if (!SaveKey(ini, section, "Key" + std::to_string(i), std::to_string(w) + "-" + std::to_string(i)))
          return false;
      }
      return true;
    });
    ASSERT_GT(workers[w], 0);
  }

  // Meanwhile every read sees a whole file, and never fewer keys than before.
  std::size_t seen = 0;
  int reads = 0;
  for (bool running = true; running; ++reads) {
    running = ::waitpid(workers[0], nullptr, WNOHANG) == 0 || ::waitpid(workers[1], nullptr, WNOHANG) == 0;
    const std::string text = ReadFile(ini);
    ASSERT_TRUE(IsWholeFile(text)) << "read " << reads << ": "
                                   << text.substr(text.size() > 80 ? text.size() - 80 : 0);
    const std::size_t keys = CountKeys(IniFile(text));
    ASSERT_GE(keys, seen) << "a save lost keys of the other process";
    seen = keys;
  }
  // waitpid above reaped the workers already when they ended; collect whatever is left.
  ::waitpid(workers[0], nullptr, WNOHANG);
  ::waitpid(workers[1], nullptr, WNOHANG);

  const IniFile result = IniFile::Load(ini);
  for (int w = 0; w < 2; ++w) {
    for (int i = 0; i < kSaves; ++i) {
      EXPECT_EQ(result.ReadString("Worker" + std::to_string(w), "Key" + std::to_string(i)),
                std::to_string(w) + "-" + std::to_string(i));
    }
  }
  EXPECT_EQ(CountKeys(result), 2u * kSaves);
}

TEST_F(IniConcurrencyTest, TwoProcessesSavingReportSuccess) {
  const std::string ini = Path("shared.ini");
  const pid_t a = Spawn([&] {
    for (int i = 0; i < 50; ++i) {
      if (!SaveKey(ini, "A", "K" + std::to_string(i), "a")) return false;
    }
    return true;
  });
  const pid_t b = Spawn([&] {
    for (int i = 0; i < 50; ++i) {
      if (!SaveKey(ini, "B", "K" + std::to_string(i), "b")) return false;
    }
    return true;
  });
  EXPECT_EQ(ExitCode(a), 0);
  EXPECT_EQ(ExitCode(b), 0);
  EXPECT_EQ(IniFile::Load(ini).SectionLines("A").size() + IniFile::Load(ini).SectionLines("B").size(), 100u);
}

TEST_F(IniConcurrencyTest, AKilledSaveLeavesTheOldOrTheNewFile) {
  const std::string ini = Path("killed.ini");
  constexpr std::size_t kValueSize = 1 << 21;
  std::mt19937 random(7);
  std::uniform_int_distribution<int> delay_us(0, 30000);
  for (int round = 0; round < 20; ++round) {
    const pid_t writer = Spawn([&ini] {
      for (int gen = 0;; ++gen) {
        SaveKey(ini, "Common", "Big", std::string(kValueSize, static_cast<char>('a' + gen % 26)));
      }
      return true;
    });
    ASSERT_GT(writer, 0);
    std::this_thread::sleep_for(std::chrono::microseconds(delay_us(random)));
    ::kill(writer, SIGKILL);
    ::waitpid(writer, nullptr, 0);

    const std::string text = ReadFile(ini);
    ASSERT_TRUE(IsWholeFile(text)) << "round " << round;
    if (text.empty()) continue;
    const auto value = IniFile(text).ReadString("Common", "Big");
    ASSERT_TRUE(value) << "round " << round;
    ASSERT_EQ(value->size(), kValueSize) << "round " << round;
    EXPECT_EQ(value->find_first_not_of(value->front()), std::string::npos) << "round " << round;
  }
  // The lock a killed writer held is free again.
  EXPECT_TRUE(SaveKey(ini, "Common", "After", "yes"));
}

}  // namespace
}  // namespace quendra
