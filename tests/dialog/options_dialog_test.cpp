#include "dialog/options_dialog.h"

#include <gtest/gtest.h>

#include "dialog/grid_rows.h"
#include "dialog_fixture.h"

namespace quendra {
namespace {

class OptionsDialogTest : public testing::DialogTest {};

TEST_F(OptionsDialogTest, EmptyStoreGivesEveryDefault) {
  auto form = Open();
  EXPECT_EQ(form->Caption, "Quendra 4.0.33");
  EXPECT_EQ(form->HelpFile, dir_.string() + "/quendra.chm");
  EXPECT_EQ(form->BegSign->Text, "Data");
  EXPECT_EQ(form->spSignTimeout->Value, 5000);
  EXPECT_EQ(form->spSignTimeout->MinValue, 0);
  EXPECT_EQ(form->spSignTimeout->MaxValue, 65535);
  EXPECT_TRUE(form->chkExpNode->Checked);
  EXPECT_TRUE(form->chkExpAttr->Checked);
  EXPECT_FALSE(form->chkAddNodeName->Checked);
  EXPECT_FALSE(form->chkNameUpper->Checked);
  EXPECT_FALSE(form->LeftTrim->Checked);
  EXPECT_FALSE(form->RightTrim->Checked);
  EXPECT_EQ(form->FmtDate->Text, "DD.MM.YYYY");
  EXPECT_EQ(form->FmtTime->Text, "HH\":\"NN\":\"SS");
  EXPECT_EQ(form->FmtDateTime->Text, "DD.MM.YYYY HH\":\"NN\":\"SS");
  EXPECT_EQ(form->spLocaleID->Value, 1033);
  EXPECT_EQ(form->spLocaleID->MinValue, 1);
  EXPECT_EQ(form->spLocaleID->MaxValue, 30000);
  EXPECT_TRUE(form->spLocaleID->Hexadecimal);
  EXPECT_EQ(form->XMLs->DataRowCount(), 0u);
  EXPECT_EQ(form->Filters->DataRowCount(), 0u);
  EXPECT_FALSE(form->btnDelXML->Enabled);
  EXPECT_FALSE(form->btnDelFilter->Enabled);
  EXPECT_EQ(form->comboChar->Items.Count(), 256u);
  EXPECT_EQ(form->comboChar->Items[65], "ASCII 65 | 'A'");
  EXPECT_EQ(form->comboTransChar->Items.Count(), 256u);
  EXPECT_TRUE(form->btnCancel->Default);
  EXPECT_TRUE(form->btnCancel->Cancel);
  EXPECT_EQ(form->btnLoadSave->Caption, "Load & Save");
  EXPECT_EQ(
      form->BegSign->Hint,
      "Characters with code less than #20 Hex are entered in format #XX (where XX is hexadecimal value of "
      "character code)");
  EXPECT_EQ(form->spSignTimeout->Hint, "You may specify 0 for an unlimited timeout");
  // The form's own bounds, widened by the side bar.
  EXPECT_EQ(form->Bounds(), (TBounds{839, 242, 344 + 120, 419}));
}

TEST_F(OptionsDialogTest, FirstOpeningIsCentredOverTheHostAndCancelStoresOnlyTheBounds) {
  owner_ = TBounds{100, 50, 1000, 700};
  auto form = Open();
  EXPECT_EQ(form->Bounds(), (TBounds{100 + (1000 - 464) / 2, 50 + (700 - 419) / 2, 464, 419}));
  form->BegSign->Text = "Changed";
  form->Close(TModalResult::mrCancel);
  EXPECT_EQ(ModuleIni(), "[Common]\r\nLeft=368\r\nTop=190\r\nHeight=419\r\nWidth=464\r\n\r\n");
}

TEST_F(OptionsDialogTest, StoredBoundsStayInForce) {
  WriteFile(location_.IniFile, "[Common]\r\nLeft=10\r\nTop=20\r\nHeight=500\r\nWidth=600\r\n");
  owner_ = TBounds{100, 50, 1000, 700};
  auto form = Open();
  EXPECT_EQ(form->Bounds(), (TBounds{10, 20, 600, 500}));
}

TEST_F(OptionsDialogTest, HostileBoundsAreKeptWithinWhatAScreenCanShow) {
  WriteFile(location_.IniFile,
            "[Common]\r\nLeft=-2147483648\r\nTop=2147483647\r\nHeight=0\r\nWidth=99999999\r\n");
  auto form = Open();
  EXPECT_GE(form->Width(), form->MinWidth);
  EXPECT_LE(form->Width(), 8000);
  EXPECT_GE(form->Height(), form->MinHeight);
  EXPECT_GE(form->Left(), -32000);
  EXPECT_LE(form->Top() + form->Height(), 32000);
}

TEST_F(OptionsDialogTest, OkWritesTheGridsAndEveryControl) {
  auto form = Open();
  form->BegSign->Text = "Weather";
  form->chkNameUpper->Checked = true;
  form->spSignTimeout->Value = 250;
  form->btnAddXML->OnClick();
  form->XMLs->SetCell(0, 0, "Temp");
  form->XMLs->SetCell(1, 0, "Node");
  form->XMLs->SetCell(2, 0, "Parse");
  form->XMLs->SetCell(3, 0, "Float");
  form->btnAddFilter->OnClick();
  form->btnOK->OnClick();
  EXPECT_EQ(form->ModalResult(), TModalResult::mrOk);
  form->Close(form->ModalResult());
  const std::string ini = ModuleIni();
  EXPECT_NE(ini.find("\r\nStart string=Weather\r\n"), std::string::npos) << ini;
  EXPECT_NE(ini.find("\r\nExport upper case name=True\r\n"), std::string::npos);
  EXPECT_NE(ini.find("\r\nSign timeout=250\r\n"), std::string::npos);
  EXPECT_NE(ini.find("\r\nXMLs=Temp||1||1||5%0d%0a\r\n"), std::string::npos);
  EXPECT_NE(ini.find("\r\nFilter=-1||-1||||-1%0d%0a\r\n"), std::string::npos);
  EXPECT_NE(ini.find("[Translation]\r\n"), std::string::npos);

  // The next opening shows what was saved.
  auto again = Open();
  EXPECT_EQ(again->BegSign->Text, "Weather");
  ASSERT_EQ(again->XMLs->DataRowCount(), 1u);
  EXPECT_EQ(again->XMLs->Cell(3, 0), "Float");
}

TEST_F(OptionsDialogTest, AddAndDeleteEnableTheDeleteButton) {
  auto form = Open();
  TStringGrid& grid = *form->XMLs;
  TButton& del = *form->btnDelXML;
  struct Step {
    const char* what;
    std::function<void()> act;
    std::size_t rows;
    bool enabled;
  };
  const Step steps[] = {
      {"add", [&] { form->btnAddXML->OnClick(); }, 1, false},
      {"select data row", [&] { grid.OnSelectCell(0, 1); }, 1, true},
      {"add another", [&] { form->btnAddXML->OnClick(); }, 2, true},
      {"delete current", [&] { del.OnClick(); }, 1, true},
      {"select header", [&] { grid.OnSelectCell(0, 0); }, 1, false},
      {"delete with header current deletes nothing", [&] { del.OnClick(); }, 1, false},
      {"select row 1", [&] { grid.OnSelectCell(2, 1); }, 1, true},
      {"delete last", [&] { del.OnClick(); }, 0, false},
      {"delete on an empty grid", [&] { del.OnClick(); }, 0, false},
      {"keyboard inserts",
       [&] {
         grid.InsertRow(0);
         grid.SetRow(1);
         grid.OnRowInserted();
       },
       1, true},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.what);
    s.act();
    EXPECT_EQ(grid.DataRowCount(), s.rows);
    EXPECT_EQ(del.Enabled, s.enabled);
  }
  EXPECT_FALSE(form->btnDelFilter->Enabled);
}

TEST_F(OptionsDialogTest, BottomPanelCentresOk) {
  auto form = Open();
  struct Case {
    int width;
    int ok_left;
  };
  for (const Case c : {Case{464, 232 - 37}, Case{601, 300 - 37}, Case{200, 100 - 37}}) {
    form->pnlBottom->SetWidth(c.width);
    form->pnlBottom->OnResize();
    EXPECT_EQ(form->btnOK->Left(), c.ok_left) << c.width;
    EXPECT_EQ(form->btnCancel->Left(), c.ok_left + form->btnOK->Width() + 4);
    EXPECT_EQ(form->btnLoadSave->Left() + form->btnLoadSave->Width(), c.ok_left - 4);
  }
}

TEST_F(OptionsDialogTest, ControlsAreReachableByTheMapsPaths) {
  auto form = Open();
  TStringList map(DataSourceSettingsMap());
  for (const std::string& line : map.Lines()) {
    if (line.empty() || line[0] == ';') continue;
    const std::string path = line.substr(0, line.find(','));
    EXPECT_TRUE(ResolvePropertyPath(*form, path)) << path;
  }
}

}  // namespace
}  // namespace quendra
