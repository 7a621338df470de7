// The Win32 view of the options dialog: one top-level window whose native controls show the dialog's
// component tree. A user action sets the model control's value, runs its event, and the whole window is
// then brought up to date from the tree; nothing is decided here that the tree does not decide.
#include <windows.h>
//
#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "component/ascii_text.h"
#include "component/text_numbers.h"
#include "dialog/options_dialog_hook.h"
#include "dialog/win32/dialog_window.h"

namespace quendra {

namespace {

constexpr int kFirstControlId = 1000;
constexpr int kSideBarButtonHeight = 44;
constexpr int kComboDropHeight = 220;
constexpr UINT kHelpContextCommand = 0x000F;  // HH_HELP_CONTEXT
constexpr const char* kOldProcProperty = "QuendraOldProc";

std::string WindowText(HWND hwnd) {
  const int length = GetWindowTextLengthA(hwnd);
  std::string text(static_cast<std::size_t>(std::max(length, 0)) + 1, '\0');
  const int got = GetWindowTextA(hwnd, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::max(got, 0)));
  return text;
}

void SetText(HWND hwnd, const std::string& text) {
  if (WindowText(hwnd) != text) SetWindowTextA(hwnd, text.c_str());
}

// "&" marks an accelerator in native captions; a caption shown as it stands doubles it.
std::string Literal(const std::string& caption) {
  std::string out;
  for (char c : caption) {
    out += c;
    if (c == '&') out += '&';
  }
  return out;
}

std::string SpinText(const TSpinEdit& spin) {
  const double v = spin.Value;
  if (!(v >= -2147483648.0 && v <= 2147483647.0)) return "0";
  const long long n = static_cast<long long>(v);
  if (!spin.Hexadecimal) return std::to_string(n);
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "0x%llX", static_cast<unsigned long long>(n) & 0xFFFFFFFFull);
  return buffer;
}

// Filters are written "Name|*.ext|..."; the system wants the parts separated by NULs, ending in two.
std::string SystemFilter(const std::string& filter) {
  std::string out = filter;
  std::replace(out.begin(), out.end(), '|', '\0');
  out.append(2, '\0');
  return out;
}

using HtmlHelpFn = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

HtmlHelpFn LoadHtmlHelp() {
  static HtmlHelpFn fn = [] {
    HMODULE module = LoadLibraryA("hhctrl.ocx");
    FARPROC proc = module ? GetProcAddress(module, "HtmlHelpA") : nullptr;
    return reinterpret_cast<HtmlHelpFn>(reinterpret_cast<void (*)()>(proc));
  }();
  return fn;
}

enum class Kind { Label, Rule, Group, RadioGroup, CheckBox, Button, Edit, Spin, Combo, List, Grid };

struct Native {
  TControl* control = nullptr;
  Kind kind = Kind::Label;
  HWND hwnd = nullptr;
  HWND updown = nullptr;
  std::vector<HWND> radios;
  std::vector<std::string> items;               // what the native list shows now
  std::vector<std::vector<std::string>> cells;  // what the native grid shows now
};

class DialogWindow {
 public:
  DialogWindow(TfrmOption& form, HWND owner) : form_(form), owner_(owner) {}
  ~DialogWindow() {
    if (hwnd_) DestroyWindow(hwnd_);
    if (title_font_) DeleteObject(title_font_);
  }
  DialogWindow(const DialogWindow&) = delete;
  DialogWindow& operator=(const DialogWindow&) = delete;

  TModalResult Run();

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK EditorProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);

  void CreateControls(TWinControl& parent);
  HWND Make(const char* cls, const std::string& text, DWORD style, DWORD ex_style = 0);
  void Add(Native native);
  void CreateSideBar();
  void CreateGridColumns(Native& native);

  // State of the tree -> native windows.
  void Sync();
  void SyncPositions();
  void SyncNative(Native& n);
  // The messages of a combo box or a list box for the same operations.
  struct ListMessages {
    UINT reset, add, get_selection, set_selection;
  };
  void SyncList(Native& n, const ListMessages& m);
  void SyncGrid(Native& n);
  bool IsShown(const TControl& control) const;
  POINT Origin(const TControl& control) const;
  void ApplyFormBounds();
  void ReadFormBounds();

  // User actions -> the tree.
  void Command(HWND from, int code);
  LRESULT Notify(NMHDR* header);
  void Finish(TModalResult result);
  void DropDown(TButton& button, HWND hwnd);
  void ShowHelp(HWND focus);
  bool ExecuteFileBox(TFileDialog& box);
  void StartCellEditor(TStringGrid& grid, Native& native, int col, int data_row);
  void EndCellEditor(bool commit);
  void MoveCellEditor(int step);

  Native* Find(HWND hwnd);
  Native* FindByControl(const TControl* control);
  LRESULT FindControl(const char* name);

  TfrmOption& form_;
  HWND owner_;
  HWND hwnd_ = nullptr;
  HWND tooltip_ = nullptr;
  HFONT font_ = nullptr;
  HFONT title_font_ = nullptr;
  std::vector<Native> natives_;
  std::unordered_map<HWND, std::size_t> by_hwnd_;
  std::vector<std::pair<TSideBarButton*, HWND>> side_buttons_;
  std::vector<HWND> group_headers_;
  int next_id_ = kFirstControlId;
  bool syncing_ = false;
  bool done_ = false;
  TModalResult result_ = TModalResult::mrCancel;
  TBounds applied_bounds_;
  // The open in-place editor of a grid cell.
  HWND editor_ = nullptr;
  TStringGrid* editor_grid_ = nullptr;
  Native* editor_native_ = nullptr;
  int editor_col_ = 0;
  int editor_row_ = 0;
};

