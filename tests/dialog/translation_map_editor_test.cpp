#include "dialog/translation_map_editor.h"

#include <gtest/gtest.h>

#include "dialog_fixture.h"

namespace quendra {
namespace {

class MapEditorTest : public testing::DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    form_ = Open(2);
  }

 public:
  // What the user does: set the control, then its event runs.
  void PickDirection(int index) {
    form_->comboTransDirection->SetItemIndex(index);
    form_->comboTransDirection->OnChange();
  }
  void PickChar(int code) {
    form_->comboChar->SetItemIndex(code);
    form_->comboChar->OnChange();
  }
  void PickMode(int mode) {
    form_->rgTransMode->SetItemIndex(mode);
    form_->rgTransMode->OnChange();
  }
  void PickReplacement(int code) {
    form_->comboTransChar->SetItemIndex(code);
    form_->comboTransChar->OnChange();
  }
  void TypeString(const std::string& text) {
    form_->edtTransStr->Text = text;
    form_->edtTransStr->OnChange();
  }
  void Toggle(TCheckBox& box) {
    box.Checked = !box.Checked;
    box.OnClick();
  }
  void PickCase(int index) {
    form_->rgCharReg->SetItemIndex(index);
    form_->rgCharReg->OnClick();
  }
  std::vector<std::string> Map(int n) {
    TStringsHolder* maps[] = {form_->MapTransl0, form_->MapTransl1, form_->MapTransl2};
    return maps[n]->Strings.Lines();
  }
  std::vector<std::string> Listed() { return form_->lbTranslations->Items.Lines(); }

 protected:
  std::unique_ptr<TfrmOption> form_;
};

TEST_F(MapEditorTest, PageControls) {
  EXPECT_EQ(form_->comboTransDirection->Items.Lines(),
            (std::vector<std::string>{"Data packet", "String variables", "RAW data"}));
  EXPECT_EQ(form_->rgTransMode->Items.Lines(),
            (std::vector<std::string>{"Keep character", "Remove character", "Replace with character",
                                      "Replace with string"}));
  EXPECT_EQ(form_->rgCharReg->Items.Lines(), (std::vector<std::string>{"None", "Uppercase", "Lowercase"}));
  EXPECT_EQ(form_->rgCharReg->Columns, 3);
  EXPECT_EQ(form_->rgCharReg->Caption, "Convert all characters");
  EXPECT_EQ(form_->chkRemoveBelow32->Caption, "Remove all below ASCII 32");
  EXPECT_EQ(form_->chkRemoveAbove127->Caption, "Remove all above ASCII 127");
  EXPECT_EQ(form_->chkRemoveBelow32->Tag(), 0);
  EXPECT_EQ(form_->chkRemoveAbove127->Tag(), 1);
  EXPECT_EQ(form_->rgCharReg->Tag(), 2);
  EXPECT_EQ(form_->gbTran->Caption, "Filter");
  EXPECT_EQ(form_->btnClearTransl->Caption, "Clear");
}

TEST_F(MapEditorTest, ANewEmptyMap) {
  EXPECT_FALSE(form_->chkRemoveBelow32->Checked);
  EXPECT_FALSE(form_->chkRemoveAbove127->Checked);
  EXPECT_EQ(form_->rgCharReg->ItemIndex(), 0);
  EXPECT_EQ(form_->rgTransMode->ItemIndex(), 0);
  EXPECT_TRUE(Listed().empty());
  // Preparing the page for character 0 gives the map its first lines, all empty.
  EXPECT_EQ(Map(0), (std::vector<std::string>{"", "", "", ""}));
  for (int code : {1, 65, 255}) {
    PickChar(code);
    EXPECT_EQ(form_->rgTransMode->ItemIndex(), 0) << code;
  }
  EXPECT_EQ(Map(0).size(), 255u + 4u);
}

TEST_F(MapEditorTest, RangeBoxesWriteTheirOwnLineOnly) {
  Toggle(*form_->chkRemoveBelow32);
  EXPECT_EQ(Map(0)[0], "Y");
  EXPECT_EQ(Map(0)[1], "");
  Toggle(*form_->chkRemoveBelow32);
  EXPECT_EQ(Map(0)[0], "N");
  Toggle(*form_->chkRemoveAbove127);
  EXPECT_EQ(Map(0)[1], "Y");
  PickCase(1);
  EXPECT_EQ(Map(0)[2], "1");
  EXPECT_EQ(Listed(),
            (std::vector<std::string>{"Remove all above ASCII 127", "Convert all characters: Uppercase"}));
}

