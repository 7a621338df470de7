#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "test_host.h"

namespace quendra::testing {
namespace {

using CommandChannel = ModuleTest;

TEST_F(CommandChannel, LoadAndUnloadNest) {
  int loads = 0, unloads = 0;
  TestModule::configure = [&](TestModule& m) {
    m.OnLoad = [&](TzelPlugin&, PPluginCallRec, int32_t&) { ++loads; };
    m.OnUnload = [&](TzelPlugin&, PPluginCallRec, int32_t&) { ++unloads; };
  };
  Call first(1);
  first.with("RegistryPath", "Software\\A").with("INISectionPrefix", "P").with("INI-FILE", "a.ini");
  first.rec.SenderID = 42;
  EXPECT_EQ(first.command("LOAD"), 0);
  auto m = module(1);
  EXPECT_EQ(m->RegistryPath, "Software\\A");
  EXPECT_EQ(m->INISectionPrefix, "P");
  EXPECT_EQ(m->INIFile, "a.ini");
  EXPECT_EQ(m->SenderID, 42);
  ASSERT_TRUE(m->OutputRows && m->EventRows);

  Call second(1);
  second.with("RegistryPath", "Software\\B");
  EXPECT_EQ(second.command("LOAD"), 0);
  EXPECT_EQ(m->RegistryPath, "Software\\A");  // the nested LOAD reads nothing
  EXPECT_EQ(loads, 1);

  Call unload(1);
  unload.with("INI-FILE", "a.ini");
  EXPECT_EQ(unload.command("UNLOAD"), 0);
  EXPECT_EQ(unloads, 0);
  EXPECT_FALSE(m->Unloaded);
  EXPECT_EQ(unload.command("UNLOAD"), 0);
  EXPECT_EQ(unloads, 1);
  EXPECT_TRUE(m->Unloaded);
  EXPECT_FALSE(m->OutputRows);
  EXPECT_EQ(m->LogWindow.load(), 0u);
  EXPECT_EQ(unload.command("UNLOAD"), 0);  // surplus: nothing
  EXPECT_EQ(m->LoadCount.load(), 0);
}

TEST_F(CommandChannel, UnloadWithAnotherIniFileSavesThereFirst) {
  std::vector<std::string> saved_to;
  TestModule::configure = [&](TestModule& m) { m.OnSaveSettingsNow = [&](TzelPlugin& p) { saved_to.push_back(p.INIFile); }; };
  Call(2).with("INI-FILE", "old.ini").command("LOAD");
  Call(2).with("INI-FILE", "new.ini").command("UNLOAD");
  EXPECT_EQ(saved_to, std::vector<std::string>{"new.ini"});
}

TEST_F(CommandChannel, AnswersOfEveryBuiltInCommand) {
  TestModule::configure = [](TestModule& m) { m.EventsSupported = "ALARM"; };
  struct Case {
    const char* command;
    std::vector<std::pair<const char*, OleVariant>> values;
    int32_t expected;
  };
  const Case cases[] = {
      {"load", {}, -2},  // names are exact
      {"SET-ITEMS", {}, -1},
      {"SET-ITEMS", {{"ITEMS", OleVariant::from_int32(5)}}, -1},
      {"SET-ITEMS", {{"ITEMS", OleVariant::from_ansi_as_wide("A|B|Integer|")}}, 0},
      {"SET-STATE", {}, -1},
      {"SET-STATE", {{"RESULT", OleVariant::from_ansi_as_wide("no")}}, -3},
      {"SET-STATE", {{"RESULT", OleVariant::from_int32(1)}}, 0},
      {"ITEMS", {}, -1},
      {"ITEMS", {{"RESULT", OleVariant::null()}}, 0},
      {"EVENTS-SUPPORT", {}, 0},
      {"EVENT", {}, -1},
      {"EVENT", {{"EVENT-TYPE", OleVariant::from_ansi_as_wide("X")}}, 0},
      {"SAVE-SETTINGS-NOW", {}, 0},
      {"LOAD-SETTINGS-NOW", {}, 0},
      {"NO-SUCH", {}, -2},
  };
  for (const Case& c : cases) {
    Call call(3);
    for (const auto& [name, value] : c.values) call.with(name, value);
    EXPECT_EQ(call.command(c.command), c.expected) << c.command;
  }
}

TEST_F(CommandChannel, ItemsAndEventsSupportAnswerInResult) {
  TestModule::configure = [](TestModule& m) {
    m.EventsSupported = "ALARM";
    m.OnBeforeGetParserItems = [](TzelPlugin& p) {
      p.ParserItems.Clear();
      p.ParserItems.AddStandardParserItems(false);
    };
  };
  Call items(4);
  items.with("RESULT", OleVariant::null());
  ASSERT_EQ(items.command("ITEMS"), 0);
  OleVariant answer = items.params->GetValue("RESULT");
  EXPECT_EQ(answer.type(), VarType::OleStr);
  EXPECT_EQ(answer.to_ansi().substr(0, 35), "Full data packet|FULL_DATA_PACKET|S");
  EXPECT_EQ(module(4)->ParserItemsText, answer.to_ansi());

  Call support(4);
  support.with("RESULT", OleVariant::null());
  ASSERT_EQ(support.command("EVENTS-SUPPORT"), 0);
  EXPECT_EQ(support.params->GetValue("RESULT").wide_view(), u"ALARM");
  Call no_result(4);
  ASSERT_EQ(no_result.command("EVENTS-SUPPORT"), 0);
  EXPECT_EQ(no_result.params->FindItem("RESULT"), nullptr);
}

TEST_F(CommandChannel, SetStateReadsDataSourcesAndSwitchesOnlyTheCallsRoles) {
  std::vector<uint8_t> changes;
  TestModule::configure = [&](TestModule& m) {
    m.OnStateChanged = [&](TzelPlugin&, TModuleTypes types) { changes.push_back(types.bits()); };
  };
  Call on(5, 1u << QUENDRA_MTT_DATA_PARSER);
  on.with("DATA-SOURCES-IN-CFG", "3; Port 3 ;COM3 at 9600\r\nnot a number;x;y\n7;Seven").with("RESULT", OleVariant::from_int32(1));
  ASSERT_EQ(on.command("SET-STATE"), 0);
  auto m = module(5);
  ASSERT_EQ(m->ConfigDataSources.size(), 2u);
  EXPECT_EQ(m->ConfigDataSources[0].ID, 3);
  EXPECT_EQ(m->ConfigDataSources[0].Name, "Port 3");
  EXPECT_EQ(m->ConfigDataSources[0].FullName, "COM3 at 9600");
  EXPECT_EQ(m->ConfigDataSources[1].ID, 7);
  EXPECT_EQ(m->ConfigDataSources[1].FullName, "");
  EXPECT_EQ(m->ModuleStateSet(), (TModuleTypes{TModuleType::mttDataParser}));
  for (int32_t state : {0, 2}) {
    Call off(5, 1u << QUENDRA_MTT_DATA_PARSER);
    off.with("RESULT", OleVariant::from_int32(state));
    ASSERT_EQ(off.command("SET-STATE"), 0);
    EXPECT_FALSE(m->IsModuleActive(TModuleType::mttDataParser)) << state;
    on.command("SET-STATE");
  }
  EXPECT_EQ(changes.size(), 5u);
  EXPECT_EQ(m->ConfigDataSources.size(), 2u);  // calls without the list keep it
}

TEST_F(CommandChannel, SettingsCommandsMoveIniFileForTheHandlerOnly) {
  std::vector<std::string> loads, saves;
  TestModule::configure = [&](TestModule& m) {
    m.OnLoadSettingsNow = [&](TzelPlugin& p) { loads.push_back(p.INIFile); };
    m.OnSaveSettingsNow = [&](TzelPlugin& p) { saves.push_back(p.INIFile); };
  };
  Call(6).with("INI-FILE", "usual.ini").command("LOAD");
  Call(6).with("INI-FILE", "other.ini").command("SAVE-SETTINGS-NOW");
  Call(6).command("SAVE-SETTINGS-NOW");
  Call(6).with("INI-FILE", "preset.ini").command("LOAD-SETTINGS-NOW");
  EXPECT_EQ(saves, (std::vector<std::string>{"other.ini", "", "usual.ini"}));
  EXPECT_EQ(loads, std::vector<std::string>{"preset.ini"});
  EXPECT_EQ(module(6)->INIFile, "usual.ini");
}

TEST_F(CommandChannel, HandlerResultsAndFailures) {
  TestModule::configure = [](TestModule& m) {
    m.OnExecuteCustomCommand = [](TzelPlugin&, const std::string& command, PPluginCallRec, int32_t& result) {
      if (command == "FAIL") throw std::runtime_error("custom failed");
      result = 7;
    };
    m.OnEvent = [](TzelPlugin&, const std::string& type, PPluginCallRec, int32_t& result) {
      if (type == "BAD") throw std::runtime_error("event failed");
      EXPECT_EQ(result, -1);
      result = 3;
    };
    m.OnLoad = [](TzelPlugin& p, PPluginCallRec, int32_t&) {
      if (p.Handle == 8) throw std::runtime_error("load failed");
    };
  };
  EXPECT_EQ(Call(7).command("ANYTHING"), 7);
  EXPECT_EQ(Call(7).command("FAIL"), -3);
  EXPECT_EQ(Call(7).with("EVENT-TYPE", "OK").command("EVENT"), 3);
  EXPECT_EQ(Call(7).with("EVENT-TYPE", "BAD").command("EVENT"), -3);
  EXPECT_EQ(Call(8).command("LOAD"), -3);
}

// A failure that reaches ExecutePluginCommand is logged as kind 0 and answered -3.
TEST_F(CommandChannel, FailureOfABuiltInCommandIsLogged) {
  LogRecorder recorder;
  const platform::WindowHandle window = recorder.handle;
  Call call(9);
  call.with("MessagesProcessorHandle", recorder.handle_value()).with("RESULT", "x");
  EXPECT_EQ(call.command("SET-STATE"), -3);
  auto m = module(9);
  EXPECT_EQ(m->LogWindow.load(), window);  // set before the command ran
  std::string waiting = m->LogBuffer.Text();
  EXPECT_EQ(waiting.substr(0, 7), "\x01Test. ");
  // A nested command on the same thread is refused with an assertion and leaves the lock usable.
  m->OnSaveSettingsNow = [](TzelPlugin& p) {
    Call inner(p.Handle);
    EXPECT_EQ(inner.command("EVENTS-SUPPORT"), -3);
  };
  EXPECT_EQ(Call(9).command("SAVE-SETTINGS-NOW"), 0);
  EXPECT_NE(m->LogBuffer.Text().find("Assertion failure"), std::string::npos);
  EXPECT_EQ(m->CommandDepth.load(), 0);
  EXPECT_EQ(Call(9).command("EVENTS-SUPPORT"), 0);
  m->LogWindow = 0;
}

TEST_F(CommandChannel, CommandsOfOneInstanceRunOneAtATimeDataCallsDoNot) {
  std::atomic<int> in_command{0}, max_in_command{0}, in_data{0}, max_in_data{0};
  auto track = [](std::atomic<int>& now, std::atomic<int>& max) {
    int n = ++now;
    for (int m = max.load(); n > m && !max.compare_exchange_weak(m, n);) {
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    --now;
  };
  TestModule::configure = [&](TestModule& m) {
    m.OnExecuteCustomCommand = [&](TzelPlugin&, const std::string&, PPluginCallRec, int32_t& r) {
      track(in_command, max_in_command);
      r = 0;
    };
    m.OnProcessData = [&](TzelPlugin&, PPluginCallRec, int32_t&) { track(in_data, max_in_data); };
  };
  Call(10).command("LOAD");
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([] {
      for (int i = 0; i < 5; ++i) EXPECT_EQ(Call(10).command("WORK"), 0);
    });
    threads.emplace_back([] {
      for (int i = 0; i < 5; ++i) EXPECT_EQ(exports::ProcessData(Call(10).get()), 0);
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_EQ(max_in_command.load(), 1);
  EXPECT_GT(max_in_data.load(), 1);
}

}  // namespace
}  // namespace quendra::testing