void RegisterClassOnce() {
  static const bool registered = [] {
    INITCOMMONCONTROLSEX icc{
        sizeof icc, ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kOptionsDialogClassName;
    return RegisterClassExA(&wc) != 0;
  }();
  (void)registered;
}

LRESULT CALLBACK DialogWindow::WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* self = reinterpret_cast<DialogWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcA(hwnd, message, wparam, lparam);
  try {
    return self->Handle(message, wparam, lparam);
  } catch (...) {
    // A failing handler must not unwind through the system's window procedure: end the dialog as Cancel.
    self->Finish(TModalResult::mrCancel);
    return 0;
  }
}

TModalResult DialogWindow::Run() {
  RegisterClassOnce();
  form_.ExecuteFileBox = [this](TFileDialog& box) { return ExecuteFileBox(box); };
  font_ = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  title_font_ = CreateFontA(-form_.lblTitle->FontHeight, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                            DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                            DEFAULT_PITCH, form_.lblTitle->FontName.c_str());
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
  hwnd_ = CreateWindowExA(WS_EX_CONTEXTHELP | WS_EX_CONTROLPARENT | WS_EX_DLGMODALFRAME,
                          kOptionsDialogClassName, form_.Caption.c_str(), style, form_.Left(), form_.Top(),
                          form_.Width(), form_.Height(), owner_, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (!hwnd_) return TModalResult::mrCancel;
  SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc));
  tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, nullptr, nullptr);
  SendMessageA(tooltip_, TTM_SETMAXTIPWIDTH, 0, 400);
  CreateSideBar();
  CreateControls(form_);
  // Frames lie beneath what they hold: the innermost above the outer ones, all below the controls.
  for (auto it = natives_.rbegin(); it != natives_.rend(); ++it)
    if (it->kind == Kind::Group || it->kind == Kind::RadioGroup)
      SetWindowPos(it->hwnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ApplyFormBounds();
  Sync();

  const bool owner_enabled = owner_ && IsWindowEnabled(owner_);
  if (owner_enabled) EnableWindow(owner_, FALSE);
  ShowWindow(hwnd_, SW_SHOW);
  if (Native* cancel = FindByControl(form_.btnCancel)) SetFocus(cancel->hwnd);
  MSG msg;
  bool quit = false;
  while (!done_) {
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) {
      quit = got == 0;
      break;
    }
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_F1) {
      ShowHelp(GetFocus());
      continue;
    }
    if (!IsDialogMessageA(hwnd_, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  if (!done_) result_ = TModalResult::mrCancel;
  ReadFormBounds();
  if (owner_enabled) EnableWindow(owner_, TRUE);
  if (owner_) SetActiveWindow(owner_);
  SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
  DestroyWindow(hwnd_);
  hwnd_ = nullptr;
  form_.ExecuteFileBox = nullptr;
  // The quit request belongs to the host's own loop.
  if (quit) PostQuitMessage(static_cast<int>(msg.wParam));
  return result_;
}

HWND DialogWindow::Make(const char* cls, const std::string& text, DWORD style, DWORD ex_style) {
  HWND hwnd = CreateWindowExA(ex_style, cls, text.c_str(), WS_CHILD | WS_CLIPSIBLINGS | style, 0, 0, 10, 10,
                              hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(next_id_++)),
                              GetModuleHandleA(nullptr), nullptr);
  SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  return hwnd;
}

void DialogWindow::Add(Native native) {
  if (native.hwnd) by_hwnd_[native.hwnd] = natives_.size();
  for (HWND radio : native.radios) by_hwnd_[radio] = natives_.size();
  if (native.updown) by_hwnd_[native.updown] = natives_.size();
  if (!native.control->Hint.empty() && native.kind != Kind::Grid && native.hwnd) {
    TOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = hwnd_;
    tool.uId = reinterpret_cast<UINT_PTR>(native.hwnd);
    tool.lpszText = const_cast<char*>(native.control->Hint.c_str());
    SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  }
  natives_.push_back(std::move(native));
}

void DialogWindow::CreateSideBar() {
  TzelSideBar& bar = *form_.SideBar;
  if (bar.ShowsGroupHeaders())
    for (const std::string& group : bar.Groups())
      group_headers_.push_back(Make("STATIC", group, SS_LEFT | WS_VISIBLE));
  for (std::size_t i = 0; i < bar.ButtonCount(); ++i) {
    TSideBarButton& button = bar.Button(i);
    HWND hwnd = Make("BUTTON", Literal(button.Caption),
                     BS_AUTORADIOBUTTON | BS_PUSHLIKE | BS_MULTILINE | WS_TABSTOP | WS_VISIBLE);
    side_buttons_.emplace_back(&button, hwnd);
  }
}

