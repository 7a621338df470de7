// Driving the native options dialog from another thread of the same process, as a user would: find the
// window and its controls by component name, send them messages, and ask the screenshot service of
// tests/wine/with-xvfb for a picture of the screen.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "dialog/win32/dialog_window.h"

namespace quendra::dialog_driver {

inline constexpr UINT kTimeoutMs = 5000;

// Sends and waits at most kTimeoutMs, so a hung dialog fails the test instead of stopping it.
inline LRESULT Send(HWND hwnd, UINT message, WPARAM wparam = 0, LPARAM lparam = 0) {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(hwnd, message, wparam, lparam, SMTO_ABORTIFHUNG, kTimeoutMs, &result);
  return static_cast<LRESULT>(result);
}

// The shown dialog, or null after 20 seconds.
inline HWND WaitForDialog() {
  for (int i = 0; i < 400; ++i) {
    if (HWND dialog = FindWindowA(kOptionsDialogClassName, nullptr); dialog && IsWindowVisible(dialog))
      return dialog;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return nullptr;
}

inline HWND Control(HWND dialog, const std::string& name) {
  return reinterpret_cast<HWND>(Send(dialog, kMsgFindControl, 0, reinterpret_cast<LPARAM>(name.c_str())));
}

inline std::string Text(HWND hwnd) {
  char buffer[512] = {};
  Send(hwnd, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
  return buffer;
}

// Asks for NAME.png in $QUENDRA_SHOT_DIR and waits for it; true when it came, or when no service runs.
inline bool Screenshot(const std::string& name) {
  const char* dir = std::getenv("QUENDRA_SHOT_DIR");
  if (dir == nullptr || *dir == '\0') return true;
  std::string windows_dir = std::string("Z:") + dir;
  for (char& c : windows_dir)
    if (c == '/') c = '\\';
  std::filesystem::create_directories(windows_dir);
  const std::string base = windows_dir + "\\" + name;
  std::filesystem::remove(base + ".png");
  std::ofstream(base + ".request") << name;
  for (int i = 0; i < 100 && !std::filesystem::exists(base + ".png"); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  return std::filesystem::exists(base + ".png");
}

}  // namespace quendra::dialog_driver
