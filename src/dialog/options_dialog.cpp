#include "dialog/options_dialog.h"

#include <algorithm>
#include <filesystem>

#include "dialog/grid_rows.h"
#include "dialog/preset_menu.h"
#include "dialog/translation_map_editor.h"
#include "text/param_data_type.h"

namespace quendra {

namespace {

constexpr int kTitleHeight = 28;
constexpr int kFormHelpContext = 60;
constexpr int kBottomPanelHelpContext = 80;
constexpr int kRootNodeHelpContext = 182;
// Windows keeps window coordinates within 16 bits; anything beyond is a damaged store.
constexpr int kCoordinateLimit = 32000;
constexpr int kMaxExtent = 8000;

template <class T>
T& Place(TComponent& owner, TWinControl& parent, std::string name, TBounds bounds) {
  T& control = owner.Create<T>(std::move(name));
  control.SetBounds(bounds);
  control.SetParent(&parent);
  return control;
}

// A control with a caption: labels, buttons, check boxes.
template <class T>
T& PlaceCaptioned(TComponent& owner, TWinControl& parent, std::string name, std::string caption,
                  TBounds bounds) {
  T& control = Place<T>(owner, parent, std::move(name), bounds);
  control.Caption = std::move(caption);
  return control;
}

TLabel& PlaceLabel(TComponent& owner, TWinControl& parent, std::string name, std::string caption,
                   TBounds bounds) {
  return PlaceCaptioned<TLabel>(owner, parent, std::move(name), std::move(caption), bounds);
}

TCheckBox& PlaceCheckBox(TComponent& owner, TWinControl& parent, std::string name, std::string caption,
                         TBounds bounds, bool checked = false) {
  TCheckBox& box = PlaceCaptioned<TCheckBox>(owner, parent, std::move(name), std::move(caption), bounds);
  box.Checked = checked;
  return box;
}

TButton& PlaceButton(TComponent& owner, TWinControl& parent, std::string name, std::string caption,
                     TBounds bounds) {
  return PlaceCaptioned<TButton>(owner, parent, std::move(name), std::move(caption), bounds);
}

TEdit& PlaceEdit(TComponent& owner, TWinControl& parent, std::string name, std::string text, TBounds bounds) {
  TEdit& edit = Place<TEdit>(owner, parent, std::move(name), bounds);
  edit.Text = std::move(text);
  return edit;
}

TComboBox& PlaceCombo(TComponent& owner, TWinControl& parent, std::string name,
                      std::vector<std::string> items, TBounds bounds) {
  TComboBox& combo = Place<TComboBox>(owner, parent, std::move(name), bounds);
  combo.Items.SetLines(std::move(items));
  return combo;
}

TSpinEdit& PlaceSpin(TComponent& owner, TWinControl& parent, std::string name, double min, double max,
                     double value, TBounds bounds) {
  TSpinEdit& spin = Place<TSpinEdit>(owner, parent, std::move(name), bounds);
  spin.MinValue = min;
  spin.MaxValue = max;
  spin.Value = value;
  return spin;
}

TGridColumn& PickColumn(TStringGrid& grid, std::string header, std::vector<std::string> items) {
  TGridColumn& column = grid.AddColumn(std::move(header), TColumnEditor::PickList);
  column.ComboItems.SetLines(std::move(items));
  return column;
}

}  // namespace

const TClassInfo& TfrmOption::StaticClass() {
  static const TClassInfo info{"TfrmOption", &TForm::StaticClass(), {}};
  return info;
}

TfrmOption::TfrmOption(OptionsDialogHost host) : host_(std::move(host)) {
  SetName("frmOption");
  BuildTree();
  BuildPresetMenu(*this);
  map_editor_ = std::make_unique<TranslationMapEditor>(*this);
}

TfrmOption::~TfrmOption() = default;

void TfrmOption::BuildTree() {
  SetBounds({839, 242, 344, 419});
  HelpContext = kFormHelpContext;
  MinWidth = 344 + kSideBarWidth;
  MinHeight = 419;

  lblTitle = &PlaceLabel(*this, *this, "lblTitle", "", {4, 4, 320, kTitleHeight});
  lblTitle->FontName = "Arial";
  lblTitle->FontHeight = 19;
  bvlTitle = &Place<TBevel>(*this, *this, "bvlTitle", {4, 34, 320, 2});
  Notebook = &Place<TNotebook>(*this, *this, "Notebook", {4, 38, 320, 290});
  SideBar = &Place<TzelSideBar>(*this, *this, "SideBar", {0, 0, kSideBarWidth, 300});
  SideBar->Notebook = Notebook;
  SideBar->OnSelect = [this](TSideBarButton& button) { lblTitle->Caption = button.Caption; };

  struct PageLayout {
    const char* name;
    const char* caption;
    int help;
  };
  static constexpr PageLayout kPages[] = {{"p_0_0", "XML data", 50},
                                        {"p_0_1", "XML nodes", 51},
                                        {"p_0_2", "Characters translation", 52},
                                        {"p_0_3", "Filter", 80},
                                        {"p_0_4", "Data format", 53}};
  std::vector<TNotebookPage*> pages;
  for (const PageLayout& layout : kPages) {
    TNotebookPage& page = Place<TNotebookPage>(*this, *Notebook, layout.name, {0, 0, 320, 290});
    page.Caption = layout.caption;
    page.HelpContext = layout.help;
    pages.push_back(&page);
  }
  Notebook->ActivePage = pages[0];
  BuildXmlDataPage(*pages[0]);
  BuildGridPage(*pages[1], "XML nodes and attributes processing", XMLs, "XMLs", btnAddXML, "btnAddXML",
                btnDelXML, "btnDelXML");
  BuildTranslationPage(*pages[2]);
  BuildGridPage(*pages[3], "Filter rules (data packets level)", Filters, "Filters", btnAddFilter,
                "btnAddFilter", btnDelFilter, "btnDelFilter");
  BuildDataFormatPage(*pages[4]);

  XMLs->AddColumn("Name");
  PickColumn(*XMLs, "Type", {"All", "Node", "Attribute"});
  PickColumn(*XMLs, "Action", {"Ignore", "Parse"}).Stretch = true;
  PickColumn(*XMLs, "Data type", {});
  PickColumn(*Filters, "Situation", {"Disabled", "Contains", "Not contains"});
  PickColumn(*Filters, "Type", {"Text", "Reg. expr."});
  Filters->AddColumn("Expression").Stretch = true;
  PickColumn(*Filters, "Action", {"Ignore", "Parse"});

  pnlBottom = &Place<TPanel>(*this, *this, "pnlBottom", {0, 373, 344, kBottomPanelHeight});
  pnlBottom->HelpContext = kBottomPanelHelpContext;
  pnlBottom->OnResize = [this] { BottomPanelResize(); };
  btnLoadSave = &PlaceButton(*this, *pnlBottom, "btnLoadSave", "Load & Save", {8, 10, 90, 25});
  btnLoadSave->NoPrefix = true;
  btnOK = &PlaceButton(*this, *pnlBottom, "btnOK", "OK", {102, 10, 75, 25});
  btnOK->OnClick = [this] { OkClick(); };
  btnCancel = &PlaceButton(*this, *pnlBottom, "btnCancel", "Cancel", {181, 10, 75, 25});
  btnCancel->Default = true;
  btnCancel->Cancel = true;
  btnCancel->ModalResult = TModalResult::mrCancel;
  pmPresets = &Create<TPopupMenu>("pmPresets");
  btnLoadSave->DropDownMenu = pmPresets;
  OpenDialog = &Create<TOpenDialog>("OpenDialog");
  SaveDialog = &Create<TSaveDialog>("SaveDialog");
}

void TfrmOption::BuildXmlDataPage(TNotebookPage& page) {
  PlaceLabel(*this, page, "lblBegSign", "Root node name", {8, 12, 120, 16}).HelpContext =
      kRootNodeHelpContext;
  BegSign = &PlaceEdit(*this, page, "BegSign", "Data", {136, 8, 170, 22});
  BegSign->Hint =
      "Characters with code less than #20 Hex are entered in format #XX (where XX is hexadecimal value of "
      "character code)";
  BegSign->HelpContext = kRootNodeHelpContext;
  PlaceLabel(*this, page, "lblSignTimeout", "Timeout (ms)", {8, 42, 120, 16}).HelpContext =
      kRootNodeHelpContext;
  spSignTimeout = &PlaceSpin(*this, page, "spSignTimeout", 0, 65535, 5000, {136, 38, 90, 22});
  spSignTimeout->Hint = "You may specify 0 for an unlimited timeout";
  spSignTimeout->HelpContext = kRootNodeHelpContext;
  chkExpNode = &PlaceCheckBox(*this, page, "chkExpNode", "Export node values", {8, 76, 300, 20}, true);
  chkExpAttr = &PlaceCheckBox(*this, page, "chkExpAttr", "Export attribute values", {8, 100, 300, 20}, true);
  chkAddNodeName =
      &PlaceCheckBox(*this, page, "chkAddNodeName", "Add node name to attribute name", {8, 124, 300, 20});
  chkNameUpper = &PlaceCheckBox(*this, page, "chkNameUpper", "Export names in upper case", {8, 148, 300, 20});
}

void TfrmOption::BuildGridPage(TNotebookPage& page, const char* label, TStringGrid*& grid,
                               const char* grid_name, TButton*& add, const char* add_name, TButton*& del,
                               const char* del_name) {
  PlaceLabel(*this, page, std::string("lbl") + grid_name, label, {4, 4, 312, 16});
  grid = &Place<TStringGrid>(*this, page, grid_name, {4, 24, 312, 230});
  add = &PlaceButton(*this, page, add_name, "Add item", {4, 260, 90, 25});
  del = &PlaceButton(*this, page, del_name, "Delete item", {98, 260, 90, 25});
  TStringGrid* g = grid;
  add->OnClick = [this, g] { AddItem(*g); };
  del->OnClick = [this, g] { DeleteItem(*g); };
  grid->OnSelectCell = [this, g](int, int row) {
    g->SetRow(row);
    DeleteButtonOf(*g).Enabled = g->HasCurrentDataRow();
  };
  grid->OnRowInserted = [this, g] { UpdateDeleteButton(*g); };
  grid->OnRowDeleted = [this, g] { UpdateDeleteButton(*g); };
}

void TfrmOption::BuildTranslationPage(TNotebookPage& page) {
  PlaceLabel(*this, page, "lblTransDirection", "Type", {4, 8, 70, 16});
  comboTransDirection = &PlaceCombo(*this, page, "comboTransDirection",
                                    {"Data packet", "String variables", "RAW data"}, {78, 4, 160, 22});
  btnClearTransl = &PlaceButton(*this, page, "btnClearTransl", "Clear", {244, 4, 72, 23});
  gbTran = &Place<TGroupBox>(*this, page, "gbTran", {4, 32, 312, 150});
  gbTran->Caption = "Filter";
  PlaceLabel(*this, *gbTran, "lblChar", "Character", {8, 22, 70, 16});
  comboChar = &PlaceCombo(*this, *gbTran, "comboChar", {}, {82, 18, 220, 22});
  rgTransMode =
      &PlaceCombo(*this, *gbTran, "rgTransMode",
                  {"Keep character", "Remove character", "Replace with character", "Replace with string"},
                  {8, 46, 140, 22});
  comboTransChar = &PlaceCombo(*this, *gbTran, "comboTransChar", {}, {154, 46, 148, 22});
  edtTransStr = &PlaceEdit(*this, *gbTran, "edtTransStr", "", {154, 46, 148, 22});
  comboTransChar->Visible = false;
  edtTransStr->Visible = false;
  chkRemoveBelow32 =
      &PlaceCheckBox(*this, *gbTran, "chkRemoveBelow32", "Remove all below ASCII 32", {8, 74, 145, 20});
  chkRemoveBelow32->SetTag(0);
  chkRemoveAbove127 =
      &PlaceCheckBox(*this, *gbTran, "chkRemoveAbove127", "Remove all above ASCII 127", {156, 74, 150, 20});
  chkRemoveAbove127->SetTag(1);
  rgCharReg = &Place<TRadioGroup>(*this, *gbTran, "rgCharReg", {8, 98, 296, 44});
  rgCharReg->Caption = "Convert all characters";
  rgCharReg->Columns = 3;
  rgCharReg->SetTag(2);
  rgCharReg->Items.SetLines({"None", "Uppercase", "Lowercase"});
  rgCharReg->SetItemIndex(0);
  PlaceLabel(*this, page, "lblTranslations", "Current translations", {4, 186, 312, 16});
  lbTranslations = &Place<TListBox>(*this, page, "lbTranslations", {4, 204, 312, 82});
  MapTransl0 = &Create<TStringsHolder>("MapTransl0");
  MapTransl1 = &Create<TStringsHolder>("MapTransl1");
  MapTransl2 = &Create<TStringsHolder>("MapTransl2");
}

void TfrmOption::BuildDataFormatPage(TNotebookPage& page) {
  TGroupBox& text = Place<TGroupBox>(*this, page, "gbTextFormat", {4, 4, 312, 64});
  text.Caption = "Text items format";
  LeftTrim = &PlaceCheckBox(*this, text, "LeftTrim", "Trim spaces from left", {8, 18, 290, 20});
  RightTrim = &PlaceCheckBox(*this, text, "RightTrim", "Trim spaces from right", {8, 40, 290, 20});
  TGroupBox& dates = Place<TGroupBox>(*this, page, "gbDateFormat", {4, 72, 312, 214});
  dates.Caption = "Date and time format";
  PlaceLabel(*this, dates, "lblFmtDate", "Date items", {8, 22, 100, 16});
  FmtDate = &PlaceEdit(*this, dates, "FmtDate", "DD.MM.YYYY", {112, 18, 190, 22});
  PlaceLabel(*this, dates, "lblFmtTime", "Time items", {8, 48, 100, 16});
  FmtTime = &PlaceEdit(*this, dates, "FmtTime", "HH\":\"NN\":\"SS", {112, 44, 190, 22});
  PlaceLabel(*this, dates, "lblFmtDateTime", "DateTime items", {8, 74, 100, 16});
  FmtDateTime = &PlaceEdit(*this, dates, "FmtDateTime", "DD.MM.YYYY HH\":\"NN\":\"SS", {112, 70, 190, 22});
  PlaceLabel(*this, dates, "lblFmtNote",
             "Note: Any non alpha numerical characters must be quoted. Example: / or : characters you must "
             "enter as \"/\" or \":\".",
             {8, 96, 296, 30});
  chkUseNowDate = &PlaceCheckBox(*this, dates, "chkUseNowDate", "Use current date for missing parts of date",
                                 {8, 128, 296, 20});
  chkUseNowTime = &PlaceCheckBox(*this, dates, "chkUseNowTime", "Use current time for missing parts of time",
                                 {8, 150, 296, 20});
  PlaceLabel(*this, dates, "lblLocaleID", "Locale/language ID", {8, 178, 110, 16});
  spLocaleID = &PlaceSpin(*this, dates, "spLocaleID", 1, 30000, 1033, {122, 174, 90, 22});
  spLocaleID->Hexadecimal = true;
  PlaceLabel(*this, dates, "lblLocaleNote", "Default value: 0x409 - English language", {8, 198, 296, 14});
}

void TfrmOption::FormCreate() {
  RunFirstTimePart();
  LoadControls(host_.Location);
}

void TfrmOption::RunFirstTimePart() {
  std::filesystem::path help(host_.ModuleFileName);
  help.replace_extension(".chm");
  HelpFile = host_.ModuleDir + help.string();

  SideBar->Build(kSideBarPageList);
  SetWidth(Width() + kSideBarWidth);
  SideBar->SelectPage(0);

  Caption = host_.Description + " " + host_.VersionText;
  comboChar->Items.SetLines(host_.CharacterList);
  comboTransChar->Items.SetLines(host_.CharacterList);
  if (host_.Translate) host_.Translate(*this);

  std::vector<std::string> types;
  for (TParamDataType code = 0; code < kDataNone; ++code) types.emplace_back(DataTypeName(code));
  XMLs->Column(3).ComboItems.SetLines(std::move(types));
}

void TfrmOption::LoadControls(const SettingsLocation& location) {
  if (host_.SaveDialogBounds) host_.SaveDialogBounds(Bounds());
  LoadSettings(location, host_.Map, *this);
  SanitiseBounds();
  if (!host_.DialogBoundsChanged || !host_.DialogBoundsChanged(Bounds())) {
    TBounds bounds = Bounds();
    if (host_.CenterOnOwner && host_.CenterOnOwner(bounds)) SetBounds(bounds);
  }
  TextToRows(*Filters, Filters->Hint);
  TextToRows(*XMLs, XMLs->Hint);
  UpdateDeleteButton(*Filters);
  UpdateDeleteButton(*XMLs);
  map_editor_->PreparePage();
}

void TfrmOption::SanitiseBounds() {
  TBounds b = Bounds();
  b.Width = std::clamp(b.Width, MinWidth, kMaxExtent);
  b.Height = std::clamp(b.Height, MinHeight, kMaxExtent);
  b.Left = std::clamp(b.Left, -kCoordinateLimit, kCoordinateLimit - b.Width);
  b.Top = std::clamp(b.Top, -kCoordinateLimit, kCoordinateLimit - b.Height);
  SetBounds(b);
}

void TfrmOption::Show() {
  SideBar->SelectPage(Tag());
}

void TfrmOption::Close(TModalResult result) {
  modal_result_ = result;
  if (result == TModalResult::mrOk)
    SaveSettings(host_.Location, host_.Map, *this);
  else
    SaveShortSettings(host_.Location, host_.Map, *this);
}

void TfrmOption::AddItem(TStringGrid& grid) {
  grid.AppendRow();
  UpdateDeleteButton(grid);
}

void TfrmOption::DeleteItem(TStringGrid& grid) {
  if (grid.HasCurrentDataRow()) grid.DeleteRow(static_cast<std::size_t>(grid.Row() - 1));
  UpdateDeleteButton(grid);
}

void TfrmOption::UpdateDeleteButton(TStringGrid& grid) {
  DeleteButtonOf(grid).Enabled = grid.HasCurrentDataRow();
}

void TfrmOption::OkClick() {
  Filters->Hint = RowsToText(*Filters);
  XMLs->Hint = RowsToText(*XMLs);
  modal_result_ = TModalResult::mrOk;
}

void TfrmOption::BottomPanelResize() {
  btnOK->SetLeft(pnlBottom->Width() / 2 - btnOK->Width() / 2);
  btnCancel->SetLeft(btnOK->Left() + btnOK->Width() + 4);
  btnLoadSave->SetLeft(btnOK->Left() - 4 - btnLoadSave->Width());
}

void TfrmOption::ArrangeControls(int client_width, int client_height) {
  const int right = std::max(client_width, kSideBarWidth + 100);
  const int bottom = std::max(client_height - kBottomPanelHeight, 100);
  const int content_left = kSideBarWidth + 4;
  const int content_width = right - content_left - 4;
  SideBar->SetBounds({0, 0, kSideBarWidth, bottom});
  lblTitle->SetBounds({content_left, 4, content_width, kTitleHeight});
  bvlTitle->SetBounds({content_left, 4 + kTitleHeight + 2, content_width, 2});
  const int notebook_top = 4 + kTitleHeight + 6;
  Notebook->SetBounds({content_left, notebook_top, content_width, bottom - notebook_top - 4});
  const int page_width = Notebook->Width();
  const int page_height = Notebook->Height();
  for (TNotebookPage* page : Notebook->Pages()) page->SetBounds({0, 0, page_width, page_height});
  for (TStringGrid* grid : {XMLs, Filters}) {
    grid->SetBounds({4, 24, page_width - 8, page_height - 24 - 35});
    DeleteButtonOf(*grid).SetTop(page_height - 30);
    (grid == XMLs ? btnAddXML : btnAddFilter)->SetTop(page_height - 30);
  }
  lbTranslations->SetBounds({4, 204, page_width - 8, std::max(page_height - 208, 40)});
  pnlBottom->SetBounds({0, bottom, right, kBottomPanelHeight});
  BottomPanelResize();
}

}  // namespace quendra
