// A dialog over a private settings place: the module's location is an INI file in the sandbox (or its
// registry path), the module's folder is the sandbox, and the host window can be given bounds.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "../settings/settings_sandbox.h"
#include "dialog/options_dialog.h"
#include "quendra/quendra_module.h"
#include "settings/settings_map.h"

namespace quendra::testing {

class DialogTest : public SettingsSandbox {
 protected:
  void SetUp() override {
    SettingsSandbox::SetUp();
    location_.RegistryPath = registry_path_;
    location_.IniFile = Path("module.ini");
  }

  OptionsDialogHost MakeHost() {
    OptionsDialogHost host;
    host.Map.SetLines(DataSourceSettingsMap());
    host.Location = location_;
    host.ModuleDir = dir_.string() + "/";
    host.ModuleFileName = "quendra.dll";
    host.Description = "Quendra";
    host.VersionText = "4.0.33";
    host.CharacterList = BuildCharacterList();
    host.SaveDialogBounds = [this](const TBounds& b) { remembered_ = b; };
    host.DialogBoundsChanged = [this](const TBounds& b) { return remembered_ && !(b == *remembered_); };
    host.CenterOnOwner = [this](TBounds& b) {
      if (!owner_) return false;
      b.Left = owner_->Left + (owner_->Width - b.Width) / 2;
      b.Top = owner_->Top + (owner_->Height - b.Height) / 2;
      return true;
    };
    return host;
  }

  // A dialog through its whole creation sequence.
  std::unique_ptr<TfrmOption> Open(int tag = 0) {
    auto form = std::make_unique<TfrmOption>(MakeHost());
    form->SetTag(tag);
    form->FormCreate();
    form->Show();
    return form;
  }

  std::string ModuleIni() const { return ReadFile(location_.IniFile); }

  SettingsLocation location_;
  std::optional<TBounds> remembered_;
  std::optional<TBounds> owner_;
};

}  // namespace quendra::testing