TEST_F(MapEditorTest, ModesWriteTheEntryLine) {
  struct Case {
    const char* what;
    std::function<void(MapEditorTest&)> act;
    const char* entry;
    const char* listed;
  };
  const Case cases[] = {
      {"replace with character and nothing chosen writes the space", [](MapEditorTest& t) { t.PickMode(2); },
       "C32", "ASCII 65 -> ASCII 32"},
      {"a replacement character", [](MapEditorTest& t) { t.PickReplacement(97); }, "C97",
       "ASCII 65 -> ASCII 97"},
      {"remove", [](MapEditorTest& t) { t.PickMode(1); }, "R", "Remove character ASCII 65"},
      {"replace with string",
       [](MapEditorTest& t) {
         t.PickMode(3);
         t.TypeString("#0D#0A");
       },
       "S#0D#0A", "ASCII 65 -> #0D#0A"},
      {"keep", [](MapEditorTest& t) { t.PickMode(0); }, "", nullptr},
  };
  PickChar(65);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.act(*this);
    EXPECT_EQ(Map(0).at(65 + 3), c.entry);
    if (c.listed) {
      EXPECT_EQ(Listed(), std::vector<std::string>{c.listed});
    } else {
      EXPECT_TRUE(Listed().empty());
    }
  }
  EXPECT_EQ(form_->comboChar->Tag(), 65);
}

TEST_F(MapEditorTest, ModeControlsShowOnlyInTheirMode) {
  PickChar(9);
  const std::tuple<int, bool, bool> cases[] = {
      {0, false, false}, {1, false, false}, {2, true, false}, {3, false, true}};
  for (const auto& [mode, char_visible, edit_visible] : cases) {
    PickMode(mode);
    EXPECT_EQ(form_->comboTransChar->Visible, char_visible) << mode;
    EXPECT_EQ(form_->edtTransStr->Visible, edit_visible) << mode;
    EXPECT_EQ(form_->edtTransStr->Bounds(), form_->comboTransChar->Bounds());
  }
}

