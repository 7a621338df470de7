// A careless host: releasing or unloading an instance while another thread is inside a data call on it, and
// changing its own lists between calls. Nothing may crash or touch freed memory (run under ASan and TSan).
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "plugin_library.h"

namespace quendra::host {
namespace {

const PluginLibrary& library() {
  static PluginLibrary lib(QUENDRA_PLUGIN_PATH);
  return lib;
}

int32_t command(uint32_t handle, const char* name, std::initializer_list<std::pair<const char*, OleVariant>> values = {}) {
  ParamsPtr params(TzelParamsList::create());
  for (const auto& [key, value] : values) params->Add(key, value);
  params->Add("COMMAND", OleVariant::from_ansi_as_wide(name));
  QuendraCallRec rec = library().record(handle, params.get());
  return library().api().ExecutePluginCommand(&rec);
}

void load_with_source(uint32_t handle) {
  command(handle, "LOAD");
  command(handle, "SET-STATE", {{"DATA-SOURCES-IN-CFG", OleVariant::from_ansi_as_wide("1;A;A")},
                                {"RESULT", OleVariant::from_int32(1)}});
}

std::string many_blocks() {
  std::string data;
  for (int i = 0; i < 300; ++i) data += "<Data><a x=\"1\">" + std::to_string(i) + "</a><b>2</b></Data>";
  return data;
}

// Feeds `data` to data source 1 of `handle` until `stop`; counts answers other than success or refusal.
void process_until(uint32_t handle, const std::string& data, const std::atomic<bool>& stop, std::atomic<int>& bad) {
  ParamsPtr params(TzelParamsList::create());
  while (!stop) {
    QuendraCallRec rec = library().record(handle, params.get());
    rec.DataSourceID = 1;
    rec.DataType = QUENDRA_DT_TEXT;
    rec.Data = const_cast<char*>(data.data());
    rec.DataSize = static_cast<int32_t>(data.size());
    if (library().api().ProcessData(&rec) < -1) ++bad;
  }
}

void release(uint32_t handle) {
  QuendraCallRec rec = library().record(handle, nullptr);
  rec.ReleaseFlag = QUENDRA_RELEASE_FLAG;
  library().api().ExecutePluginCommand(&rec);
}

TEST(Misuse, ReleaseWhileAnotherThreadProcesses) {
  const uint32_t handle = 300;
  const std::string data = many_blocks();
  std::atomic<bool> stop{false};
  std::atomic<int> bad{0};
  std::thread worker([&] { process_until(handle, data, stop, bad); });
  for (int i = 0; i < 40; ++i) {
    load_with_source(handle);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    release(handle);
  }
  stop = true;
  worker.join();
  EXPECT_EQ(bad.load(), 0);
  release(handle);
}

TEST(Misuse, UnloadWhileAnotherThreadProcesses) {
  const uint32_t handle = 301;
  const std::string data = many_blocks();
  load_with_source(handle);
  std::atomic<bool> stop{false};
  std::atomic<int> bad{0};
  std::thread worker([&] { process_until(handle, data, stop, bad); });
  for (int i = 0; i < 40; ++i) {
    command(handle, "UNLOAD");
    load_with_source(handle);
  }
  stop = true;
  worker.join();
  EXPECT_EQ(bad.load(), 0);
  release(handle);
}

TEST(Misuse, HostChangesItsListsBetweenCalls) {
  const uint32_t handle = 302;
  load_with_source(handle);
  ParamsPtr params(TzelParamsList::create());
  QuendraCallRec rec = library().record(handle, params.get());
  params->Add("COMMAND", OleVariant::from_ansi_as_wide("EVENTS-SUPPORT"));
  EXPECT_EQ(library().api().ExecutePluginCommand(&rec), 0);
  params->Clear();  // no COMMAND any more
  EXPECT_EQ(library().api().ExecutePluginCommand(&rec), -1);
  params->Add("COMMAND", OleVariant::from_int32(5));  // a number where text belongs
  EXPECT_EQ(library().api().ExecutePluginCommand(&rec), -2);
  QuendraParamsList* raw = params->raw();
  const uint32_t magic = raw->Magic;
  raw->Magic = 0;  // the host tore the list down
  EXPECT_EQ(library().api().ExecutePluginCommand(&rec), -3);
  EXPECT_EQ(library().api().ProcessData(&rec), -3);
  raw->Magic = magic;
  release(handle);
}

}  // namespace
}  // namespace quendra::host
