// Faults of the disk under an INI file: a read-only folder, a full disk, a read that fails or meets a file
// replaced under it. The file layer's test seam shows these even to a process running as root, where a
// folder without write permission would still be written. Whatever happens, the file on disk is either the
// old one or the new one, never a torn or emptied one, a failed save says so, and the module logs it.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_io.h"
#include "quendra/quendra_module.h"
#include "sample_settings.h"
#include "settings/settings_operations.h"
#include "settings_sandbox.h"

namespace quendra {
namespace {

using testing::kDefaultIni;
using testing::kSampleIni;
using testing::ModuleMap;

// Faults for one scope; cleared however the scope ends, so a failed assertion cannot leak them.
class ScopedFileFaults {
 public:
  explicit ScopedFileFaults(platform::FileFaults faults) { platform::set_file_faults(std::move(faults)); }
  ~ScopedFileFaults() { platform::set_file_faults(std::nullopt); }
  ScopedFileFaults(const ScopedFileFaults&) = delete;
  ScopedFileFaults& operator=(const ScopedFileFaults&) = delete;
};

platform::FileFaults ReadOnly() {
  platform::FileFaults faults;
  faults.read_only = true;
  return faults;
}

platform::FileFaults DiskWithFreeBytes(std::size_t bytes) {
  platform::FileFaults faults;
  faults.free_bytes = bytes;
  return faults;
}

class SettingsFaultTest : public testing::SettingsSandbox {
 protected:
  SettingsLocation Location() const {
    SettingsLocation location;
    location.RegistryPath = "\\" + registry_path_;
    location.IniFile = Path("settings.ini");
    return location;
  }

  // The names in the sandbox folder other than the lock and registry folders: a failed write must not
  // leave its temporary file behind.
  std::vector<std::string> FilesInFolder() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir_)) {
      if (entry.is_regular_file()) names.push_back(entry.path().filename().string());
    }
    return names;
  }
};

TEST_F(SettingsFaultTest, AFailedWriteLeavesTheOldFileWholeAndIsReported) {
  const std::size_t new_size = std::string(kDefaultIni).size();
  struct Case {
    const char* what;
    platform::FileFaults faults;
    bool file_existed;
  };
  const Case cases[] = {
      {"read-only folder, file present", ReadOnly(), true},
      {"read-only folder, no file yet", ReadOnly(), false},
      {"full disk", DiskWithFreeBytes(0), true},
      {"disk full after one byte", DiskWithFreeBytes(1), true},
      {"disk full halfway", DiskWithFreeBytes(new_size / 2), true},
      {"disk full one byte short", DiskWithFreeBytes(new_size - 1), true},
      {"disk full one byte short, no file yet", DiskWithFreeBytes(new_size - 1), false},
  };
  for (const Case& c : cases) {
    const std::string ini = Location().IniFile;
    std::filesystem::remove(ini);
    if (c.file_existed) WriteFile(ini, kSampleIni);
    TDataSourceCfg defaults;  // differs from the sample in every setting, so the whole file is rewritten
    {
      ScopedFileFaults faults(c.faults);
      EXPECT_FALSE(SaveSettings(Location(), ModuleMap(), defaults)) << c.what;
    }
    if (c.file_existed) {
      EXPECT_EQ(ReadFile(ini), kSampleIni) << c.what;
      TDataSourceCfg back;
      EXPECT_TRUE(LoadSettings(Location(), ModuleMap(), back)) << c.what;
      EXPECT_EQ(back.BegSign_Text, "Packet") << c.what;
      EXPECT_EQ(FilesInFolder(), std::vector<std::string>{"settings.ini"}) << c.what;
    } else {
      EXPECT_FALSE(std::filesystem::exists(ini)) << c.what;
      EXPECT_EQ(FilesInFolder(), std::vector<std::string>{}) << c.what;
    }
  }
}

TEST_F(SettingsFaultTest, AWriteThatFitsTheDiskStillSucceeds) {
  // The seam itself lets through what fits: exactly the new file's size is enough.
  const std::string ini = Location().IniFile;
  WriteFile(ini, kSampleIni);
  TDataSourceCfg defaults;
  {
    ScopedFileFaults faults(DiskWithFreeBytes(std::string(kDefaultIni).size()));
    EXPECT_TRUE(SaveSettings(Location(), ModuleMap(), defaults));
  }
  EXPECT_EQ(ReadFile(ini), kDefaultIni);
  EXPECT_EQ(FilesInFolder(), std::vector<std::string>{"settings.ini"});
}

