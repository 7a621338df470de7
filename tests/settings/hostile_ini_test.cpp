// Files a user, a crash or an attacker may leave behind: nothing may crash, hang or lose the defaults of
// values that cannot be read.
#include <gtest/gtest.h>

#include <random>
#ifndef _WIN32
#include <sys/stat.h>
#endif
#include <string>

#include "sample_settings.h"
#include "settings/ini_file.h"
#include "settings/wreg.h"
#include "settings_sandbox.h"

namespace quendra {
namespace {

using namespace std::string_literals;

class HostileIniTest : public testing::SettingsSandbox {
 protected:
  // Loads the module's settings from a file holding `text`.
  void Load(const std::string& text, TDataSourceCfg& cfg) {
    const std::string ini = Path("hostile.ini");
    WriteFile(ini, text);
    TWreg store;
    store.INIFile = ini;
    store.Components() = testing::ModuleMap();
    EXPECT_TRUE(store.LoadProperties(cfg));
  }
};

TEST_F(HostileIniTest, DamagedFilesKeepTheDefaultsOfWhatCannotBeRead) {
  struct Case {
    const char* what;
    std::string text;
    std::string begsign;  // expected start string after loading
  };
  const std::string long_value(4 << 20, 'x');
  const Case cases[] = {
      {"empty", "", "Data"},
      {"no sections", "Start string=Evil\r\nLeft=1\r\n", "Data"},
      {"other sections only", "[Other]\r\nStart string=Evil\r\n", "Data"},
      {"duplicate keys", "[Common]\r\nStart string=First\r\nStart string=Second\r\n", "First"},
      {"bad escapes", "[Common]\r\nStart string=%%%g%4%\r\n", "%%g%4%"},
      {"binary bytes", "[Common]\r\nStart\0string=x\r\nStart string=a\0b\x01\xff\r\n"s, "a\0b\x01\xff"s},
      {"very long line", "[Common]\r\nStart string=" + long_value + "\r\n", long_value},
      {"very long key", "[Common]\r\n" + long_value + "=1\r\nStart string=ok\r\n", "ok"},
      {"very long header", "[" + long_value + "\r\nStart string=no\r\n", "Data"},
      {"unterminated", "[Common]\r\nStart string=end", "end"},
      {"cr only", "[Common]\rStart string=x\r", "Data"},
      {"nul only", std::string(1000, '\0'), "Data"},
  };
  for (const Case& c : cases) {
    TDataSourceCfg cfg;
    Load(c.text, cfg);
    EXPECT_EQ(cfg.BegSign_Text, c.begsign) << c.what;
    EXPECT_EQ(cfg.Width, 337) << c.what;
  }
}

TEST_F(HostileIniTest, RandomBytesNeverBreakALoadOrTheNextSave) {
  std::mt19937 random(12345);
  std::uniform_int_distribution<int> byte(0, 255);
  const std::string alphabet = "[]=%+\r\n ;CommonStart string0x1Translation";
  for (int round = 0; round < 200; ++round) {
    std::string text;
    const int size = byte(random) * 8;
    for (int i = 0; i < size; ++i) {
      text += (i % 3 == 0) ? static_cast<char>(byte(random))
                           : alphabet[static_cast<std::size_t>(byte(random)) % alphabet.size()];
    }
    TDataSourceCfg cfg;
    Load("[Common]\r\n" + text, cfg);
    TWreg store;
    store.INIFile = Path("hostile.ini");
    store.Components() = testing::ModuleMap();
    TDataSourceCfg sample;
    testing::SetSample(sample);
    ASSERT_TRUE(store.SaveProperties(sample)) << round;
    TDataSourceCfg back;
    ASSERT_TRUE(store.LoadProperties(back));
    testing::ExpectSameSettings(back, sample);
  }
}

#ifndef _WIN32
TEST_F(HostileIniTest, AFifoNamedAsTheFileNeitherBlocksNorIsRead) {
  const std::string fifo = Path("fifo.ini");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  TWreg store;
  store.INIFile = fifo;
  store.RegistryPath = registry_path_;
  store.Components() = testing::ModuleMap();
  TDataSourceCfg cfg;
  EXPECT_FALSE(store.LoadProperties(cfg));  // not a file: the registry is asked, and holds nothing
  EXPECT_EQ(cfg.BegSign_Text, "Data");
}
#endif

TEST_F(HostileIniTest, AFiftyMegabyteFileLoads) {
  std::string text = "[Common]\r\n";
  text.reserve(52u << 20);
  int i = 0;
  while (text.size() < (50u << 20)) {
    text += "Filler key " + std::to_string(i) + "=" + std::string(40, 'v') + "\r\n";
    if (++i % 100000 == 0) text += "[Section " + std::to_string(i) + "]\r\n";
  }
  text += "[Common]\r\nStart string=Found\r\nWidth=0x10\r\n";
  TDataSourceCfg cfg;
  Load(text, cfg);
  EXPECT_EQ(cfg.BegSign_Text, "Found");
  EXPECT_EQ(cfg.Width, 16);
}

}  // namespace
}  // namespace quendra
