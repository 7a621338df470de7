// A host in miniature for the module base: builds records and lists and calls the exports' logic, with a
// module class whose handlers the test sets.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/window.h"

#include "common/params_list.h"
#include "plugin/plugin_exports.h"
#include "plugin/plugin_registry.h"

namespace quendra::testing {

using ParamsPtr = std::unique_ptr<TzelParamsList, ListDeleter<TzelParamsList>>;

// The module class the tests register: the configure hook sets its handlers as each instance is created.
struct TestModule : TzelPlugin {
  explicit TestModule(PPluginCallRec rec);
  static inline std::function<void(TestModule&)> configure;
};

struct Call {
  ParamsPtr params{TzelParamsList::create()};
  QuendraCallRec rec{};

  explicit Call(uint32_t handle, uint8_t module_types = 1u << QUENDRA_MTT_DATA_PARSER) {
    rec.RecSize = sizeof rec;
    rec.Handle = handle;
    rec.SenderID = static_cast<int32_t>(handle);
    rec.ModuleTypes = module_types;
    rec.Params = params->raw();
  }
  Call& with(const char* name, const OleVariant& value) {
    params->Add(name, value);
    return *this;
  }
  Call& with(const char* name, const char* text) { return with(name, OleVariant::from_ansi_as_wide(text)); }
  PPluginCallRec get() { return &rec; }
  int32_t command(const char* name) {
    params->SetValue("COMMAND", OleVariant::from_ansi_as_wide(name), true);
    return exports::ExecutePluginCommand(&rec);
  }
};

// A host log window on the calling thread that keeps the text of every copy-data message it receives.
struct LogRecorder {
  std::vector<std::string> lines;
  platform::WindowHandle handle = platform::create_window(&LogRecorder::proc, this);
  ~LogRecorder() { platform::destroy_window(handle); }
  OleVariant handle_value() const { return OleVariant::from_int64(static_cast<int64_t>(handle)); }

  static intptr_t proc(void* context, uint32_t message, uintptr_t, intptr_t lparam) {
    if (message == QUENDRA_WM_COPYDATA) {
      auto* data = reinterpret_cast<const QuendraCopyData*>(lparam);
      static_cast<LogRecorder*>(context)->lines.emplace_back(static_cast<const char*>(data->Data), data->Size);
    }
    return 1;
  }
};

// Starts the registry with TestModule for one test and shuts it down after.
class ModuleTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // The live instance of `handle` (created on first use).
  std::shared_ptr<TestModule> module(uint32_t handle);
};

}  // namespace quendra::testing
