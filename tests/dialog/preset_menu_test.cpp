#include "dialog/preset_menu.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "dialog_fixture.h"

namespace quendra {
namespace {

class PresetTest : public testing::DialogTest {
 protected:
  std::vector<std::string> Captions(const TfrmOption& form) {
    std::vector<std::string> captions;
    for (std::size_t i = 0; i < form.pmPresets->Count(); ++i)
      if (form.pmPresets->Items(i).Visible) captions.push_back(form.pmPresets->Items(i).Caption);
    return captions;
  }
  TMenuItem& Item(TfrmOption& form, const std::string& caption) {
    for (std::size_t i = 0; i < form.pmPresets->Count(); ++i)
      if (form.pmPresets->Items(i).Caption == caption) return form.pmPresets->Items(i);
    throw std::runtime_error("no menu item " + caption);
  }
  void Popup(TfrmOption& form) { form.pmPresets->OnPopup(*form.pmPresets); }
  // The file box answers with `file`, or cancels when it is empty; it records what it was shown with.
  void AnswerFileBox(TfrmOption& form, std::string file) {
    form.ExecuteFileBox = [this, file](TFileDialog& box) {
      shown_filter_ = box.Filter;
      shown_ext_ = box.DefaultExt;
      shown_dir_ = box.InitialDir;
      if (file.empty()) return false;
      box.FileName = file;
      return true;
    };
  }
  std::string shown_filter_, shown_ext_, shown_dir_;
};

TEST_F(PresetTest, MenuListsPresetFilesSortedAndOnlyOnce) {
  WriteFile(Path("b.ini"), "");
  WriteFile(Path("A.ini"), "");
  WriteFile(Path(".hidden.ini"), "");
  WriteFile(Path("notes.txt"), "");
  std::filesystem::create_directory(Path("folder.ini"));
  auto form = Open();
  EXPECT_EQ(Captions(*form), (std::vector<std::string>{"Load preset", "-", "Save preset"}));
  Popup(*form);
  Popup(*form);
  // "module.ini" is not there yet: the module's own settings were never saved.
  EXPECT_EQ(Captions(*form), (std::vector<std::string>{"A", "b", "Load preset", "-", "Save preset"}));
  EXPECT_EQ(Item(*form, "A").Hint, Path("A.ini"));
  EXPECT_EQ(Item(*form, "A").Tag(), 9999);
  EXPECT_EQ(Item(*form, "Load preset").Tag(), 1);
  EXPECT_EQ(Item(*form, "Save preset").Tag(), 0);
  EXPECT_EQ(Item(*form, "Presets (*.ini)|*.ini").Visible, false);
}

TEST_F(PresetTest, SaveAndLoadRoundTripWithAPrefixedModule) {
  location_.IniSectionPrefix = "Cfg7";
  auto form = Open();
  form->BegSign->Text = "Preset root";
  form->btnAddFilter->OnClick();
  form->Filters->SetCell(0, 0, "Contains");
  form->Filters->SetCell(1, 0, "Text");
  form->Filters->SetCell(2, 0, "<x>");
  form->Filters->SetCell(3, 0, "Parse");
  AnswerFileBox(*form, Path("mine.ini"));
  RunPresetOperation(*form, Item(*form, "Save preset"));
  EXPECT_EQ(shown_filter_, "Presets (*.ini)|*.ini");
  EXPECT_EQ(shown_ext_, "ini");
  EXPECT_EQ(shown_dir_, dir_.string() + "/");
  const std::string preset = ReadFile(Path("mine.ini"));
  EXPECT_EQ(preset.rfind("[Common]\r\nLeft=", 0), 0u) << preset;
  EXPECT_NE(preset.find("\r\nStart string=Preset root\r\n"), std::string::npos);
  EXPECT_NE(preset.find("\r\nFilter=1||0||<x>||1%0d%0a\r\n"), std::string::npos);
  EXPECT_NE(preset.find("\r\n[Translation]\r\n"), std::string::npos);
  EXPECT_EQ(form->SaveDialog->FileName, Path("mine.ini"));
  EXPECT_EQ(form->SaveDialog->FilterIndex, 1);
  EXPECT_EQ(form->SaveDialog->Filter, "");  // the filter is put back
  // The module's own settings were not touched; they still go to the prefixed sections.
  EXPECT_FALSE(std::filesystem::exists(location_.IniFile));
  form->Close(TModalResult::mrCancel);
  EXPECT_EQ(ModuleIni().rfind("[Cfg7.Common]\r\n", 0), 0u);

  auto other = Open();
  EXPECT_EQ(other->BegSign->Text, "Data");
  AnswerFileBox(*other, Path("mine.ini"));
  RunPresetOperation(*other, Item(*other, "Load preset"));
  EXPECT_EQ(other->BegSign->Text, "Preset root");
  ASSERT_EQ(other->Filters->DataRowCount(), 1u);
  EXPECT_EQ(other->Filters->Cell(2, 0), "<x>");
  EXPECT_TRUE(other->btnDelFilter->Enabled == other->Filters->HasCurrentDataRow());
  EXPECT_EQ(other->OpenDialog->FileName, Path("mine.ini"));
}

TEST_F(PresetTest, ListedPresetLoadsWithoutABoxAndLeavesTheBoxesAlone) {
  WriteFile(Path("weather.ini"), "[Common]\r\nStart string=Weather\r\nExport nodes=False\r\n");
  auto form = Open();
  form->OpenDialog->FilterIndex = 3;
  form->ExecuteFileBox = [](TFileDialog&) -> bool { throw std::logic_error("no box for a listed preset"); };
  Popup(*form);
  RunPresetOperation(*form, Item(*form, "weather"));
  EXPECT_EQ(form->BegSign->Text, "Weather");
  EXPECT_FALSE(form->chkExpNode->Checked);
  // Keys the preset lacks leave their controls as they were.
  EXPECT_TRUE(form->chkExpAttr->Checked);
  EXPECT_EQ(form->OpenDialog->FilterIndex, 3);
  EXPECT_EQ(form->OpenDialog->FileName, "");
}

TEST_F(PresetTest, CancelledBoxChangesNothing) {
  auto form = Open();
  form->BegSign->Text = "Typed";
  AnswerFileBox(*form, "");
  RunPresetOperation(*form, Item(*form, "Load preset"));
  RunPresetOperation(*form, Item(*form, "Save preset"));
  EXPECT_EQ(form->BegSign->Text, "Typed");
  EXPECT_FALSE(std::filesystem::exists(Path("module.ini")));
}

TEST_F(PresetTest, SavingOverTheModulesOwnFileReplacesItsSettingsAtOnce) {
  auto form = Open();
  form->BegSign->Text = "Now";
  AnswerFileBox(*form, location_.IniFile);
  RunPresetOperation(*form, Item(*form, "Save preset"));
  EXPECT_NE(ModuleIni().find("\r\nStart string=Now\r\n"), std::string::npos);
}

TEST_F(PresetTest, HostilePresetFilesLoadWithoutACrashAndKeepDefaults) {
  const std::pair<const char*, std::string> files[] = {
      {"binary", std::string("\0\xff\xfe[Common\0]\r\nLeft=\x80\x81\r\n", 20)},
      {"unreadable numbers",
       "[Common]\r\nLeft=abc\r\nSign timeout=1e999\r\nLocale ID=nan\r\nExport nodes=Maybe\r\n"},
      {"huge grid", "[Common]\r\nXMLs=" + std::string(200000, '|') + "\r\nFilter=%zz%0d%0a||||||||||||\r\n"},
      {"hostile map",
       "[Translation]\r\nMap0=%00%0d%0aC-1%0d%0a\r\nType=2147483647\r\nCharacter=-2147483648\r\n"},
      {"no sections", "Start string=Nope\r\n[]\r\n=\r\n[[Common]]\r\n"},
  };
  for (const auto& [name, content] : files) {
    SCOPED_TRACE(name);
    WriteFile(Path("hostile.ini"), content);
    auto form = Open();
    AnswerFileBox(*form, Path("hostile.ini"));
    RunPresetOperation(*form, Item(*form, "Load preset"));
    EXPECT_EQ(form->BegSign->Text, "Data");
    EXPECT_TRUE(form->chkExpNode->Checked);
    EXPECT_GE(form->Width(), form->MinWidth);
    form->btnOK->OnClick();
    form->Close(form->ModalResult());
  }
}

}  // namespace
}  // namespace quendra
