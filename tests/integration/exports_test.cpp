#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "plugin_library.h"

namespace quendra::host {
namespace {

// One library for the whole binary, as a host keeps it loaded.
const PluginLibrary& library() {
  static PluginLibrary lib(QUENDRA_PLUGIN_PATH);
  return lib;
}
const PluginExports& api() { return library().api(); }

struct HostCall {
  ParamsPtr params{TzelParamsList::create()};
  QuendraCallRec rec;
  explicit HostCall(uint32_t handle) : rec(library().record(handle, params.get())) {}
};

void release(uint32_t handle) {
  QuendraCallRec rec = library().record(handle, nullptr);
  rec.ReleaseFlag = QUENDRA_RELEASE_FLAG;
  EXPECT_EQ(api().ExecutePluginCommand(&rec), -1);
}

int32_t run_command(uint32_t handle, const char* command) {
  HostCall call(handle);
  if (command) call.params->Add("COMMAND", OleVariant::from_ansi_as_wide(command));
  return api().ExecutePluginCommand(&call.rec);
}

TEST(Exports, IdentityOfTheModule) {
  EXPECT_EQ(api().GetPluginIntfVersion(), 4);
  HostCall call(100);
  EXPECT_EQ(api().GetModuleType(&call.rec), 2);
  EXPECT_EQ(api().GetAppMinVersion(&call.rec), 4.0f);
  EXPECT_EQ(api().MultiThreadSupport(&call.rec), 1);
  EXPECT_STREQ(api().GetModuleDescription(&call.rec), "Quendra");
#ifndef _WIN32
  api().ShowOptionsDialog(&call.rec);  // no dialog on this platform: no success
  EXPECT_EQ(+call.rec.ResultValue, 0);
  EXPECT_EQ(+call.rec.ResultType, 5);
  EXPECT_EQ(+call.rec.ResultSize, 4);
#endif
  release(100);
}

// Records a careless or hostile host might pass: each gets the documented answer, nothing breaks.
TEST(Exports, HostileRecords) {
  struct Case {
    const char* what;
    void (*spoil)(QuendraCallRec&);
  };
  const Case cases[] = {
      {"RecSize 101", [](QuendraCallRec& r) { r.RecSize = 101; }},
      {"RecSize 103", [](QuendraCallRec& r) { r.RecSize = 103; }},
      {"null Params without release", [](QuendraCallRec& r) { r.Params = nullptr; }},
  };
  for (const Case& c : cases) {
    HostCall call(200);
    c.spoil(call.rec);
    EXPECT_EQ(api().ExecutePluginCommand(&call.rec), -1) << c.what;
    EXPECT_EQ(api().ProcessData(&call.rec), -1) << c.what;
    EXPECT_EQ(api().GetData(&call.rec), -1) << c.what;
    EXPECT_EQ(api().GetEvents(&call.rec), -1) << c.what;
  }
  EXPECT_EQ(api().ExecutePluginCommand(nullptr), -1);
  EXPECT_EQ(api().ProcessData(nullptr), -1);
  EXPECT_EQ(api().GetModuleType(nullptr), 0);
  EXPECT_EQ(api().GetModuleDescription(nullptr), nullptr);
  EXPECT_EQ(api().GetAppMinVersion(nullptr), -1.0f);
  EXPECT_EQ(api().MultiThreadSupport(nullptr), 0);
  EXPECT_EQ(api().GetLogEx(nullptr), 0);
  EXPECT_EQ(api().GetCustomCommands(nullptr), 0);
  api().ShowOptionsDialog(nullptr);

  // Handle 0 is no instance for every export.
  HostCall none(0);
  EXPECT_EQ(api().ExecutePluginCommand(&none.rec), -1);
  EXPECT_EQ(api().ProcessData(&none.rec), -1);
  EXPECT_EQ(api().GetModuleType(&none.rec), 0);
  EXPECT_EQ(api().GetModuleDescription(&none.rec), nullptr);
  EXPECT_EQ(api().GetAppMinVersion(&none.rec), -1.0f);
  EXPECT_EQ(api().MultiThreadSupport(&none.rec), 0);
  api().ShowOptionsDialog(&none.rec);
  EXPECT_EQ(+none.rec.ResultValue, 2);

  // A data source name filling its field without a terminator is read up to the field's end only.
  HostCall full(201);
  std::memset(full.rec.DataSourceName, 'A', sizeof full.rec.DataSourceName);
  full.rec.ModuleTypes = 0;
  EXPECT_EQ(api().ProcessData(&full.rec), 0);
  release(201);

  // A Params pointer at something that is not a live list.
  QuendraParamsList fake{};
  HostCall bad(202);
  bad.rec.Params = &fake;
  EXPECT_EQ(api().ExecutePluginCommand(&bad.rec), -3);
  EXPECT_EQ(api().ProcessData(&bad.rec), -3);
  release(202);
}

TEST(Exports, CommandAnswers) {
  EXPECT_EQ(run_command(300, nullptr), -1);   // no COMMAND
  EXPECT_EQ(run_command(300, "load"), -2);    // names are exact: not LOAD, and no custom handler
  EXPECT_EQ(run_command(300, "LOAD"), 0);
  EXPECT_EQ(run_command(300, "UNLOAD"), 0);
  release(300);
}

TEST(Exports, HandlesNameIndependentInstancesAndReleaseStartsAfresh) {
  // Two handles: the log of one is not the log of the other.
  for (uint32_t h : {400u, 401u}) {
    HostCall call(h);
    call.params->Add("COMMAND", OleVariant::from_ansi_as_wide("nonsense"));
    call.params->Add("MessagesProcessorHandle", OleVariant::from_int32(0));
    EXPECT_EQ(api().ExecutePluginCommand(&call.rec), -2);
  }
  EXPECT_EQ(run_command(400, "LOAD"), 0);
  HostCall data(400);
  data.rec.ModuleTypes = 0;
  EXPECT_EQ(api().ProcessData(&data.rec), 0);
  EXPECT_EQ(run_command(400, "UNLOAD"), 0);
  EXPECT_EQ(api().ProcessData(&data.rec), -1);  // unloaded: refused
  release(400);
  EXPECT_EQ(api().ProcessData(&data.rec), 0);   // a fresh instance, never unloaded
  release(400);
  release(401);
  release(402);  // unknown: nothing is created
}

TEST(Exports, GetLogExNegotiatesTheBufferSize) {
  const uint32_t handle = 500;
  // A command that fails inside the module leaves its description in the buffer (kind 0). A nested command is
  // such a failure; here a LOAD carrying a log window that never existed makes lines buffer instead.
  {
    HostCall call(handle);
    call.params->Add("COMMAND", OleVariant::from_ansi_as_wide("SET-STATE"));
    call.params->Add("RESULT", OleVariant::from_ansi_as_wide("not a number"));
    call.params->Add("MessagesProcessorHandle", OleVariant::from_int32(1));  // no such window
    EXPECT_EQ(api().ExecutePluginCommand(&call.rec), -3);
  }
  HostCall probe(handle);
  char small[4];
  probe.rec.Data = small;
  probe.rec.DataSize = sizeof small;
  EXPECT_EQ(api().GetLogEx(&probe.rec), 0);
  const intptr_t needed = probe.rec.ResultValue;
  ASSERT_GT(needed, 4);
  std::vector<char> buffer(static_cast<std::size_t>(needed));
  probe.rec.Data = buffer.data();
  probe.rec.DataSize = static_cast<int32_t>(needed);
  ASSERT_EQ(api().GetLogEx(&probe.rec), needed);
  std::string text(buffer.data(), buffer.size());
  EXPECT_EQ(text.substr(0, 10), "\x01Quendra. ");
  EXPECT_TRUE(text.ends_with("\r\n"));
  probe.rec.DataSize = static_cast<int32_t>(needed);
  EXPECT_EQ(api().GetLogEx(&probe.rec), 0);  // drained
  EXPECT_EQ(+probe.rec.ResultValue, 0);
  release(handle);
}

TEST(Exports, GetLogExWithZeroBufferDiscards) {
  const uint32_t handle = 501;
  HostCall call(handle);
  call.params->Add("COMMAND", OleVariant::from_ansi_as_wide("SET-STATE"));
  call.params->Add("RESULT", OleVariant::from_ansi_as_wide("x"));
  call.params->Add("MessagesProcessorHandle", OleVariant::from_int32(1));
  EXPECT_EQ(api().ExecutePluginCommand(&call.rec), -3);
  HostCall probe(handle);
  probe.rec.DataSize = 0;
  EXPECT_EQ(api().GetLogEx(&probe.rec), 0);
  EXPECT_GT(+probe.rec.ResultValue, 0);
  probe.rec.ResultValue = 0;
  EXPECT_EQ(api().GetLogEx(&probe.rec), 0);
  EXPECT_EQ(+probe.rec.ResultValue, 0);
  release(handle);
}

// Eight host threads create, use and release instances at once, sharing some handles.
TEST(Exports, ConcurrentInstances) {
  std::atomic<int> failures{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 8; ++t) {
    threads.emplace_back([t, &failures] {
      for (int i = 0; i < 200; ++i) {
        const uint32_t handle = 1000 + static_cast<uint32_t>((t * 7 + i) % 12);
        HostCall call(handle);
        call.rec.ModuleTypes = 0;
        if (api().GetModuleType(&call.rec) != 2) ++failures;
        int32_t r = api().ProcessData(&call.rec);
        if (r != 0 && r != -1) ++failures;  // -1 only when another thread just unloaded it
        if (i % 5 == 0) run_command(handle, "LOAD");
        if (i % 5 == 1) run_command(handle, "UNLOAD");
        if (i % 9 == 0) {
          QuendraCallRec rel = library().record(handle, nullptr);
          rel.ReleaseFlag = QUENDRA_RELEASE_FLAG;
          api().ExecutePluginCommand(&rel);
        }
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(failures.load(), 0);
  for (uint32_t h = 1000; h < 1012; ++h) release(h);
}

}  // namespace
}  // namespace quendra::host
