#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "sample_settings.h"
#include "settings/data_source_cfg.h"
#include "settings/settings_operations.h"
#include "settings_sandbox.h"

namespace quendra {
namespace {

TEST(DataSourceCfgTest, DefaultsAndNamesOfEverySetting) {
  TDataSourceCfg cfg;
  struct Case {
    const char* name;
    PropertyValue value;
  };
  const Case cases[] = {
      {"Left", std::int64_t{465}},
      {"Top", std::int64_t{277}},
      {"Height", std::int64_t{415}},
      {"Width", std::int64_t{337}},
      {"OpenDialog_FileName", std::string()},
      {"OpenDialog_FilterIndex", std::int64_t{1}},
      {"SaveDialog_FileName", std::string()},
      {"SaveDialog_FilterIndex", std::int64_t{1}},
      {"BegSign_Text", std::string("Data")},
      {"LeftTrim_Checked", std::int64_t{0}},
      {"RightTrim_Checked", std::int64_t{0}},
      {"FmtDate_Text", std::string("DD.MM.YYYY")},
      {"FmtTime_Text", std::string("HH\":\"NN\":\"SS")},
      {"FmtDateTime_Text", std::string("DD.MM.YYYY HH\":\"NN\":\"SS")},
      {"chkUseNowTime_Checked", std::int64_t{0}},
      {"chkUseNowDate_Checked", std::int64_t{0}},
      {"spLocaleID_Value", 1033.0},
      {"Filters_Hint", std::string()},
      {"XMLs_Hint", std::string()},
      {"spSignTimeout_Value", 5000.0},
      {"chkExpNode_Checked", std::int64_t{1}},
      {"chkExpAttr_Checked", std::int64_t{1}},
      {"chkAddNodeName_Checked", std::int64_t{0}},
      {"chkNameUpper_Checked", std::int64_t{0}},
      {"comboTransDirection_Tag", std::int64_t{0}},
      {"comboChar_Tag", std::int64_t{0}},
  };
  for (const Case& c : cases) EXPECT_EQ(cfg.GetProp(c.name), c.value) << c.name;
  for (const char* list : {"MapTransl0_Strings", "MapTransl1_Strings", "MapTransl2_Strings"}) {
    const PropertyInfo& info = cfg.Property(list);
    EXPECT_EQ(info.Kind, PropertyKind::Object) << list;
    EXPECT_FALSE(info.Writable()) << list;
    EXPECT_EQ(static_cast<TStringList*>(cfg.GetObjectProp(list))->Count(), 0u) << list;
  }
  // Twenty-nine settings in declaration order after the component's own Name and Tag.
  const auto all = cfg.ClassInfo().AllProperties();
  ASSERT_EQ(all.size(), 31u);
  EXPECT_EQ(all[2]->Name, "Left");
  EXPECT_EQ(all[30]->Name, "comboChar_Tag");
  EXPECT_TRUE(cfg.ClassInfo().InheritsFrom("TProxyCodeCustomObject"));
}

// Records what LoadConfig asks of its module.
struct ModuleRecorder {
  std::vector<std::string> calls;
  bool fail_rules = false;
  bool fail_filters = false;