void DialogWindow::CreateControls(TWinControl& parent) {
  for (TControl* child : parent.Controls()) {
    Native n;
    n.control = child;
    if (auto* grid = dynamic_cast<TStringGrid*>(child)) {
      n.kind = Kind::Grid;
      n.hwnd =
          Make(WC_LISTVIEWA, "", LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP);
      SendMessageA(n.hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
      (void)grid;
      CreateGridColumns(n);
    } else if (auto* group = dynamic_cast<TRadioGroup*>(child)) {
      n.kind = Kind::RadioGroup;
      n.hwnd = Make("BUTTON", group->Caption, BS_GROUPBOX);
      for (std::size_t i = 0; i < group->Items.Count(); ++i)
        n.radios.push_back(
            Make("BUTTON", group->Items[i], BS_AUTORADIOBUTTON | WS_TABSTOP | (i == 0 ? WS_GROUP : 0)));
    } else if (dynamic_cast<TComboBox*>(child)) {
      n.kind = Kind::Combo;
      n.hwnd = Make("COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP);
    } else if (dynamic_cast<TListBox*>(child)) {
      n.kind = Kind::List;
      n.hwnd = Make("LISTBOX", "", LBS_NOTIFY | WS_VSCROLL | WS_BORDER | WS_TABSTOP | LBS_NOINTEGRALHEIGHT);
    } else if (auto* box = dynamic_cast<TCheckBox*>(child)) {
      n.kind = Kind::CheckBox;
      n.hwnd = Make("BUTTON", box->Caption, BS_AUTOCHECKBOX | WS_TABSTOP);
    } else if (auto* button = dynamic_cast<TButton*>(child)) {
      n.kind = Kind::Button;
      n.hwnd = Make("BUTTON", button->NoPrefix ? Literal(button->Caption) : button->Caption,
                    (button->Default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP);
    } else if (dynamic_cast<TSpinEdit*>(child)) {
      n.kind = Kind::Spin;
      n.hwnd = Make("EDIT", "", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE);
      n.updown = Make(UPDOWN_CLASSA, "", UDS_ARROWKEYS);
      SendMessageA(n.updown, UDM_SETRANGE32, 0, 1000);
      SendMessageA(n.updown, UDM_SETPOS32, 0, 500);
    } else if (dynamic_cast<TEdit*>(child)) {
      n.kind = Kind::Edit;
      n.hwnd = Make("EDIT", "", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE);
    } else if (auto* gb = dynamic_cast<TGroupBox*>(child)) {
      n.kind = Kind::Group;
      n.hwnd = Make("BUTTON", gb->Caption, BS_GROUPBOX);
    } else if (auto* label = dynamic_cast<TLabel*>(child)) {
      n.kind = Kind::Label;
      n.hwnd = Make("STATIC", label->Caption, SS_LEFT);
      if (label == form_.lblTitle)
        SendMessageA(n.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(title_font_), FALSE);
    } else if (dynamic_cast<TBevel*>(child)) {
      n.kind = Kind::Rule;
      n.hwnd = Make("STATIC", "", SS_ETCHEDHORZ);
    }
    if (n.hwnd) Add(std::move(n));
    if (auto* container = dynamic_cast<TWinControl*>(child); container && !dynamic_cast<TzelSideBar*>(child))
      CreateControls(*container);
  }
}

void DialogWindow::CreateGridColumns(Native& n) {
  auto& grid = static_cast<TStringGrid&>(*n.control);
  for (std::size_t c = 0; c < grid.ColCount(); ++c) {
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = grid.Column(c).Width + 20;
    column.pszText = const_cast<char*>(grid.Column(c).Header.c_str());
    SendMessageA(n.hwnd, LVM_INSERTCOLUMNA, c, reinterpret_cast<LPARAM>(&column));
  }
}

bool DialogWindow::IsShown(const TControl& control) const {
  for (const TControl* c = &control; c != nullptr && c != &form_; c = c->Parent()) {
    if (!c->Visible) return false;
    if (auto* page = dynamic_cast<const TNotebookPage*>(c); page && form_.Notebook->ActivePage != page)
      return false;
  }
  return true;
}

POINT DialogWindow::Origin(const TControl& control) const {
  POINT p{0, 0};
  for (const TControl* c = control.Parent(); c != nullptr && c != &form_; c = c->Parent()) {
    p.x += c->Left();
    p.y += c->Top();
  }
  return p;
}

void DialogWindow::ApplyFormBounds() {
  TBounds b = form_.Bounds();
  // Keep the window where a screen can show it: a monitor that went away leaves it on the nearest one.
  RECT wanted{b.Left, b.Top, b.Right(), b.Bottom()};
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoA(MonitorFromRect(&wanted, MONITOR_DEFAULTTONEAREST), &info)) {
    const RECT& work = info.rcWork;
    b.Width = std::min<int>(b.Width, work.right - work.left);
    b.Height = std::min<int>(b.Height, work.bottom - work.top);
    b.Left = std::clamp<int>(b.Left, work.left, work.right - b.Width);
    b.Top = std::clamp<int>(b.Top, work.top, work.bottom - b.Height);
  }
  form_.SetBounds(b);
  applied_bounds_ = b;
  SetWindowPos(hwnd_, nullptr, b.Left, b.Top, b.Width, b.Height, SWP_NOZORDER | SWP_NOACTIVATE);
  SyncPositions();
}

void DialogWindow::ReadFormBounds() {
  RECT r;
  if (!hwnd_ || IsIconic(hwnd_) || !GetWindowRect(hwnd_, &r)) return;
  form_.SetBounds({r.left, r.top, r.right - r.left, r.bottom - r.top});
  applied_bounds_ = form_.Bounds();
}

void DialogWindow::SyncPositions() {
  RECT client;
  GetClientRect(hwnd_, &client);
  form_.ArrangeControls(client.right, client.bottom);
  int y = 4;
  std::size_t header = 0;
  int last_group = -1;
  for (auto& [button, hwnd] : side_buttons_) {
    if (button->Group != last_group && header < group_headers_.size()) {
      MoveWindow(group_headers_[header++], 4, y, kSideBarWidth - 8, 16, FALSE);
      y += 18;
    }
    last_group = button->Group;
    MoveWindow(hwnd, 4, y, kSideBarWidth - 8, kSideBarButtonHeight, FALSE);
    y += kSideBarButtonHeight + 2;
  }
  for (Native& n : natives_) {
    const POINT o = Origin(*n.control);
    const TControl& c = *n.control;
    int height = c.Height();
    if (n.kind == Kind::Combo) height = kComboDropHeight;
    int width = c.Width();
    if (n.kind == Kind::Spin) width -= 18;
    MoveWindow(n.hwnd, o.x + c.Left(), o.y + c.Top(), width, height, FALSE);
    if (n.updown) MoveWindow(n.updown, o.x + c.Left() + width, o.y + c.Top(), 18, c.Height(), FALSE);
    if (n.kind == Kind::RadioGroup) {
      const int columns = std::max(1, static_cast<TRadioGroup&>(*n.control).Columns);
      const int cell = (c.Width() - 16) / columns;
      for (std::size_t i = 0; i < n.radios.size(); ++i)
        MoveWindow(n.radios[i], o.x + c.Left() + 8 + cell * static_cast<int>(i % columns),
                   o.y + c.Top() + 18 + 20 * static_cast<int>(i / columns), cell - 4, 18, FALSE);
    }
    if (n.kind == Kind::Grid) {
      // The stretching column takes what the others leave.
      auto& grid = static_cast<TStringGrid&>(*n.control);
      RECT lv;
      GetClientRect(n.hwnd, &lv);
      int others = 0;
      for (std::size_t col = 0; col < grid.ColCount(); ++col)
        if (!grid.Column(col).Stretch)
          others += static_cast<int>(SendMessageA(n.hwnd, LVM_GETCOLUMNWIDTH, col, 0));
      for (std::size_t col = 0; col < grid.ColCount(); ++col)
        if (grid.Column(col).Stretch)
          SendMessageA(n.hwnd, LVM_SETCOLUMNWIDTH, col, std::max<LPARAM>(60, lv.right - others));
    }
  }
  if (editor_) EndCellEditor(true);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void DialogWindow::Sync() {
  syncing_ = true;
  SetText(hwnd_, form_.Caption);
  for (auto& [button, hwnd] : side_buttons_)
    SendMessageA(hwnd, BM_SETCHECK, button->PageNumber() == form_.SideBar->SelectedPage() ? BST_CHECKED : 0,
                 0);
  for (Native& n : natives_) SyncNative(n);
  if (!(form_.Bounds() == applied_bounds_)) ApplyFormBounds();
  syncing_ = false;
}

void DialogWindow::SyncList(Native& n, const ListMessages& m) {
  const auto& list = static_cast<const TItemsControl&>(*n.control);
  if (n.items != list.Items.Lines()) {
    SendMessageA(n.hwnd, WM_SETREDRAW, FALSE, 0);
    SendMessageA(n.hwnd, m.reset, 0, 0);
    for (const std::string& item : list.Items.Lines())
      SendMessageA(n.hwnd, m.add, 0, reinterpret_cast<LPARAM>(item.c_str()));
    SendMessageA(n.hwnd, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(n.hwnd, nullptr, TRUE);
    n.items = list.Items.Lines();
  }
  if (SendMessageA(n.hwnd, m.get_selection, 0, 0) != list.ItemIndex())
    SendMessageA(n.hwnd, m.set_selection, static_cast<WPARAM>(list.ItemIndex()), 0);
}

void DialogWindow::SyncGrid(Native& n) {
  auto& grid = static_cast<TStringGrid&>(*n.control);
  std::vector<std::vector<std::string>> cells(grid.DataRowCount());
  for (std::size_t r = 0; r < cells.size(); ++r)
    for (std::size_t c = 0; c < grid.ColCount(); ++c) cells[r].push_back(grid.Cell(c, r));
  if (cells != n.cells) {
    SendMessageA(n.hwnd, WM_SETREDRAW, FALSE, 0);
    SendMessageA(n.hwnd, LVM_DELETEALLITEMS, 0, 0);
    for (std::size_t r = 0; r < cells.size(); ++r) {
      LVITEMA item{};
      item.mask = LVIF_TEXT;
      item.iItem = static_cast<int>(r);
      item.pszText = const_cast<char*>(cells[r].empty() ? "" : cells[r][0].c_str());
      SendMessageA(n.hwnd, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
      for (std::size_t c = 1; c < cells[r].size(); ++c) {
        item.iSubItem = static_cast<int>(c);
        item.pszText = const_cast<char*>(cells[r][c].c_str());
        SendMessageA(n.hwnd, LVM_SETITEMTEXTA, r, reinterpret_cast<LPARAM>(&item));
      }
    }
    SendMessageA(n.hwnd, WM_SETREDRAW, TRUE, 0);
    n.cells = std::move(cells);
  }
  const int selected = grid.HasCurrentDataRow() ? grid.Row() - 1 : -1;
  const int shown =
      static_cast<int>(SendMessageA(n.hwnd, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  if (shown != selected) {
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = 0;
    SendMessageA(n.hwnd, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    if (selected >= 0) {
      state.state = LVIS_SELECTED | LVIS_FOCUSED;
      SendMessageA(n.hwnd, LVM_SETITEMSTATE, selected, reinterpret_cast<LPARAM>(&state));
      SendMessageA(n.hwnd, LVM_ENSUREVISIBLE, selected, FALSE);
    }
  }
}

void DialogWindow::SyncNative(Native& n) {
  TControl& c = *n.control;
  const bool shown = IsShown(c);
  auto show = [&](HWND hwnd) {
    if (static_cast<bool>(IsWindowVisible(hwnd)) != shown) ShowWindow(hwnd, shown ? SW_SHOWNA : SW_HIDE);
    EnableWindow(hwnd, c.Enabled);
  };
  show(n.hwnd);
  if (n.updown) show(n.updown);
  for (HWND radio : n.radios) show(radio);
  switch (n.kind) {
    case Kind::Label:
      SetText(n.hwnd, static_cast<TLabel&>(c).Caption);
      break;
    case Kind::Group:
      SetText(n.hwnd, static_cast<TGroupBox&>(c).Caption);
      break;
    case Kind::CheckBox: {
      auto& box = static_cast<TCheckBox&>(c);
      SetText(n.hwnd, box.Caption);
      SendMessageA(n.hwnd, BM_SETCHECK, box.Checked ? BST_CHECKED : BST_UNCHECKED, 0);
      break;
    }
    case Kind::Button: {
      auto& button = static_cast<TButton&>(c);
      SetText(n.hwnd, button.NoPrefix ? Literal(button.Caption) : button.Caption);
      break;
    }
    case Kind::Edit:
      SetText(n.hwnd, static_cast<TEdit&>(c).Text);
      break;
    case Kind::Spin: {
      // While the user types, the text stays as typed; it is rewritten when focus leaves.
      if (GetFocus() != n.hwnd) SetText(n.hwnd, SpinText(static_cast<TSpinEdit&>(c)));
      break;
    }
    case Kind::Combo:
      SyncList(n, {CB_RESETCONTENT, CB_ADDSTRING, CB_GETCURSEL, CB_SETCURSEL});
      break;
    case Kind::List:
      SyncList(n, {LB_RESETCONTENT, LB_ADDSTRING, LB_GETCURSEL, LB_SETCURSEL});
      break;
    case Kind::RadioGroup: {
      auto& group = static_cast<TRadioGroup&>(c);
      SetText(n.hwnd, group.Caption);
      for (std::size_t i = 0; i < n.radios.size(); ++i) {
        if (i < group.Items.Count()) SetText(n.radios[i], group.Items[i]);
        SendMessageA(n.radios[i], BM_SETCHECK, static_cast<int>(i) == group.ItemIndex() ? BST_CHECKED : 0, 0);
      }
      break;
    }
    case Kind::Grid:
      SyncGrid(n);
      break;
    case Kind::Rule:
      break;
  }
}

Native* DialogWindow::Find(HWND hwnd) {
  auto it = by_hwnd_.find(hwnd);
  return it == by_hwnd_.end() ? nullptr : &natives_[it->second];
}

Native* DialogWindow::FindByControl(const TControl* control) {
  for (Native& n : natives_)
    if (n.control == control) return &n;
  return nullptr;
}

LRESULT DialogWindow::FindControl(const char* name) {
  if (name == nullptr) return 0;
  const std::string_view wanted(name);
  if (wanted.rfind("SideBar.", 0) == 0) {
    const auto page = ParseInteger(wanted.substr(8));
    for (auto& [button, hwnd] : side_buttons_)
      if (page && button->PageNumber() == *page) return reinterpret_cast<LRESULT>(hwnd);
    return 0;
  }
  const std::size_t dot = wanted.find(".editor");
  if (dot != std::string_view::npos) {
    return editor_ && editor_grid_ && SameTextAscii(editor_grid_->Name(), wanted.substr(0, dot))
               ? reinterpret_cast<LRESULT>(editor_)
               : 0;
  }
  for (Native& n : natives_)
    if (SameTextAscii(n.control->Name(), wanted)) return reinterpret_cast<LRESULT>(n.hwnd);
  return 0;
}

LRESULT DialogWindow::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      if (lparam == 0 && LOWORD(wparam) == IDCANCEL) {
        Finish(TModalResult::mrCancel);
        return 0;
      }
      if (lparam != 0 && !syncing_) Command(reinterpret_cast<HWND>(lparam), HIWORD(wparam));
      return 0;
    case WM_NOTIFY:
      return Notify(reinterpret_cast<NMHDR*>(lparam));
    case DM_GETDEFID:
      if (Native* cancel = FindByControl(form_.btnCancel))
        return MAKELRESULT(GetDlgCtrlID(cancel->hwnd), DC_HASDEFID);
      return 0;
    case WM_CLOSE:
      Finish(TModalResult::mrCancel);
      return 0;
    case WM_SIZE:
      if (wparam != SIZE_MINIMIZED && !natives_.empty()) {
        ReadFormBounds();
        SyncPositions();
      }
      return 0;
    case WM_MOVE:
      ReadFormBounds();
      return 0;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lparam);
      info->ptMinTrackSize.x = form_.MinWidth;
      info->ptMinTrackSize.y = form_.MinHeight;
      return 0;
    }
    case WM_HELP: {
      const auto* help = reinterpret_cast<const HELPINFO*>(lparam);
      ShowHelp(help && help->iContextType == HELPINFO_WINDOW ? static_cast<HWND>(help->hItemHandle)
                                                             : GetFocus());
      return TRUE;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      SetBkColor(reinterpret_cast<HDC>(wparam), GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    default:
      if (message == kMsgFindControl) return FindControl(reinterpret_cast<const char*>(lparam));
      return DefWindowProcA(hwnd_, message, wparam, lparam);
  }
}

void DialogWindow::Command(HWND from, int code) {
  for (auto& [button, hwnd] : side_buttons_) {
    if (hwnd == from && code == BN_CLICKED) {
      if (editor_) EndCellEditor(true);
      form_.SideBar->SelectPage(button->PageNumber());
      Sync();
      return;
    }
  }
  if (from == editor_) {
    if (code == EN_KILLFOCUS || code == CBN_KILLFOCUS) EndCellEditor(true);
    return;
  }
  Native* n = Find(from);
  if (n == nullptr) return;
  TControl& c = *n->control;
  switch (n->kind) {
    case Kind::CheckBox:
      if (code != BN_CLICKED) return;
      static_cast<TCheckBox&>(c).Checked = SendMessageA(from, BM_GETCHECK, 0, 0) == BST_CHECKED;
      if (auto& handler = static_cast<TCheckBox&>(c).OnClick) handler();
      break;
    case Kind::RadioGroup: {
      if (code != BN_CLICKED) return;
      auto& group = static_cast<TRadioGroup&>(c);
      const auto at = std::find(n->radios.begin(), n->radios.end(), from);
      if (at == n->radios.end()) return;
      group.SetItemIndex(static_cast<int>(at - n->radios.begin()));
      if (group.OnClick) group.OnClick();
      break;
    }
    case Kind::Button: {
      if (code != BN_CLICKED) return;
      if (editor_) EndCellEditor(true);
      auto& button = static_cast<TButton&>(c);
      if (button.DropDownMenu) {
        DropDown(button, from);
      } else {
        if (button.OnClick) button.OnClick();
        if (button.ModalResult != TModalResult::mrNone) {
          Finish(button.ModalResult);
          return;
        }
        if (form_.ModalResult() != TModalResult::mrNone) {
          Finish(form_.ModalResult());
          return;
        }
      }
      break;
    }
    case Kind::Edit:
      if (code != EN_CHANGE) return;
      static_cast<TEdit&>(c).Text = WindowText(from);
      if (auto& handler = static_cast<TEdit&>(c).OnChange) handler();
      break;
    case Kind::Spin: {
      auto& spin = static_cast<TSpinEdit&>(c);
      if (code == EN_CHANGE) {
        // A field shown in hexadecimal reads typed digits as hexadecimal too ("409" is 0x409).
        std::string typed = WindowText(from);
        if (spin.Hexadecimal && TrimBlanks(typed).rfind("0x", 0) != 0 &&
            TrimBlanks(typed).rfind("0X", 0) != 0 && TrimBlanks(typed).rfind('$', 0) != 0)
          typed = "0x" + std::string(TrimBlanks(typed));
        if (const auto v = ParseInteger(typed); v && *v >= INT32_MIN && *v <= INT32_MAX)
          spin.Value = static_cast<double>(*v);
      } else if (code == EN_KILLFOCUS) {
        spin.Value = std::clamp(spin.Value, spin.MinValue, spin.MaxValue);
        SetText(from, SpinText(spin));
      }
      return;
    }
    case Kind::Combo:
      if (code != CBN_SELCHANGE) return;
      static_cast<TComboBox&>(c).SetItemIndex(static_cast<int>(SendMessageA(from, CB_GETCURSEL, 0, 0)));
      if (auto& handler = static_cast<TComboBox&>(c).OnChange) handler();
      break;
    case Kind::List:
      if (code != LBN_SELCHANGE) return;
      static_cast<TListBox&>(c).SetItemIndex(static_cast<int>(SendMessageA(from, LB_GETCURSEL, 0, 0)));
      if (auto& handler = static_cast<TListBox&>(c).OnClick) handler();
      break;
    default:
      return;
  }
  Sync();
}

LRESULT DialogWindow::Notify(NMHDR* header) {
  if (header == nullptr || syncing_) return 0;
  Native* n = Find(header->hwndFrom);
  if (n == nullptr) return 0;
  if (n->kind == Kind::Spin && header->code == UDN_DELTAPOS) {
    auto& spin = static_cast<TSpinEdit&>(*n->control);
    const auto* delta = reinterpret_cast<const NMUPDOWN*>(header);
    spin.Value = std::clamp(spin.Value + delta->iDelta, spin.MinValue, spin.MaxValue);
    SetText(n->hwnd, SpinText(spin));
    return TRUE;  // the arrows' own position stays in the middle of their range
  }
  if (n->kind != Kind::Grid) return 0;
  auto& grid = static_cast<TStringGrid&>(*n->control);
  switch (header->code) {
    case LVN_ITEMCHANGED: {
      const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
      if ((change->uChanged & LVIF_STATE) && (change->uNewState & LVIS_SELECTED) &&
          !(change->uOldState & LVIS_SELECTED) && grid.OnSelectCell) {
        grid.OnSelectCell(grid.Col(), change->iItem + 1);
        Sync();
      }
      return 0;
    }
    case NM_CLICK:
    case NM_DBLCLK: {
      const auto* click = reinterpret_cast<const NMITEMACTIVATE*>(header);
      LVHITTESTINFO hit{};
      hit.pt = click->ptAction;
      if (SendMessageA(n->hwnd, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)) >= 0 &&
          hit.iItem >= 0) {
        grid.SetCol(hit.iSubItem);
        if (grid.OnSelectCell) grid.OnSelectCell(hit.iSubItem, hit.iItem + 1);
        Sync();
        StartCellEditor(grid, *n, hit.iSubItem, hit.iItem);
      }
      return 0;
    }
    case LVN_KEYDOWN: {
      const auto* key = reinterpret_cast<const NMLVKEYDOWN*>(header);
      if (key->wVKey == VK_INSERT) {
        const std::size_t at =
            grid.HasCurrentDataRow() ? static_cast<std::size_t>(grid.Row() - 1) : grid.DataRowCount();
        grid.InsertRow(at);
        grid.SetRow(static_cast<int>(at) + 1);
        if (grid.OnRowInserted) grid.OnRowInserted();
        Sync();
      } else if (key->wVKey == VK_DELETE && (GetKeyState(VK_CONTROL) & 0x8000) && grid.HasCurrentDataRow()) {
        grid.DeleteRow(static_cast<std::size_t>(grid.Row() - 1));
        if (grid.OnRowDeleted) grid.OnRowDeleted();
        Sync();
      } else if (key->wVKey == VK_F2 && grid.HasCurrentDataRow()) {
        StartCellEditor(grid, *n, std::max(grid.Col(), 0), grid.Row() - 1);
      }
      return 0;
    }
    default:
      return 0;
  }
}

LRESULT CALLBACK DialogWindow::EditorProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  auto old = reinterpret_cast<WNDPROC>(GetPropA(hwnd, kOldProcProperty));
  auto* self = reinterpret_cast<DialogWindow*>(GetWindowLongPtrA(GetParent(hwnd), GWLP_USERDATA));
  if (self != nullptr && self->editor_ == hwnd) {
    if (message == WM_GETDLGCODE)
      return DLGC_WANTALLKEYS | CallWindowProcA(old, hwnd, message, wparam, lparam);
    if (message == WM_KEYDOWN && (wparam == VK_RETURN || wparam == VK_ESCAPE || wparam == VK_TAB)) {
      const bool back = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
      if (wparam == VK_TAB) {
        self->MoveCellEditor(back ? -1 : 1);
      } else {
        self->EndCellEditor(wparam == VK_RETURN);
      }
      return 0;
    }
    if (message == WM_CHAR && (wparam == '\r' || wparam == 27 || wparam == '\t')) return 0;
  }
  return old ? CallWindowProcA(old, hwnd, message, wparam, lparam)
             : DefWindowProcA(hwnd, message, wparam, lparam);
}

void DialogWindow::StartCellEditor(TStringGrid& grid, Native& native, int col, int data_row) {
  if (editor_) EndCellEditor(true);
  if (col < 0 || static_cast<std::size_t>(col) >= grid.ColCount() || data_row < 0 ||
      static_cast<std::size_t>(data_row) >= grid.DataRowCount())
    return;
  RECT cell{};
  cell.top = col;
  cell.left = LVIR_BOUNDS;
  SendMessageA(native.hwnd, LVM_GETSUBITEMRECT, data_row, reinterpret_cast<LPARAM>(&cell));
  if (col == 0)
    cell.right = cell.left + static_cast<int>(SendMessageA(native.hwnd, LVM_GETCOLUMNWIDTH, 0, 0));
  MapWindowPoints(native.hwnd, hwnd_, reinterpret_cast<POINT*>(&cell), 2);
  const TGridColumn& column = grid.Column(static_cast<std::size_t>(col));
  const std::string& text = grid.Cell(static_cast<std::size_t>(col), static_cast<std::size_t>(data_row));
  if (column.Editor == TColumnEditor::PickList) {
    editor_ = Make("COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP);
    int selected = -1;
    for (std::size_t i = 0; i < column.ComboItems.Count(); ++i) {
      SendMessageA(editor_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(column.ComboItems[i].c_str()));
      if (SameTextAscii(column.ComboItems[i], text)) selected = static_cast<int>(i);
    }
    SendMessageA(editor_, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
    MoveWindow(editor_, cell.left, cell.top - 2, cell.right - cell.left, kComboDropHeight, FALSE);
  } else {
    editor_ = Make("EDIT", text, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP);
    MoveWindow(editor_, cell.left, cell.top, cell.right - cell.left, cell.bottom - cell.top + 2, FALSE);
  }
  SetPropA(editor_, kOldProcProperty,
           reinterpret_cast<HANDLE>(
               SetWindowLongPtrA(editor_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EditorProc))));
  editor_grid_ = &grid;
  editor_native_ = &native;
  editor_col_ = col;
  editor_row_ = data_row;
  SetWindowPos(editor_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  SetFocus(editor_);
  if (column.Editor == TColumnEditor::Text) SendMessageA(editor_, EM_SETSEL, 0, -1);
}

void DialogWindow::EndCellEditor(bool commit) {
  HWND editor = editor_;
  if (!editor) return;
  // Cleared first: destroying the editor moves the focus, which reports the editor's focus loss again.
  editor_ = nullptr;
  TStringGrid* grid = editor_grid_;
  if (commit && grid && static_cast<std::size_t>(editor_row_) < grid->DataRowCount()) {
    const TGridColumn& column = grid->Column(static_cast<std::size_t>(editor_col_));
    std::string text;
    if (column.Editor == TColumnEditor::PickList) {
      const LRESULT at = SendMessageA(editor, CB_GETCURSEL, 0, 0);
      text = at >= 0 && static_cast<std::size_t>(at) < column.ComboItems.Count()
                 ? column.ComboItems[static_cast<std::size_t>(at)]
                 : grid->Cell(static_cast<std::size_t>(editor_col_), static_cast<std::size_t>(editor_row_));
    } else {
      text = WindowText(editor);
    }
    grid->SetCell(static_cast<std::size_t>(editor_col_), static_cast<std::size_t>(editor_row_),
                  std::move(text));
  }
  const bool had_focus = GetFocus() == editor;
  DestroyWindow(editor);
  if (had_focus && editor_native_) SetFocus(editor_native_->hwnd);
  // Ended by a layout inside a refresh, the running refresh shows the cell.
  if (!syncing_) Sync();
}

void DialogWindow::MoveCellEditor(int step) {
  TStringGrid* grid = editor_grid_;
  Native* native = editor_native_;
  int col = editor_col_ + step;
  int row = editor_row_;
  EndCellEditor(true);
  if (!grid || !native) return;
  const int cols = static_cast<int>(grid->ColCount());
  if (col >= cols) {
    col = 0;
    ++row;
  } else if (col < 0) {
    col = cols - 1;
    --row;
  }
  if (row < 0 || static_cast<std::size_t>(row) >= grid->DataRowCount()) return;
  grid->SetCol(col);
  if (grid->OnSelectCell) grid->OnSelectCell(col, row + 1);
  Sync();
  StartCellEditor(*grid, *native, col, row);
}

void DialogWindow::DropDown(TButton& button, HWND hwnd) {
  TPopupMenu& menu = *button.DropDownMenu;
  if (menu.OnPopup) menu.OnPopup(menu);
  HMENU popup = CreatePopupMenu();
  for (std::size_t i = 0; i < menu.Count(); ++i) {
    const TMenuItem& item = menu.Items(i);
    if (!item.Visible) continue;
    if (item.IsSeparator())
      AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
    else
      AppendMenuA(popup, MF_STRING, i + 1, item.Caption.c_str());
  }
  RECT r;
  GetWindowRect(hwnd, &r);
  const UINT chosen = static_cast<UINT>(TrackPopupMenu(popup, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN,
                                                       r.left, r.bottom, 0, hwnd_, nullptr));
  DestroyMenu(popup);
  if (chosen == 0 || chosen > menu.Count()) return;
  TMenuItem& item = menu.Items(chosen - 1);
  if (item.OnClick) item.OnClick(item);
}

bool DialogWindow::ExecuteFileBox(TFileDialog& box) {
  const bool open = dynamic_cast<TOpenDialog*>(&box) != nullptr;
  const std::string filter = SystemFilter(box.Filter);
  std::string file = box.FileName;
  file.resize(std::max<std::size_t>(file.size() + 1, MAX_PATH * 4), '\0');
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = hwnd_;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = static_cast<DWORD>(std::max(box.FilterIndex, 0));
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = box.InitialDir.empty() ? nullptr : box.InitialDir.c_str();
  ofn.lpstrDefExt = box.DefaultExt.empty() ? nullptr : box.DefaultExt.c_str();
  ofn.lpstrTitle = box.Title.empty() ? nullptr : box.Title.c_str();
  // A preset is loaded only from a file that exists; a new one may be saved under any name.
  ofn.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR |
              (open ? OFN_FILEMUSTEXIST : OFN_OVERWRITEPROMPT);
  const BOOL ok = open ? GetOpenFileNameA(&ofn) : GetSaveFileNameA(&ofn);
  if (!ok) return false;
  box.FileName = file.c_str();
  box.FilterIndex = static_cast<int>(ofn.nFilterIndex);
  return true;
}

void DialogWindow::ShowHelp(HWND focus) {
  int context = 0;
  if (Native* n = Find(focus)) {
    for (const TControl* c = n->control; c != nullptr && context == 0; c = c->Parent())
      context = c->HelpContext;
  }
  if (context == 0 && form_.Notebook->ActivePage) context = form_.Notebook->ActivePage->HelpContext;
  if (context == 0) context = form_.HelpContext;
  if (GetFileAttributesA(form_.HelpFile.c_str()) == INVALID_FILE_ATTRIBUTES) return;
  if (HtmlHelpFn help = LoadHtmlHelp())
    help(hwnd_, form_.HelpFile.c_str(), kHelpContextCommand, static_cast<DWORD_PTR>(context));
}

void DialogWindow::Finish(TModalResult result) {
  if (done_) return;
  result_ = result;
  done_ = true;
  // Wakes the loop when the request came from a sent message.
  PostMessageA(hwnd_, WM_NULL, 0, 0);
}

TModalResult ShowWin32(TfrmOption& form, platform::WindowHandle owner) {
  HWND owner_window = reinterpret_cast<HWND>(owner);
  if (owner_window && !IsWindow(owner_window)) owner_window = nullptr;
  DialogWindow window(form, owner_window);
  return window.Run();
}

}  // namespace

OptionsDialogView PlatformDialogView() {
  return &ShowWin32;
}

}  // namespace quendra
