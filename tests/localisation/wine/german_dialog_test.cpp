// The options dialog after the host selected German: the win64 build under wine64 on a display of its own,
// opened through the ShowOptionsDialog export with LANGUAGE "DE", as a host does. Its captions must be the
// German texts of the language file beside the library; a screenshot of the German dialog goes to the
// build folder.
#include <windows.h>
//
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "dialog_driver.h"
#include "host_session.h"
#include "plugin_library.h"

namespace quendra::host {
namespace {

using namespace std::chrono_literals;
using namespace quendra::dialog_driver;

// The file's own language is English, so only the host's selection makes the dialog German.
constexpr char kLanguageFile[] =
    "[Languages]\r\n$EN = #1\r\n$DE = #2\r\nDefault = EN\r\n\r\n"
    "EN:>Cancel\r\nDE:>Abbrechen\r\n\r\n"
    "EN:>Load & Save\r\nDE:>Laden & Speichern\r\n\r\n"
    "EN:>XML data\r\nDE:>XML-Daten\r\n\r\n"
    "EN:>XML nodes\r\nDE:>XML-Knoten\r\n\r\n"
    "EN:>Characters translation\r\nDE:>Zeichen\xFC"
    "bersetzung\r\n\r\n"
    "EN:>Data format\r\nDE:>Datenformat\r\n\r\n"
    "EN:>Root node name\r\nDE:>Wurzelknoten\r\n\r\n"
    "EN:>Timeout (ms)\r\nDE:>Zeitlimit (ms)\r\n\r\n"
    "EN:>Export node values\r\nDE:>Knotenwerte ausgeben\r\n\r\n"
    "EN:>Export attribute values\r\nDE:>Attributwerte ausgeben\r\n\r\n"
    "EN:>Add node name to attribute name\r\nDE:>Knotenname vor Attributname\r\n\r\n"
    "EN:>Export names in upper case\r\nDE:>Namen in Gro\xDF"
    "buchstaben\r\n\r\n";

struct Seen {
  bool found = false;
  std::string cancel, load_save, label, title_on_page_1;
  bool screenshot = false;
};

void LookAtDialog(Seen& seen) {
  HWND dialog = WaitForDialog();
  if (!dialog) return;
  seen.found = true;
  seen.cancel = Text(Control(dialog, "btnCancel"));
  seen.load_save = Text(Control(dialog, "btnLoadSave"));
  seen.label = Text(Control(dialog, "lblBegSign"));
  seen.screenshot = Screenshot("options-german-page-0");
  Send(Control(dialog, "SideBar.1"), BM_CLICK);
  std::this_thread::sleep_for(300ms);
  seen.title_on_page_1 = Text(Control(dialog, "lblTitle"));
  seen.screenshot = Screenshot("options-german-page-1") && seen.screenshot;
  Send(Control(dialog, "btnCancel"), BM_CLICK);
}

TEST(GermanDialogTest, TheDialogShowsTheSelectedLanguage) {
  const auto dir =
      std::filesystem::temp_directory_path() / ("quendra-german-" + std::to_string(GetCurrentProcessId()));
  std::filesystem::create_directories(dir);
  const std::string ini = (dir / "settings.ini").string();
  std::ofstream(ini, std::ios::binary) << "[Common]\r\nStart string=Data\r\n";
  PluginLibrary library(QUENDRA_PLUGIN_PATH);
  // Beside the library, for the instances this test creates only: removed before any other test runs.
  const std::filesystem::path language_file =
      std::filesystem::path(QUENDRA_PLUGIN_PATH).replace_extension(".lng");
  std::ofstream(language_file, std::ios::binary) << kLanguageFile;
  struct Remove {
    std::filesystem::path file, dir;
    ~Remove() {
      std::error_code ec;
      std::filesystem::remove(file, ec);
      std::filesystem::remove_all(dir, ec);
    }
  } remove{language_file, dir};

  SessionOptions options;
  options.settings = ini;
  options.language = "DE";
  options.registry_path = "Software\\QuendraGermanTest\\" + std::to_string(GetCurrentProcessId());
  HostSession session(library, options);
  Seen seen;
  std::thread looker([&] { LookAtDialog(seen); });
  ParamsPtr params(TzelParamsList::create());
  params->Add("INI-FILE", OleVariant::from_ansi_as_wide(ini));
  params->Add("LANGUAGE", OleVariant::from_ansi_as_wide("DE"));
  QuendraCallRec rec = library.record(1, params.get());
  library.api().ShowOptionsDialog(&rec);
  looker.join();
  library.drain_log(1);

  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.cancel, "Abbrechen");
  EXPECT_EQ(seen.load_save, "Laden && Speichern");  // the view shows "&" as itself, written "&&" for Win32
  EXPECT_EQ(seen.label, "Wurzelknoten");
  EXPECT_EQ(seen.title_on_page_1, "XML-Knoten");
  EXPECT_TRUE(seen.screenshot);
}

}  // namespace
}  // namespace quendra::host
