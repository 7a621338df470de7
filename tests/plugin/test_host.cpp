#include <gtest/gtest.h>

#include "test_host.h"

namespace quendra::testing {

TestModule::TestModule(PPluginCallRec rec) : TzelPlugin(rec) {
  Description = "Test module";
  LogTitle = "Test";
  ModuleType = {TModuleType::mttDataParser};
  if (configure) configure(*this);
}

void ModuleTest::SetUp() {
  StartPluginRegistry();
  RegisterPluginClass([](PPluginCallRec rec) -> std::unique_ptr<TzelPlugin> { return std::make_unique<TestModule>(rec); });
}

void ModuleTest::TearDown() {
  ShutdownPluginRegistry();
  TestModule::configure = nullptr;
}

std::shared_ptr<TestModule> ModuleTest::module(uint32_t handle) {
  Call call(handle);
  return std::static_pointer_cast<TestModule>(FindPlugin(&call.rec));
}

}  // namespace quendra::testing
