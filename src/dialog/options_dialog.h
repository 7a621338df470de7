// TfrmOption: the options dialog as a tree of components. Its controls carry the names the settings map's
// property paths use, so the settings store loads them from the module's settings location and writes them
// back on close. Every behaviour (row text of the grids, side bar, add and delete, bounds, closing, the
// translation page and the preset menu) lives here; a platform view only shows the tree and reports what
// the user did by setting a control's value and running its event.
//
// Threads: a dialog belongs to the thread that shows it.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "component/buttons.h"
#include "component/file_dialog.h"
#include "component/form.h"
#include "component/input_controls.h"
#include "component/list_controls.h"
#include "component/menus.h"
#include "component/side_bar.h"
#include "component/static_controls.h"
#include "component/string_grid.h"
#include "component/strings_holder.h"
#include "settings/settings_operations.h"

namespace quendra {

class TranslationMapEditor;

// What the dialog takes from the module that owns it.
struct OptionsDialogHost {
  TStringList Map;  // the module's settings map
  SettingsLocation Location;
  std::string ModuleDir;       // the library's folder, with or without a trailing separator
  std::string ModuleFileName;  // the library's file name
  std::string Description;
  std::string VersionText;
  std::vector<std::string> CharacterList;
  // The module's remembered dialog bounds and its placement over the host window.
  std::function<void(const TBounds&)> SaveDialogBounds;
  std::function<bool(const TBounds&)> DialogBoundsChanged;
  std::function<bool(TBounds&)> CenterOnOwner;
  // The module's interface-text localisation for the form; may be empty.
  std::function<void(TComponent&)> Translate;
};

inline constexpr const char* kSideBarPageList =
    "Parser\r XML data;0\r XML nodes;1\r Characters translation;2\r Filter;3\r Data format;4\r";
inline constexpr int kSideBarWidth = 120;
inline constexpr int kBottomPanelHeight = 46;
inline constexpr int kPresetItemTag = 9999;
inline constexpr int kLoadPresetTag = 1;
inline constexpr int kSavePresetTag = 0;

class TfrmOption : public TForm {
 public:
  // Builds the tree with its defaults; nothing is loaded yet.
  explicit TfrmOption(OptionsDialogHost host);
  ~TfrmOption() override;

  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  // The creation sequence: the first-time part, then the loading part from the module's location.
  void FormCreate();
  // The loading part alone, from `location` (a preset re-runs it with the preset file).
  void LoadControls(const SettingsLocation& location);
  // Shows the page whose number is the form's tag; a number no button has leaves page 0.
  void Show();
  // Ends the dialog with `result`: OK saves every control, anything else only the bounds.
  void Close(TModalResult result);
  TModalResult ModalResult() const { return modal_result_; }

  // Places the controls for a client area of the given size (the view calls it on every resize).
  void ArrangeControls(int client_width, int client_height);

  // Handlers the controls' events run.
  void AddItem(TStringGrid& grid);
  void DeleteItem(TStringGrid& grid);
  void UpdateDeleteButton(TStringGrid& grid);
  void OkClick();
  void BottomPanelResize();

  OptionsDialogHost& Host() { return host_; }
  TranslationMapEditor& MapEditor() { return *map_editor_; }
  // The grid's "Delete item" button.
  TButton& DeleteButtonOf(const TStringGrid& grid) { return &grid == XMLs ? *btnDelXML : *btnDelFilter; }

  // Shows a file box modally; the view sets it. Returns false when the user cancelled.
  std::function<bool(TFileDialog&)> ExecuteFileBox;

  // The controls (owned by the form; names as the settings map and the handlers use them).
  TLabel* lblTitle = nullptr;
  TBevel* bvlTitle = nullptr;
  TzelSideBar* SideBar = nullptr;
  TNotebook* Notebook = nullptr;
  TPanel* pnlBottom = nullptr;
  TButton* btnLoadSave = nullptr;
  TButton* btnOK = nullptr;
  TButton* btnCancel = nullptr;
  TPopupMenu* pmPresets = nullptr;
  TOpenDialog* OpenDialog = nullptr;
  TSaveDialog* SaveDialog = nullptr;
  // XML data.
  TEdit* BegSign = nullptr;
  TSpinEdit* spSignTimeout = nullptr;
  TCheckBox* chkExpNode = nullptr;
  TCheckBox* chkExpAttr = nullptr;
  TCheckBox* chkAddNodeName = nullptr;
  TCheckBox* chkNameUpper = nullptr;
  // XML nodes and Filter.
  TStringGrid* XMLs = nullptr;
  TButton* btnAddXML = nullptr;
  TButton* btnDelXML = nullptr;
  TStringGrid* Filters = nullptr;
  TButton* btnAddFilter = nullptr;
  TButton* btnDelFilter = nullptr;
  // Characters translation.
  TComboBox* comboTransDirection = nullptr;
  TButton* btnClearTransl = nullptr;
  TGroupBox* gbTran = nullptr;
  TComboBox* comboChar = nullptr;
  TComboBox* rgTransMode = nullptr;
  TComboBox* comboTransChar = nullptr;
  TEdit* edtTransStr = nullptr;
  TCheckBox* chkRemoveBelow32 = nullptr;
  TCheckBox* chkRemoveAbove127 = nullptr;
  TRadioGroup* rgCharReg = nullptr;
  TListBox* lbTranslations = nullptr;
  TStringsHolder* MapTransl0 = nullptr;
  TStringsHolder* MapTransl1 = nullptr;
  TStringsHolder* MapTransl2 = nullptr;
  // Data format.
  TCheckBox* LeftTrim = nullptr;
  TCheckBox* RightTrim = nullptr;
  TEdit* FmtDate = nullptr;
  TEdit* FmtTime = nullptr;
  TEdit* FmtDateTime = nullptr;
  TCheckBox* chkUseNowDate = nullptr;
  TCheckBox* chkUseNowTime = nullptr;
  TSpinEdit* spLocaleID = nullptr;

 private:
  void BuildTree();
  void BuildXmlDataPage(TNotebookPage& page);
  void BuildGridPage(TNotebookPage& page, const char* label, TStringGrid*& grid, const char* grid_name,
                     TButton*& add, const char* add_name, TButton*& del, const char* del_name);
  void BuildTranslationPage(TNotebookPage& page);
  void BuildDataFormatPage(TNotebookPage& page);
  void RunFirstTimePart();
  // Keeps the bounds inside what a screen can show, whatever a store or preset held.
  void SanitiseBounds();

  OptionsDialogHost host_;
  std::unique_ptr<TranslationMapEditor> map_editor_;
  TModalResult modal_result_ = TModalResult::mrNone;
};

}  // namespace quendra