TEST_F(MapEditorTest, EntriesAreReadBackWhenACharacterIsPicked) {
  form_->MapTransl0->Strings.SetLines({"N", "N", "x", "R", "C65", "Sabc", "Cbad", "Q", "C300"});
  struct Case {
    int code;
    int mode;
    int replacement;
    const char* text;
  };
  const Case cases[] = {{0, 1, -1, ""}, {1, 2, 65, ""}, {2, 3, -1, "abc"}, {3, 2, -1, ""},
                        {4, 0, -1, ""}, {5, 2, -1, ""}, {6, 0, -1, ""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    form_->comboTransChar->SetItemIndex(-1);
    PickChar(c.code);
    EXPECT_EQ(form_->rgTransMode->ItemIndex(), c.mode);
    if (c.mode == 2) {
      EXPECT_EQ(form_->comboTransChar->ItemIndex(), c.replacement);
    }
    EXPECT_EQ(form_->edtTransStr->Text, c.text);
  }
  // Reading entries changed nothing but the missing line of code 6.
  EXPECT_EQ(Map(0), (std::vector<std::string>{"N", "N", "x", "R", "C65", "Sabc", "Cbad", "Q", "C300", ""}));
  EXPECT_EQ(form_->edtTransStr->Tag(), 0);
}

TEST_F(MapEditorTest, RangesHideEntriesFromTheListButKeepThem) {
  std::vector<std::string> lines = {"Y", "Y", "2"};
  lines.resize(3 + 256);
  lines[3 + 7] = "R";
  lines[3 + 65] = "C97";
  lines[3 + 200] = "Sx";
  form_->MapTransl1->Strings.SetLines(lines);
  PickDirection(1);
  EXPECT_EQ(Listed(),
            (std::vector<std::string>{"Remove all below ASCII 32", "Remove all above ASCII 127",
                                      "Convert all characters: Lowercase", "ASCII 65 -> ASCII 97"}));
  EXPECT_EQ(Map(1)[3 + 200], "Sx");
  EXPECT_TRUE(form_->chkRemoveBelow32->Checked);
  EXPECT_TRUE(form_->chkRemoveAbove127->Checked);
  EXPECT_EQ(form_->rgCharReg->ItemIndex(), 2);
  EXPECT_EQ(form_->comboTransDirection->Tag(), 1);
}

TEST_F(MapEditorTest, ListClicksSelectTheCharacter) {
  form_->MapTransl0->Strings.SetLines({"", "", "", "", "", "", "", "C32", "R"});
  PickDirection(0);
  ASSERT_EQ(Listed(), (std::vector<std::string>{"ASCII 4 -> ASCII 32", "Remove character ASCII 5"}));
  PickChar(100);
  form_->lbTranslations->SetItemIndex(0);
  form_->lbTranslations->OnClick();
  EXPECT_EQ(form_->comboChar->ItemIndex(), 4);
  EXPECT_EQ(form_->rgTransMode->ItemIndex(), 2);
  EXPECT_EQ(form_->comboChar->Tag(), 100);  // a list click does not remember the character
  form_->lbTranslations->SetItemIndex(1);
  form_->lbTranslations->OnClick();
  EXPECT_EQ(form_->comboChar->ItemIndex(), 4);
}

TEST_F(MapEditorTest, DirectionChangeShowsTheSameCharacterInTheOtherMap) {
  PickChar(65);
  PickMode(1);
  form_->MapTransl2->Strings.SetLines(std::vector<std::string>(3 + 66));
  form_->MapTransl2->Strings[3 + 65] = "Sxyz";
  PickDirection(2);
  EXPECT_EQ(form_->comboChar->ItemIndex(), 65);
  EXPECT_EQ(form_->rgTransMode->ItemIndex(), 3);
  EXPECT_EQ(form_->edtTransStr->Text, "xyz");
  PickDirection(0);
  EXPECT_EQ(form_->rgTransMode->ItemIndex(), 1);
}

TEST_F(MapEditorTest, ClearEmptiesOnlyTheCurrentMap) {
  form_->MapTransl1->Strings.SetLines({"Y"});
  PickChar(65);
  PickMode(1);
  form_->btnClearTransl->OnClick();
  EXPECT_TRUE(Map(0).empty());
  EXPECT_TRUE(Listed().empty());
  EXPECT_EQ(Map(1), std::vector<std::string>{"Y"});
}

TEST_F(MapEditorTest, EditsReachTheStoredMapOnOk) {
  PickDirection(1);
  PickChar(65);
  PickMode(2);
  PickReplacement(97);
  Toggle(*form_->chkRemoveBelow32);
  form_->btnOK->OnClick();
  form_->Close(form_->ModalResult());
  std::vector<std::string> expected(3 + 66);
  expected[0] = "Y";
  expected[3 + 65] = "C97";
  auto again = Open();
  EXPECT_EQ(again->MapTransl1->Strings.Lines(), expected);
  EXPECT_EQ(again->comboTransDirection->ItemIndex(), 1);
  EXPECT_EQ(again->comboChar->ItemIndex(), 65);
  EXPECT_EQ(again->rgTransMode->ItemIndex(), 2);
  EXPECT_EQ(again->comboTransChar->ItemIndex(), 97);
  const std::string ini = ModuleIni();
  EXPECT_NE(ini.find("\r\nType=1\r\n"), std::string::npos) << ini;
  EXPECT_NE(ini.find("\r\nCharacter=65\r\n"), std::string::npos);
}

TEST_F(MapEditorTest, HostileTagsAndLinesAreHarmless) {
  WriteFile(
      location_.IniFile,
      "[Translation]\r\nType=-7\r\nCharacter=99999\r\nMap0=C-5%0d%0aS%0d%0a99999999999999999999%0d%0a\r\n");
  auto form = Open(2);
  EXPECT_EQ(form->comboTransDirection->ItemIndex(), -1);
  EXPECT_EQ(form->comboChar->ItemIndex(), -1);
  EXPECT_EQ(form->rgCharReg->ItemIndex(), 0);
  // Nothing selected: mode changes write nothing.
  form->rgTransMode->SetItemIndex(1);
  form->rgTransMode->OnChange();
  EXPECT_EQ(form->MapTransl0->Strings.Count(), 3u);
}

}  // namespace
}  // namespace quendra
