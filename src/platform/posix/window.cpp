// In-process emulation of message windows. Like the system's window manager it is one shared library per
// process (libquendra_user), so a host program and the plug-in see the same windows, and a handle is a
// number looked up in one table: a stale or made-up handle is simply unknown, never dereferenced.
#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <unordered_map>
#include <vector>

#include "platform/clock.h"
#include "platform/window.h"
#include "quendra/plugin_api.h"

namespace quendra::platform {

namespace {

// A thread that has not pumped for this long counts as hung: sends to its windows fail at once.
constexpr uint32_t kHungAfterMs = 5000;

struct Message {
  uint32_t message;
  uintptr_t wparam;
  intptr_t lparam;
};

// A message sent from another thread. It owns a copy of any copy-data payload, so the sender may give up
// (time out) while the owner still works on it.
struct SendRequest {
  Message msg;
  std::vector<char> payload;
  QuendraCopyData copy_data{};
  std::mutex mutex;
  std::condition_variable done_cv;
  bool done = false;
  bool ok = false;
  intptr_t result = 0;

  void finish(bool success, intptr_t value) {
    std::lock_guard lock(mutex);
    done = true;
    ok = success;
    result = value;
    done_cv.notify_all();
  }
};

struct Timer {
  uintptr_t id;
  uint32_t interval;
  uint32_t due;
};

struct Window {
  WindowHandle handle;
  WindowProc proc;
  void* context;
  std::thread::id owner = std::this_thread::get_id();
  std::mutex mutex;
  std::deque<std::shared_ptr<SendRequest>> sends;
  std::deque<Message> posts;
  std::vector<Timer> timers;
  WindowRect rect;
  uint32_t last_pump;
};

using WindowPtr = std::shared_ptr<Window>;

std::mutex g_table_mutex;
std::unordered_map<WindowHandle, WindowPtr> g_table;
WindowHandle g_next_handle = 0x10000;

thread_local std::vector<Window*> t_windows;

bool is_owner(const Window* w) { return w->owner == std::this_thread::get_id(); }

bool op_send(Window* w, uint32_t message, uintptr_t wparam, intptr_t lparam, uint32_t timeout_ms,
             intptr_t* result) {
  if (is_owner(w)) {
    intptr_t r = w->proc(w->context, message, wparam, lparam);
    if (result) *result = r;
    return true;
  }
  auto request = std::make_shared<SendRequest>();
  request->msg = {message, wparam, lparam};
  if (message == kMsgCopyData && lparam) {
    const auto* source = reinterpret_cast<const QuendraCopyData*>(lparam);
    const auto* bytes = static_cast<const char*>(source->Data);
    request->payload.assign(bytes, bytes + source->Size);
    request->copy_data = {source->Tag, source->Size, request->payload.data()};
    request->msg.lparam = reinterpret_cast<intptr_t>(&request->copy_data);
  }
  {
    std::lock_guard lock(w->mutex);
    if (tick_count() - w->last_pump > kHungAfterMs) return false;
    w->sends.push_back(request);
  }
  std::unique_lock lock(request->mutex);
  if (!request->done_cv.wait_for(lock, std::chrono::milliseconds(timeout_ms), [&] { return request->done; }))
    return false;  // the owner may still deliver it later; the request keeps its own payload alive
  if (result) *result = request->result;
  return request->ok;
}

bool op_post(Window* w, uint32_t message, uintptr_t wparam, intptr_t lparam) {
  std::lock_guard lock(w->mutex);
  w->posts.push_back({message, wparam, lparam});
  return true;
}

bool op_set_timer(Window* w, uintptr_t id, uint32_t interval) {
  std::lock_guard lock(w->mutex);
  uint32_t due = tick_count() + interval;
  for (Timer& t : w->timers)
    if (t.id == id) {
      t = {id, interval, due};
      return true;
    }
  w->timers.push_back({id, interval, due});
  return true;
}

bool op_kill_timer(Window* w, uintptr_t id) {
  std::lock_guard lock(w->mutex);
  auto it = std::find_if(w->timers.begin(), w->timers.end(), [&](const Timer& t) { return t.id == id; });
  if (it == w->timers.end()) return false;
  w->timers.erase(it);
  return true;
}

bool op_get_rect(Window* w, WindowRect* rect) {
  std::lock_guard lock(w->mutex);
  *rect = w->rect;
  return true;
}

bool op_set_rect(Window* w, const WindowRect* rect) {
  std::lock_guard lock(w->mutex);
  w->rect = *rect;
  return true;
}

WindowPtr window_of(WindowHandle handle) {
  std::lock_guard lock(g_table_mutex);
  auto it = g_table.find(handle);
  return it == g_table.end() ? nullptr : it->second;
}

// Delivers one pending item of a window: a sent message first, else a posted one, else (when `timers` is
// set) one due timer.
bool pump_one(Window* w, bool timers) {
  std::shared_ptr<SendRequest> send;
  Message msg{};
  {
    std::lock_guard lock(w->mutex);
    w->last_pump = tick_count();
    if (!w->sends.empty()) {
      send = std::move(w->sends.front());
      w->sends.pop_front();
    } else if (!w->posts.empty()) {
      msg = w->posts.front();
      w->posts.pop_front();
    } else if (timers) {
      auto due = std::find_if(w->timers.begin(), w->timers.end(),
                              [now = w->last_pump](const Timer& t) { return int32_t(now - t.due) >= 0; });
      if (due == w->timers.end()) return false;
      due->due = w->last_pump + due->interval;
      msg = {kMsgTimer, due->id, 0};
    } else {
      return false;
    }
  }
  if (send) {
    send->finish(true, w->proc(w->context, send->msg.message, send->msg.wparam, send->msg.lparam));
  } else {
    w->proc(w->context, msg.message, msg.wparam, msg.lparam);
  }
  return true;
}

std::size_t timer_count(Window* w) {
  std::lock_guard lock(w->mutex);
  return w->timers.size();
}

}  // namespace

WindowHandle create_window(WindowProc proc, void* context) {
  if (!proc) throw std::invalid_argument("window procedure missing");
  auto w = std::make_shared<Window>();
  w->proc = proc;
  w->context = context;
  w->last_pump = tick_count();
  {
    std::lock_guard lock(g_table_mutex);
    w->handle = g_next_handle;
    g_next_handle += 4;
    g_table.emplace(w->handle, w);
  }
  t_windows.push_back(w.get());
  return w->handle;
}

void destroy_window(WindowHandle handle) {
  WindowPtr w = window_of(handle);
  if (!w || !is_owner(w.get())) return;
  std::erase(t_windows, w.get());
  {
    std::lock_guard lock(g_table_mutex);
    g_table.erase(handle);
  }
  std::lock_guard lock(w->mutex);
  for (auto& send : w->sends) send->finish(false, 0);
}

bool send_message_timeout(WindowHandle handle, uint32_t message, uintptr_t wparam, intptr_t lparam,
                          uint32_t timeout_ms, intptr_t* result) {
  WindowPtr w = window_of(handle);
  return w && op_send(w.get(), message, wparam, lparam, timeout_ms, result);
}

bool send_copy_data(WindowHandle window, uintptr_t wparam, uintptr_t tag, const void* data, uint32_t size,
                    uint32_t timeout_ms) {
  QuendraCopyData descriptor{tag, size, const_cast<void*>(data)};
  return send_message_timeout(window, kMsgCopyData, wparam, reinterpret_cast<intptr_t>(&descriptor), timeout_ms);
}

bool post_message(WindowHandle handle, uint32_t message, uintptr_t wparam, intptr_t lparam) {
  WindowPtr w = window_of(handle);
  return w && op_post(w.get(), message, wparam, lparam);
}

bool set_timer(WindowHandle handle, uintptr_t id, uint32_t interval_ms) {
  WindowPtr w = window_of(handle);
  return w && op_set_timer(w.get(), id, interval_ms);
}

bool kill_timer(WindowHandle handle, uintptr_t id) {
  WindowPtr w = window_of(handle);
  return w && op_kill_timer(w.get(), id);
}

bool get_window_rect(WindowHandle handle, WindowRect& rect) {
  WindowPtr w = window_of(handle);
  return w && op_get_rect(w.get(), &rect);
}

bool set_window_rect(WindowHandle handle, const WindowRect& rect) {
  WindowPtr w = window_of(handle);
  return w && op_set_rect(w.get(), &rect);
}

void pump_messages() {
  // A procedure may create or destroy windows of this thread while we walk: take a snapshot and re-check.
  // Each due timer fires at most once per pump, so a short interval cannot keep the thread here.
  std::vector<Window*> windows = t_windows;
  auto alive = [](Window* w) { return std::find(t_windows.begin(), t_windows.end(), w) != t_windows.end(); };
  for (Window* w : windows) {
    while (alive(w) && pump_one(w, false)) {
    }
    for (std::size_t n = alive(w) ? timer_count(w) : 0; n > 0 && alive(w) && pump_one(w, true); --n) {
    }
  }
}

}  // namespace quendra::platform
