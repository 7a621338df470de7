// Opens the options dialog through the ShowOptionsDialog export, as a host does, and drives it from a second
// thread with window messages: it visits every page (taking a screenshot of each when a screenshot service
// is there), types a root name and a locale, adds a rule row and fills it through the grid's cell editors,
// and presses OK. Then the store must hold the new settings and a second instance on the same settings must
// have reloaded them.
#include <windows.h>
//
#include <commctrl.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "dialog_driver.h"
#include "host_session.h"
#include "plugin_library.h"

namespace quendra::host {
namespace {

using namespace std::chrono_literals;
using namespace dialog_driver;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct Drive {
  bool found = false;
  std::string title_on_page_1;
  std::string editor_class;
};

// Everything a user does, from the second thread.
void DriveDialog(Drive& out) {
  HWND dialog = WaitForDialog();
  if (!dialog) return;
  out.found = true;
  const char* pages[] = {"xml-data", "xml-nodes", "characters-translation", "filter", "data-format"};
  for (int page = 0; page < 5; ++page) {
    Send(Control(dialog, "SideBar." + std::to_string(page)), BM_CLICK);
    std::this_thread::sleep_for(300ms);
    if (page == 1) out.title_on_page_1 = Text(Control(dialog, "lblTitle"));
    EXPECT_TRUE(Screenshot("options-page-" + std::to_string(page) + "-" + pages[page])) << "no screenshot";
  }

  Send(Control(dialog, "SideBar.0"), BM_CLICK);
  HWND root = Control(dialog, "BegSign");
  Send(root, EM_SETSEL, 0, -1);
  for (char c : std::string("Wine")) Send(root, WM_CHAR, static_cast<WPARAM>(c), 1);

  // The locale field is shown in hexadecimal, and typed digits are read that way.
  Send(Control(dialog, "SideBar.4"), BM_CLICK);
  Send(Control(dialog, "spLocaleID"), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("407"));

  Send(Control(dialog, "SideBar.1"), BM_CLICK);
  Send(Control(dialog, "btnAddXML"), BM_CLICK);
  HWND grid = Control(dialog, "XMLs");
  LVITEMA state{};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  Send(grid, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
  Send(grid, WM_KEYDOWN, VK_F2, 0);
  HWND editor = Control(dialog, "XMLs.editor");
  char cls[64] = {};
  GetClassNameA(editor, cls, sizeof cls);
  out.editor_class = cls;
  Send(editor, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Temp"));
  // Tab moves to the next cell's editor: Type "Node", Action "Parse", Data type "Integer".
  for (int item : {1, 1, 8}) {
    Send(editor, WM_KEYDOWN, VK_TAB, 0);
    editor = Control(dialog, "XMLs.editor");
    Send(editor, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
  }
  Send(editor, WM_KEYDOWN, VK_RETURN, 0);
  std::this_thread::sleep_for(200ms);
  EXPECT_TRUE(Screenshot("options-after-editing")) << "no screenshot";
  Send(Control(dialog, "btnOK"), BM_CLICK);
}

TEST(DialogWindowTest, EditsReachTheStoreAndTheSiblingInstanceReloads) {
  const auto dir =
      std::filesystem::temp_directory_path() / ("quendra-dialog-" + std::to_string(GetCurrentProcessId()));
  std::filesystem::create_directories(dir);
  const std::string ini = (dir / "settings.ini").string();
  // The file exists from the start, so no load falls back to the registry.
  std::ofstream(ini, std::ios::binary) << "[Common]\r\nStart string=Data\r\n";
  PluginLibrary library(QUENDRA_PLUGIN_PATH);
  SessionOptions first;
  first.settings = ini;
  first.registry_path = "Software\\QuendraDialogTest\\" + std::to_string(GetCurrentProcessId()) + "-" +
                        std::to_string(GetTickCount64());
  SessionOptions second = first;
  second.handle = 2;
  {
    HostSession one(library, first);
    HostSession two(library, second);
    const std::string block = "<Wine><Temp>42</Temp></Wine>";
    EXPECT_EQ(std::string(two.process(block, 0).text), "");

    Drive drive;
    std::thread driver([&] { DriveDialog(drive); });
    // As a host does, the call names the settings file; without it the module would use the registry.
    ParamsPtr params(TzelParamsList::create());
    params->Add("INI-FILE", OleVariant::from_ansi_as_wide(ini));
    QuendraCallRec rec = library.record(1, params.get());
    library.api().ShowOptionsDialog(&rec);
    driver.join();
    library.drain_log(1);

    ASSERT_TRUE(drive.found);
    EXPECT_EQ(drive.title_on_page_1, "XML nodes");
    EXPECT_EQ(drive.editor_class, "Edit");
    EXPECT_EQ(rec.ResultValue, 1);
    const std::string stored = ReadFile(ini);
    EXPECT_NE(stored.find("\r\nStart string=Wine\r\n"), std::string::npos) << stored;
    EXPECT_NE(stored.find("\r\nXMLs=Temp||1||1||8%0d%0a\r\n"), std::string::npos) << stored;
    EXPECT_NE(stored.find("\r\nLocale ID=1031\r\n"), std::string::npos) << stored;
    // The second instance shares the settings and was told to reload them: it now cuts "Wine" blocks.
    EXPECT_EQ(std::string(two.process(block, 0).text), block + "<{[::]}>");
  }
  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
}

}  // namespace
}  // namespace quendra::host
