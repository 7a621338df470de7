#include "dialog/options_dialog_hook.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "dialog_fixture.h"

namespace quendra {
namespace {

class OptionsDialogHookTest : public testing::DialogTest {
 protected:
  std::unique_ptr<TaPlugin> MakeModule() {
    auto module = std::make_unique<TaPlugin>(nullptr);
    module->RegistryPath = registry_path_;
    module->INIFile = location_.IniFile;
    return module;
  }
  static TPluginCallRec Record(TModuleTypes types) {
    TPluginCallRec rec{};
    rec.ModuleTypes = types.bits();
    return rec;
  }
};

// What the fake view saw and what it does.
struct ViewScript {
  static inline int seen_tag = -1;
  static inline std::string seen_page;
  static inline TModalResult answer = TModalResult::mrCancel;
  static TModalResult Show(TfrmOption& form, platform::WindowHandle) {
    seen_tag = form.Tag();
    form.Show();
    seen_page = form.Notebook->ActivePage ? form.Notebook->ActivePage->Name() : "";
    form.BegSign->Text = "FromView";
    if (answer == TModalResult::mrOk) form.btnOK->OnClick();
    return answer;
  }
  static TModalResult Fail(TfrmOption& form, platform::WindowHandle) {
    form.BegSign->Text = "Lost";
    form.SetLeft(5);
    throw std::runtime_error("view failed");
  }
};

TEST_F(OptionsDialogHookTest, FirstPageFollowsTheCallsRoles) {
  auto module = MakeModule();
  struct Case {
    TModuleTypes types;
    int tag;
  };
  const Case cases[] = {{{TModuleType::mttDataParser}, 10},
                        {{TModuleType::mttDataQuery, TModuleType::mttDataParser}, 0},
                        {{}, 10}};
  for (const Case& c : cases) {
    TPluginCallRec rec = Record(c.types);
    ViewScript::answer = TModalResult::mrCancel;
    EXPECT_FALSE(RunOptionsDialog(*module, &rec, &ViewScript::Show));
    EXPECT_EQ(ViewScript::seen_tag, c.tag);
    EXPECT_EQ(ViewScript::seen_page, "p_0_0");
  }
}

TEST_F(OptionsDialogHookTest, OkWritesTheStoreAndCancelOnlyTheBounds) {
  auto module = MakeModule();
  TPluginCallRec rec = Record({TModuleType::mttDataParser});
  ViewScript::answer = TModalResult::mrCancel;
  EXPECT_FALSE(RunOptionsDialog(*module, &rec, &ViewScript::Show));
  EXPECT_EQ(ModuleIni().find("Start string"), std::string::npos);
  EXPECT_EQ(ModuleIni().rfind("[Common]\r\nLeft=", 0), 0u);
  ViewScript::answer = TModalResult::mrOk;
  EXPECT_TRUE(RunOptionsDialog(*module, &rec, &ViewScript::Show));
  EXPECT_NE(ModuleIni().find("\r\nStart string=FromView\r\n"), std::string::npos);
}

TEST_F(OptionsDialogHookTest, AFailingViewSavesOnlyTheBoundsAndPassesTheFailureOn) {
  auto module = MakeModule();
  TPluginCallRec rec = Record({TModuleType::mttDataParser});
  EXPECT_THROW(RunOptionsDialog(*module, &rec, &ViewScript::Fail), std::runtime_error);
  EXPECT_EQ(ModuleIni(), "[Common]\r\nLeft=5\r\nTop=242\r\nHeight=419\r\nWidth=464\r\n\r\n");
}

TEST_F(OptionsDialogHookTest, OnlyWindowsHasAView) {
#ifdef _WIN32
  EXPECT_NE(PlatformDialogView(), nullptr);
#else
  // Nothing is registered, and the module reports no success and says the dialog is not available.
  EXPECT_EQ(PlatformDialogView(), nullptr);
#endif
}

}  // namespace
}  // namespace quendra
