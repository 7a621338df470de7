#include "platform/window.h"

#include <windows.h>

#include <memory>
#include <mutex>
#include <stdexcept>

namespace quendra::platform {

namespace {

constexpr wchar_t kClassName[] = L"QuendraMessageWindow";

// Lives as long as the system window. `call_mutex` is held while the procedure runs and by destroy_window,
// so once destroy_window returns the procedure is never entered again, whichever thread destroyed it.
struct WindowData {
  WindowProc proc;
  void* context;
  std::recursive_mutex call_mutex;
  bool alive = true;
};

LRESULT CALLBACK dispatch(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* data = reinterpret_cast<WindowData*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  // The procedure sees the messages this layer defines (copy-data, timers, application messages); the
  // system's own window management stays with the default procedure.
  if (data && (message == WM_COPYDATA || message == WM_TIMER || message >= WM_USER)) {
    std::lock_guard lock(data->call_mutex);
    return data->alive ? data->proc(data->context, message, wparam, lparam) : 0;
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    std::unique_ptr<WindowData> owned(data);  // the window owned it; gone with the window
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

HINSTANCE own_instance() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&dispatch), &module);
  return module;
}

void register_class_once() {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = dispatch;
    wc.hInstance = own_instance();
    wc.lpszClassName = kClassName;
    return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  if (!registered) throw std::runtime_error("cannot register the message window class");
}

HWND hwnd_of(WindowHandle window) { return reinterpret_cast<HWND>(window); }

}  // namespace

WindowHandle create_window(WindowProc proc, void* context) {
  if (!proc) throw std::invalid_argument("window procedure missing");
  register_class_once();
  auto data = std::make_unique<WindowData>();
  data->proc = proc;
  data->context = context;
  HWND hwnd =
      CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, own_instance(), data.get());
  if (!hwnd) throw std::runtime_error("cannot create a message window");
  data.release();  // owned by the window from now on: freed at WM_NCDESTROY
  return reinterpret_cast<WindowHandle>(hwnd);
}

void destroy_window(WindowHandle window) {
  HWND hwnd = hwnd_of(window);
  if (!window || !IsWindow(hwnd)) return;
  if (auto* data = reinterpret_cast<WindowData*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA))) {
    std::lock_guard lock(data->call_mutex);
    data->alive = false;
  }
  // Only the owner thread may destroy a window; any other asks it to, and the procedure is already off.
  if (GetWindowThreadProcessId(hwnd, nullptr) == GetCurrentThreadId())
    DestroyWindow(hwnd);
  else
    PostMessageW(hwnd, WM_CLOSE, 0, 0);
}

bool send_message_timeout(WindowHandle window, uint32_t message, uintptr_t wparam, intptr_t lparam,
                          uint32_t timeout_ms, intptr_t* result) {
  DWORD_PTR answer = 0;
  if (!window ||
      !SendMessageTimeoutW(hwnd_of(window), message, wparam, lparam, SMTO_ABORTIFHUNG, timeout_ms, &answer))
    return false;
  if (result) *result = static_cast<intptr_t>(answer);
  return true;
}

bool send_copy_data(WindowHandle window, uintptr_t wparam, uintptr_t tag, const void* data, uint32_t size,
                    uint32_t timeout_ms) {
  COPYDATASTRUCT descriptor{tag, size, const_cast<void*>(data)};
  return send_message_timeout(window, WM_COPYDATA, wparam, reinterpret_cast<intptr_t>(&descriptor), timeout_ms);
}

bool post_message(WindowHandle window, uint32_t message, uintptr_t wparam, intptr_t lparam) {
  return window && PostMessageW(hwnd_of(window), message, wparam, lparam);
}

bool set_timer(WindowHandle window, uintptr_t id, uint32_t interval_ms) {
  return window && SetTimer(hwnd_of(window), id, interval_ms, nullptr);
}

bool kill_timer(WindowHandle window, uintptr_t id) { return window && KillTimer(hwnd_of(window), id); }

void pump_messages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

bool get_window_rect(WindowHandle window, WindowRect& rect) {
  RECT r;
  if (!window || !GetWindowRect(hwnd_of(window), &r)) return false;
  rect = {r.left, r.top, r.right, r.bottom};
  return true;
}

bool set_window_rect(WindowHandle window, const WindowRect& rect) {
  return window && MoveWindow(hwnd_of(window), rect.left, rect.top, rect.right - rect.left,
                              rect.bottom - rect.top, FALSE);
}

}  // namespace quendra::platform