  DataSourceCfgHooks Hooks() {
    DataSourceCfgHooks hooks;
    hooks.LoadSettings = [this](TPersistent&) {
      calls.push_back("load");
      return true;
    };
    hooks.SaveSettings = [this](TPersistent&) {
      calls.push_back("save");
      return true;
    };
    hooks.LoadNodeRules = [this] {
      calls.push_back("rules");
      if (fail_rules) throw std::runtime_error("bad rules");
    };
    hooks.LoadPacketFilters = [this] {
      calls.push_back("filters");
      if (fail_filters) throw std::runtime_error("bad filters");
    };
    hooks.LogConfigError = [this](const std::string& error) { calls.push_back("log " + error); };
    return hooks;
  }
};

TEST(DataSourceCfgTest, LoadConfigRebuildsOnlyForTheParserRole) {
  struct Case {
    int module_types;
    std::vector<std::string> calls;
  };
  const std::vector<std::string> rebuilt{"load", "rules", "filters"};
  const std::vector<std::string> settings_only{"load"};
  const Case cases[] = {
      {65535, rebuilt},   {255, rebuilt},          {256, rebuilt},
      {1 << 1, rebuilt},  {1 << 4, settings_only},                    // logging only
      {0, settings_only}, {1, settings_only},      {0x102, rebuilt},  // clamped to 255 first
  };
  for (const Case& c : cases) {
    ModuleRecorder module;
    TDataSourceCfg cfg(module.Hooks());
    cfg.LoadConfig(c.module_types);
    EXPECT_EQ(module.calls, c.calls) << c.module_types;
  }
}

TEST(DataSourceCfgTest, AFailingStepIsLoggedOnceAndTheNextStepStillRuns) {
  struct Case {
    bool fail_rules;
    bool fail_filters;
    std::vector<std::string> calls;
  };
  const Case cases[] = {
      {true, false, {"load", "rules", "log bad rules", "filters"}},
      {false, true, {"load", "rules", "filters", "log bad filters"}},
      {true, true, {"load", "rules", "log bad rules", "filters", "log bad filters"}},
  };
  for (const Case& c : cases) {
    ModuleRecorder module;
    module.fail_rules = c.fail_rules;
    module.fail_filters = c.fail_filters;
    TDataSourceCfg cfg(module.Hooks());
    cfg.LoadConfig(TDataSourceCfg::kAllModuleTypes);
    EXPECT_EQ(module.calls, c.calls);
  }
}

TEST(DataSourceCfgTest, SaveConfigOnlyWrites) {
  ModuleRecorder module;
  TDataSourceCfg cfg(module.Hooks());
  cfg.SaveConfig();
  EXPECT_EQ(module.calls, (std::vector<std::string>{"save"}));
  TDataSourceCfg unhooked;
  EXPECT_NO_THROW(unhooked.LoadConfig(TDataSourceCfg::kAllModuleTypes));
  EXPECT_NO_THROW(unhooked.SaveConfig());
}

TEST(DataSourceCfgTest, TranslationTablesAreRebuiltFromTheirMapsOnlyForTheParserRole) {
  TDataSourceCfg cfg;
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(cfg.TranslationTable(i)->IsIdentity()) << i;

  cfg.MapTransl0_Strings.SetLines({"N", "N", "1"});       // upper case
  cfg.MapTransl1_Strings.SetLines({"Y"});                 // drop codes below 32
  cfg.MapTransl2_Strings.SetLines({"N", "N", "0", "R"});  // remove code 0
  const auto before = cfg.TranslationTable(TDataSourceCfg::kDataPacketTable);
  cfg.LoadConfig(1 << 4);  // logging only: tables untouched
  EXPECT_EQ(cfg.TranslationTable(TDataSourceCfg::kDataPacketTable), before);
  EXPECT_EQ(cfg.TranslationTable(0)->Translate("abc"), "abc");

  cfg.LoadConfig(TDataSourceCfg::kAllModuleTypes);
  EXPECT_EQ(cfg.TranslationTable(TDataSourceCfg::kDataPacketTable)->Translate("abc"), "ABC");
  EXPECT_EQ(cfg.TranslationTable(TDataSourceCfg::kStringVariablesTable)->Translate("a\tb\r\n"), "ab");
  EXPECT_EQ(cfg.TranslationTable(TDataSourceCfg::kRawDataTable)->Translate(std::string("a\0b", 3)), "ab");
  // A reader holding the old table keeps it intact.
  EXPECT_EQ(before->Translate("abc"), "abc");
  EXPECT_THROW(cfg.TranslationTable(3), std::out_of_range);
}

using DataSourceCfgStoreTest = testing::SettingsSandbox;

TEST_F(DataSourceCfgStoreTest, ReloadsFromTheStoreThroughTheModulesLocation) {
  SettingsLocation location;
  location.RegistryPath = registry_path_;
  location.IniFile = Path("module.ini");
  const TStringList map = testing::ModuleMap();
  DataSourceCfgHooks hooks;
  hooks.LoadSettings = [&](TPersistent& target) { return LoadSettings(location, map, target); };
  hooks.SaveSettings = [&](TPersistent& target) { return SaveSettings(location, map, target); };

  TDataSourceCfg first(hooks);
  testing::SetSample(first);
  first.SaveConfig();
  EXPECT_EQ(ReadFile(location.IniFile), testing::kSampleIni);

  TDataSourceCfg second(hooks);
  second.LoadConfig(TDataSourceCfg::kAllModuleTypes);
  testing::ExpectSameSettings(second, first);
}

}  // namespace
}  // namespace quendra
