#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "component/file_dialog.h"
#include "component/form.h"
#include "component/input_controls.h"
#include "component/strings_holder.h"
#include "platform/registry.h"
#include "sample_settings.h"
#include "settings/ini_file.h"
#include "settings/settings_operations.h"
#include "settings/wreg.h"
#include "settings_sandbox.h"

namespace quendra {
namespace {

using testing::ExpectSameSettings;
using testing::kDefaultIni;
using testing::kSampleIni;
using testing::ModuleMap;
using testing::SetSample;

class WregTest : public testing::SettingsSandbox {
 protected:
  // A store at this test's location, with the module's map.
  std::unique_ptr<TWreg> Store(const std::string& ini_file = {}, const std::string& prefix = {}) {
    auto store = std::make_unique<TWreg>();
    store->RegistryPath = "\\" + registry_path_ + "\\";
    store->INIFile = ini_file;
    store->INIFileSectionPrefix = prefix;
    store->Components() = ModuleMap();
    return store;
  }

  std::optional<platform::RegistryKey> Key(
      const std::string& sub = {}, platform::RegistryRoot root = platform::RegistryRoot::LocalMachine) {
    return platform::RegistryKey::open(root, registry_path_ + (sub.empty() ? "" : "\\" + sub), false);
  }
};

TEST_F(WregTest, EverySettingRoundTripsThroughAnIniFileStoredAsWritten) {
  const std::string ini = Path("cfg.ini");
  TDataSourceCfg saved;
  SetSample(saved);
  ASSERT_TRUE(Store(ini)->SaveProperties(saved));
  EXPECT_EQ(ReadFile(ini), kSampleIni);

  TDataSourceCfg loaded;
  ASSERT_TRUE(Store(ini)->LoadProperties(loaded));
  ExpectSameSettings(loaded, saved);
}

TEST_F(WregTest, AFreshConfigurationSavesAllTwentyNineEntries) {
  const std::string ini = Path("cfg.ini");
  TDataSourceCfg fresh;
  ASSERT_TRUE(Store(ini)->SaveProperties(fresh));
  EXPECT_EQ(ReadFile(ini), kDefaultIni);
}

TEST_F(WregTest, EverySettingRoundTripsThroughTheRegistryWithItsValueTypes) {
  TDataSourceCfg saved;
  SetSample(saved);
  auto store = Store();
  ASSERT_TRUE(store->SaveProperties(saved));
  EXPECT_EQ(store->ActiveRoot(), TRegistryRoot::rrHKEY_LOCAL_MACHINE);

  auto main = Key();
  auto translation = Key("Translation");
  ASSERT_TRUE(main && translation);
  EXPECT_EQ(main->read_dword("Left"), 10u);
  EXPECT_EQ(main->read_dword("Top"), static_cast<uint32_t>(-20));
  EXPECT_EQ(main->read_string("Start string"), "Packet");
  EXPECT_EQ(main->read_string("Left trim"), "True");
  EXPECT_EQ(main->read_string("Save files dir"), "+out file.ini");
  EXPECT_EQ(main->read_string("Filter"), "1||0||a%2bb||1%0d%0a");
  const auto timeout = main->read_binary("Sign timeout");
  ASSERT_TRUE(timeout);
  ASSERT_EQ(timeout->size(), 8u);
  double d = 0;
  std::memcpy(&d, timeout->data(), 8);
  EXPECT_EQ(d, 2500.5);
  EXPECT_EQ(main->value_type("Locale ID"), platform::RegistryValueType::Binary);
  EXPECT_EQ(translation->read_string("Map0"), "Y%0d%0aN%0d%0a0%0d%0a");
  EXPECT_EQ(translation->read_string("Map1"), "");
  EXPECT_EQ(translation->read_dword("Character"), 65u);
  EXPECT_FALSE(main->value_exists("Map0"));

  TDataSourceCfg loaded;
  ASSERT_TRUE(Store()->LoadProperties(loaded));
  ExpectSameSettings(loaded, saved);
}

TEST_F(WregTest, TheDialogFormAndTheConfigurationShareOneMap) {
  // A form whose controls carry the map's names, as the options dialog has them.
  TForm form;
  form.SetBounds({10, -20, 400, 300});
  form.Create<TOpenDialog>("OpenDialog").FileName = "C:\\Data\\in.xml";
  form.Create<TSaveDialog>("SaveDialog").FilterIndex = 3;
  form.Create<TEdit>("BegSign").Text = "Packet";
  form.Create<TCheckBox>("chkExpNode").Checked = false;
  form.Create<TSpinEdit>("spLocaleID").Value = 1031;
  form.Create<TControl>("XMLs").Hint = "Value||1||1||8\r\n";
  form.Create<TStringsHolder>("MapTransl0").Strings.SetLines({"Y", "N", "0"});
  form.Create<TComponent>("comboChar").SetTag(65);
  const std::string ini = Path("dialog.ini");
  auto to_file = Store(ini);
  ASSERT_TRUE(to_file->SaveProperties(form));

  TDataSourceCfg cfg;
  ASSERT_TRUE(Store(ini)->LoadProperties(cfg));
  EXPECT_EQ(cfg.Left, 10);
  EXPECT_EQ(cfg.Width, 400);
  EXPECT_EQ(cfg.OpenDialog_FileName, "C:\\Data\\in.xml");
  EXPECT_EQ(cfg.SaveDialog_FilterIndex, 3);
  EXPECT_EQ(cfg.BegSign_Text, "Packet");
  EXPECT_FALSE(cfg.chkExpNode_Checked);
  EXPECT_EQ(cfg.spLocaleID_Value, 1031);
  EXPECT_EQ(cfg.XMLs_Hint, "Value||1||1||8\r\n");
  EXPECT_EQ(cfg.MapTransl0_Strings.Lines(), (std::vector<std::string>{"Y", "N", "0"}));
  EXPECT_EQ(cfg.comboChar_Tag, 65);
  // Controls the form lacks were skipped, not written.
  EXPECT_EQ(ReadFile(ini).find("Left trim"), std::string::npos);

  TDataSourceCfg sample;
  SetSample(sample);
  ASSERT_TRUE(Store(ini)->SaveProperties(sample));
  TForm loaded_form;
  auto& begsign = loaded_form.Create<TEdit>("BegSign");
  auto& map0 = loaded_form.Create<TStringsHolder>("MapTransl0");
  ASSERT_TRUE(Store(ini)->LoadProperties(loaded_form));
  EXPECT_EQ(loaded_form.Bounds(), (TBounds{10, -20, 400, 300}));
  EXPECT_EQ(begsign.Text, "Packet");
  EXPECT_EQ(map0.Strings.Lines(), (std::vector<std::string>{"Y", "N", "0"}));
}

TEST_F(WregTest, SectionsFollowThePrefix) {
  const std::string ini = Path("prefixed.ini");
  TDataSourceCfg cfg;
  ASSERT_TRUE(Store(ini, "Host1")->SaveProperties(cfg));
  IniFile file = IniFile::Load(ini);
  EXPECT_EQ(file.SectionNames(), (std::vector<std::string>{"Host1.Common", "Host1.Translation"}));
  EXPECT_EQ(file.ReadString("Host1.Common", "Start string"), "Data");
  EXPECT_EQ(file.ReadString("Host1.Translation", "Map0"), "");

  auto nested = Store(ini);
  nested->Components().SetLines({"BegSign.Text,A\\B\\Start"});
  ASSERT_TRUE(nested->SaveProperties(cfg));
  EXPECT_EQ(IniFile::Load(ini).ReadString("A.B", "Start"), "Data");
}

TEST_F(WregTest, AMissingIniFileLoadsFromTheRegistryAndASaveCreatesIt) {
  TDataSourceCfg in_registry;
  in_registry.BegSign_Text = "FromRegistry";
  ASSERT_TRUE(Store()->SaveProperties(in_registry));

  const std::string ini = Path("missing.ini");
  TDataSourceCfg loaded;
  ASSERT_TRUE(Store(ini)->LoadProperties(loaded));
  EXPECT_EQ(loaded.BegSign_Text, "FromRegistry");
  EXPECT_FALSE(std::filesystem::exists(ini));

  ASSERT_TRUE(Store(ini)->SaveProperties(loaded));
  EXPECT_TRUE(std::filesystem::exists(ini));
  EXPECT_EQ(IniFile::Load(ini).ReadString("Common", "Start string"), "FromRegistry");
}

TEST_F(WregTest, TheCurrentUserRootServesWhenTheLocalMachineKeyCannotBeUsed) {
#ifdef _WIN32
  GTEST_SKIP() << "the real local-machine root cannot be closed to a test";
#else
  // A file where the local-machine tree should be: no key below it can be opened or created.
  std::filesystem::create_directories(dir_ / "registry");
  WriteFile((dir_ / "registry" / "HKEY_LOCAL_MACHINE").string(), "");
  TDataSourceCfg cfg;
  cfg.Width = 999;
  auto store = Store();
  ASSERT_TRUE(store->SaveProperties(cfg));
  EXPECT_EQ(store->ActiveRoot(), TRegistryRoot::rrHKEY_CURRENT_USER);
  EXPECT_EQ(Key({}, platform::RegistryRoot::CurrentUser)->read_dword("Width"), 999u);

  TDataSourceCfg loaded;
  auto load = Store();
  ASSERT_TRUE(load->LoadProperties(loaded));
  EXPECT_EQ(load->ActiveRoot(), TRegistryRoot::rrHKEY_CURRENT_USER);
  EXPECT_EQ(loaded.Width, 999);
#endif
}

TEST_F(WregTest, ALoadFallsBackToTheCurrentUserKeyWhenTheLocalMachineKeyIsMissing) {
  {
    auto key = platform::RegistryKey::open(platform::RegistryRoot::CurrentUser, registry_path_, true);
    ASSERT_TRUE(key);
    key->write_string("Start string", "UserRoot");
  }
  TDataSourceCfg cfg;
  auto store = Store();
  ASSERT_TRUE(store->LoadProperties(cfg));
  EXPECT_EQ(store->ActiveRoot(), TRegistryRoot::rrHKEY_CURRENT_USER);
  EXPECT_EQ(cfg.BegSign_Text, "UserRoot");
  EXPECT_FALSE(Key());  // loading created nothing under the local-machine root
}

TEST_F(WregTest, ALoadWithoutAnyKeyOrRootDoesNothingAndSaysSo) {
  TDataSourceCfg cfg;
  cfg.Left = 1;
  EXPECT_FALSE(Store()->LoadProperties(cfg));  // the key exists under neither root
  EXPECT_EQ(cfg.Left, 1);
  auto no_root = Store();
  no_root->RegistryRoot = TRegistryRoot::rrNone;
  EXPECT_FALSE(no_root->SaveProperties(cfg));
  EXPECT_FALSE(Key());
}

TEST_F(WregTest, RegistryValuesOfTheWrongTypeAreDeletedAndKeepTheDefault) {
  {
    auto key = platform::RegistryKey::open(platform::RegistryRoot::LocalMachine, registry_path_, true);
    ASSERT_TRUE(key);
    key->write_string("Left", "12");             // integer stored as text
    key->write_dword("Sign timeout", 7);         // floating stored as a number
    key->write_binary("Locale ID", "abcd", 4);   // floating of four bytes
    key->write_dword("Start string", 1);         // text stored as a number
    key->write_string("Export nodes", "Maybe");  // boolean that names no value
    key->write_string("Left trim", "");          // empty boolean: left alone
    key->write_string("Top", "5");
    key->write_dword("Height", 500);
  }
  TDataSourceCfg cfg;
  ASSERT_TRUE(Store()->LoadProperties(cfg));
  EXPECT_EQ(cfg.Left, 465);
  EXPECT_EQ(cfg.spSignTimeout_Value, 5000);
  EXPECT_EQ(cfg.spLocaleID_Value, 1033);
  EXPECT_EQ(cfg.BegSign_Text, "Data");
  EXPECT_TRUE(cfg.chkExpNode_Checked);
  EXPECT_FALSE(cfg.LeftTrim_Checked);
  EXPECT_EQ(cfg.Height, 500);
  auto key = Key();
  for (const char* gone : {"Left", "Sign timeout", "Locale ID", "Start string", "Export nodes", "Top"}) {
    EXPECT_FALSE(key->value_exists(gone)) << gone;
  }
  EXPECT_TRUE(key->value_exists("Left trim"));
  EXPECT_TRUE(key->value_exists("Height"));
}

TEST_F(WregTest, IniTextsAreReadLeniently) {
  const std::string ini = Path("lenient.ini");
  WriteFile(ini,
            "[Common]\r\n"
            "Left=abc\r\n"
            "Top=0x1F\r\n"
            "Height=0xFFFFFFFF\r\n"
            "Width=99999999999\r\n"
            "Locale ID=1031,5\r\n"
            "Sign timeout=soon\r\n"
            "Export nodes=Maybe\r\n"
            "Export attrs=\r\n"
            "Left trim=true\r\n"
            "Start string=  +Data%zz%2  \r\n"
            "Open files dir filter index=  -3  \r\n");
  TDataSourceCfg cfg;
  ASSERT_TRUE(Store(ini)->LoadProperties(cfg));
  EXPECT_EQ(cfg.Left, 0);
  EXPECT_EQ(cfg.Top, 31);
  EXPECT_EQ(cfg.Height, -1);
  EXPECT_EQ(cfg.Width, 0);
  EXPECT_EQ(cfg.spLocaleID_Value, 1031.5);
  EXPECT_EQ(cfg.spSignTimeout_Value, 0);
  EXPECT_TRUE(cfg.chkExpNode_Checked);
  EXPECT_TRUE(cfg.chkExpAttr_Checked);
  EXPECT_TRUE(cfg.LeftTrim_Checked);
  EXPECT_EQ(cfg.BegSign_Text, " Data%zz%2");
  EXPECT_EQ(cfg.OpenDialog_FilterIndex, -3);
  // Reading never rewrites the file.
  EXPECT_EQ(ReadFile(ini).find("Left=abc"), 10u);
}

TEST_F(WregTest, MapLinesThatAreBlankCommentsOrIncompleteAreSkipped) {
  const std::string ini = Path("map.ini");
  TDataSourceCfg cfg;
  auto store = Store(ini);
  store->Components().SetLines({
      "",
      "   ",
      ";BegSign.Text,Commented",
      "   ; Left,Indented comment",
      ";---short---",
      "Top",
      "Height,",
      ",Orphan",
      "Width,\\Leading",
      "NoSuchProperty,Ghost",
      "  BegSign.Text ,  Start string  ",
      "chkExpNode.Checked,Export nodes,extra",
  });
  ASSERT_TRUE(store->SaveProperties(cfg));
  EXPECT_EQ(ReadFile(ini), "[Common]\r\nStart string=Data\r\nExport nodes,extra=True\r\n\r\n");
}

TEST_F(WregTest, TheShortListHoldsTheBoundsOnly) {
  const TStringList shortened = ShortenSettingsMap(ModuleMap());
  EXPECT_EQ(shortened.Lines(), (std::vector<std::string>{"Left,Left", "Top,Top", "Height,Height",
                                                         "Width,Width", ";---short---"}));
  EXPECT_EQ(ShortenSettingsMap(TStringList({"A,B", "C,D"})).Lines(),
            (std::vector<std::string>{"A,B", "C,D"}));

  SettingsLocation location;
  location.RegistryPath = registry_path_;
  location.IniFile = Path("short.ini");
  TDataSourceCfg cfg;
  ASSERT_TRUE(SaveShortSettings(location, ModuleMap(), cfg));
  EXPECT_EQ(ReadFile(location.IniFile), "[Common]\r\nLeft=465\r\nTop=277\r\nHeight=415\r\nWidth=337\r\n\r\n");
  // The argument's INI file wins over the location's.
  ASSERT_TRUE(SaveSettings(location, ModuleMap(), cfg, Path("preset.ini")));
  EXPECT_EQ(ReadFile(Path("preset.ini")), kDefaultIni);
  cfg.Left = 0;
  ASSERT_TRUE(LoadSettings(location, ModuleMap(), cfg));
  EXPECT_EQ(cfg.Left, 465);
}

TEST_F(WregTest, EventsSeeEveryEntryAndServeVirtualOnes) {
  const std::string ini = Path("events.ini");
  TDataSourceCfg cfg;
  auto store = Store(ini);
  store->Components().SetLines(
      {"BegSign.Text,Start string", "Left,Left", "Virtual.Text,Extra", "Gone.Text,Gone"});
  std::vector<std::string> seen;
  store->BeforeProcessItem = [&](TWreg&, const std::string& name, int index, bool& require,
                                 bool& /*is_virtual*/, PropertyKind& kind) {
    seen.push_back(name + "#" + std::to_string(index) + (require ? " resolved" : " unresolved"));
    if (name == "Left") require = false;
    if (name == "Virtual_Text" || name == "Gone_Text") {
      require = true;
      kind = PropertyKind::Text;
    }
  };
  store->GetValue = [](TWreg&, const std::string& name, int, PropertyValue& value) {
    if (name == "Virtual_Text") value = std::string(" v+");
  };
  WriteFile(ini, "[Common]\r\nGone=old\r\n");
  ASSERT_TRUE(store->SaveProperties(cfg));
  EXPECT_EQ(seen, (std::vector<std::string>{"BegSign_Text#0 resolved", "Left#1 resolved",
                                            "Virtual_Text#2 unresolved", "Gone_Text#3 unresolved"}));
  EXPECT_EQ(ReadFile(ini), "[Common]\r\nStart string=Data\r\nExtra=+v%2b\r\n\r\n");

  std::vector<std::pair<std::string, std::string>> loaded;
  store->SetValue = [&](TWreg&, const std::string& name, int, const PropertyValue& value) {
    loaded.emplace_back(name, ValueToText(value));
  };
  ASSERT_TRUE(store->LoadProperties(cfg));
  EXPECT_EQ(loaded, (std::vector<std::pair<std::string, std::string>>{{"Virtual_Text", " v+"}}));
}

TEST_F(WregTest, AFailedIniWriteIsReported) {
  TDataSourceCfg cfg;
  EXPECT_FALSE(Store(Path("no_such_dir/cfg.ini"))->SaveProperties(cfg));
}

TEST_F(WregTest, TwoSpellingsOfOneFileShareALock) {
  const std::string direct = Path("a.ini");
  const std::string roundabout = (dir_ / "sub" / ".." / "A.ini").string();
  EXPECT_EQ(IniFileLockName(direct), IniFileLockName(roundabout));
  const std::string name = IniFileLockName(direct);
  EXPECT_EQ(name.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789_"), std::string::npos);
  EXPECT_NE(IniFileLockName(Path("b.ini")), name);
}

TEST_F(WregTest, TheStorePublishesItsSettings) {
  TWreg store;
  EXPECT_EQ(store.GetEnumProp("RegistryRoot"), "rrHKEY_LOCAL_MACHINE");
  EXPECT_EQ(store.GetEnumProp("SecondRegistryRoot"), "rrHKEY_CURRENT_USER");
  EXPECT_EQ(store.GetStrProp("RegistryPath"), "\\Software\\Company name\\App name");
  EXPECT_EQ(store.GetStrProp("INIFile"), "");
  store.SetEnumProp("RegistryRoot", "rrNone");
  EXPECT_EQ(store.RegistryRoot, TRegistryRoot::rrNone);
  EXPECT_EQ(store.GetObjectProp("Components"), &store.Components());
}

}  // namespace
}  // namespace quendra