TEST_F(SettingsFaultTest, AReadErrorKeepsTheDefaultsAndTheFileIsNotOverwritten) {
  const std::string ini = Location().IniFile;
  WriteFile(ini, kSampleIni);
  platform::FileFaults failing;
  failing.while_reading = [](const std::string& path) { throw platform::FileError("Cannot read " + path); };
  ScopedFileFaults faults(failing);

  TDataSourceCfg cfg;
  EXPECT_FALSE(LoadSettings(Location(), ModuleMap(), cfg));
  EXPECT_EQ(cfg.BegSign_Text, "Data");
  EXPECT_EQ(cfg.Width, 337);
  EXPECT_TRUE(cfg.chkExpNode_Checked);
  // Saving over a file that could not be read would replace every setting it holds with this store's.
  EXPECT_FALSE(SaveSettings(Location(), ModuleMap(), cfg));
  EXPECT_EQ(ReadFile(ini), kSampleIni);
}

// A file a little over one read block, its first setting at the top and its second at the end, so that a
// read mixing two files would pair a top from one with an end from the other.
std::string LargeIni(const std::string& width, const std::string& start) {
  std::string text = "[Common]\r\nWidth=" + width + "\r\n";
  for (int i = 0; text.size() < 70000; ++i)
    text += "Filler " + std::to_string(i) + "=" + std::string(60, 'f') + "\r\n";
  return text + "Start string=" + start + "\r\n";
}

TEST_F(SettingsFaultTest, AFileReplacedDuringALoadIsReadWholeFromOneVersion) {
  const std::string ini = Location().IniFile;
  const std::string replacement = Path("replacement.ini");
  WriteFile(ini, LargeIni("111", "Old"));
  WriteFile(replacement, LargeIni("222", "New") + "Left=7\r\n");
  int replaced = 0;
  bool renamed = false;
  platform::FileFaults faults;
  faults.while_reading = [&](const std::string& path) {
    if (path != ini || replaced++ > 0) return;
    // Another process puts a new file in place the usual way: rename over the old one. Windows refuses
    // while the file is open for reading, which leaves the load as safe.
    std::error_code ec;
    std::filesystem::rename(replacement, ini, ec);
    renamed = !ec;
  };
  TDataSourceCfg cfg;
  {
    ScopedFileFaults scoped(faults);
    EXPECT_TRUE(LoadSettings(Location(), ModuleMap(), cfg));
  }
  EXPECT_EQ(replaced, 1);
  EXPECT_EQ(cfg.Width, 111);
  EXPECT_EQ(cfg.BegSign_Text, "Old");
  EXPECT_EQ(cfg.Left, 465);

  if (!renamed) return;
  TDataSourceCfg next;  // the next load sees the new file, whole
  EXPECT_TRUE(LoadSettings(Location(), ModuleMap(), next));
  EXPECT_EQ(next.Width, 222);
  EXPECT_EQ(next.BegSign_Text, "New");
  EXPECT_EQ(next.Left, 7);
}

TEST_F(SettingsFaultTest, TheModuleLogsASaveThatFailed) {
  const std::string logged =
      "Quendra. Error occurred while changing the configuration (the settings could not be saved)";
  struct Case {
    const char* what;
    std::optional<platform::FileFaults> faults;
    bool expect_log;
  };
  const Case cases[] = {
      {"read-only folder", ReadOnly(), true},
      {"full disk", DiskWithFreeBytes(100), true},
      {"no fault", std::nullopt, false},
  };
  for (const Case& c : cases) {
    const std::string ini = Path(std::string("module_") + (c.faults ? "fault" : "fine") + ".ini");
    WriteFile(ini, kSampleIni);
    auto module = std::make_unique<TaPlugin>(nullptr);
    module->INIFile = ini;
    module->RegistryPath = registry_path_;
    module->LogWindow = 0x7fff0001;  // no such window: every line stays in the buffer the host drains
    auto cfg = module->NewConfiguration();
    {
      std::optional<ScopedFileFaults> faults;
      if (c.faults) faults.emplace(*c.faults);
      cfg->SaveConfig();
    }
    const std::vector<std::string> lines = module->LogBuffer.with_lock(
        [](TThreadStringList::List& l) { return std::vector<std::string>(l.begin(), l.end()); });
    std::vector<std::string> expected;
    if (c.expect_log) expected.push_back(std::string(1, '\x01') + logged);
    EXPECT_EQ(lines, expected) << c.what;
    EXPECT_EQ(ReadFile(ini), c.expect_log ? std::string(kSampleIni) : std::string(kDefaultIni)) << c.what;
  }
}

}  // namespace
}  // namespace quendra
