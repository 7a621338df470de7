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
  WindowHandle handle = 0;
  WindowProc proc = nullptr;
  void* context = nullptr;
  std::thread::id owner = std::this_thread::get_id();
  std::mutex mutex;  // guards the queues, timers, rectangle and last_pump
  std::deque<std::shared_ptr<SendRequest>> sends;
  std::deque<Message> posts;
  std::vector<Timer> timers;
  WindowRect rect;
  uint32_t last_pump = 0;
  // Held while the procedure runs; destroy_window takes it too, so after destroy_window returns the
  // procedure is never entered again. Recursive: a procedure may destroy its own window.
  std::recursive_mutex call_mutex;
  bool alive = true;

  // Runs the procedure unless the window was destroyed; false then.
  bool call(const Message& m, intptr_t& result) {
    std::lock_guard lock(call_mutex);
    if (!alive) return false;
    result = proc(context, m.message, m.wparam, m.lparam);
    return true;
  }
};

using WindowPtr = std::shared_ptr<Window>;

std::mutex g_table_mutex;
std::unordered_map<WindowHandle, WindowPtr> g_table;
WindowHandle g_next_handle = 0x10000;

bool is_owner(const Window& w) { return w.owner == std::this_thread::get_id(); }

WindowPtr window_of(WindowHandle handle) {
  std::lock_guard lock(g_table_mutex);
  auto it = g_table.find(handle);
  return it == g_table.end() ? nullptr : it->second;
}

std::vector<WindowPtr> windows_of_this_thread() {
  std::vector<WindowPtr> mine;
  std::lock_guard lock(g_table_mutex);
  for (const auto& [handle, w] : g_table)
    if (is_owner(*w)) mine.push_back(w);
  std::sort(mine.begin(), mine.end(), [](const WindowPtr& a, const WindowPtr& b) { return a->handle < b->handle; });
  return mine;
}

bool send(Window& w, const Message& m, uint32_t timeout_ms, intptr_t* result) {
  intptr_t answer = 0;
  if (is_owner(w)) {
    if (!w.call(m, answer)) return false;
    if (result) *result = answer;
    return true;
  }
  auto request = std::make_shared<SendRequest>();
  request->msg = m;
  if (m.message == kMsgCopyData && m.lparam) {
    const auto* source = reinterpret_cast<const QuendraCopyData*>(m.lparam);
    const auto* bytes = static_cast<const char*>(source->Data);
    request->payload.assign(bytes, bytes + source->Size);
    request->copy_data = {source->Tag, source->Size, request->payload.data()};
    request->msg.lparam = reinterpret_cast<intptr_t>(&request->copy_data);
  }
  {
    std::lock_guard lock(w.mutex);
    if (tick_count() - w.last_pump > kHungAfterMs) return false;
    w.sends.push_back(request);
  }
  std::unique_lock lock(request->mutex);
  if (!request->done_cv.wait_for(lock, std::chrono::milliseconds(timeout_ms), [&] { return request->done; }))
    return false;  // the owner may still deliver it later; the request keeps its own payload alive
  if (result) *result = request->result;
  return request->ok;
}

// Delivers one pending item of a window: a sent message first, else a posted one, else (when `timers` is
// set) one due timer.
bool pump_one(Window& w, bool timers) {
  std::shared_ptr<SendRequest> sent;
  Message msg{};
  {
    std::lock_guard lock(w.mutex);
    w.last_pump = tick_count();
    if (!w.sends.empty()) {
      sent = std::move(w.sends.front());
      w.sends.pop_front();
    } else if (!w.posts.empty()) {
      msg = w.posts.front();
      w.posts.pop_front();
    } else if (timers) {
      auto due = std::find_if(w.timers.begin(), w.timers.end(),
                              [now = w.last_pump](const Timer& t) { return int32_t(now - t.due) >= 0; });
      if (due == w.timers.end()) return false;
      due->due = w.last_pump + due->interval;
      msg = {kMsgTimer, due->id, 0};
    } else {
      return false;
    }
  }
  intptr_t result = 0;
  if (sent) {
    bool ok = w.call(sent->msg, result);
    sent->finish(ok, result);
    return ok;
  }
  return w.call(msg, result);
}

std::size_t timer_count(Window& w) {
  std::lock_guard lock(w.mutex);
  return w.timers.size();
}

}  // namespace

WindowHandle create_window(WindowProc proc, void* context) {
  if (!proc) throw std::invalid_argument("window procedure missing");
  auto w = std::make_shared<Window>();
  w->proc = proc;
  w->context = context;
  w->last_pump = tick_count();
  std::lock_guard lock(g_table_mutex);
  w->handle = g_next_handle;
  g_next_handle += 4;
  g_table.emplace(w->handle, w);
  return w->handle;
}

void destroy_window(WindowHandle handle) {
  WindowPtr w;
  {
    std::lock_guard lock(g_table_mutex);
    auto it = g_table.find(handle);
    if (it == g_table.end()) return;
    w = std::move(it->second);
    g_table.erase(it);
  }
  {
    std::lock_guard call_lock(w->call_mutex);  // waits for a procedure running on the owner thread
    w->alive = false;
  }
  std::lock_guard lock(w->mutex);
  for (auto& sent : w->sends) sent->finish(false, 0);
  w->sends.clear();
}

bool send_message_timeout(WindowHandle handle, uint32_t message, uintptr_t wparam, intptr_t lparam,
                          uint32_t timeout_ms, intptr_t* result) {
  WindowPtr w = window_of(handle);
  return w && send(*w, {message, wparam, lparam}, timeout_ms, result);
}

bool send_copy_data(WindowHandle window, uintptr_t wparam, uintptr_t tag, const void* data, uint32_t size,
                    uint32_t timeout_ms) {
  QuendraCopyData descriptor{tag, size, const_cast<void*>(data)};
  return send_message_timeout(window, kMsgCopyData, wparam, reinterpret_cast<intptr_t>(&descriptor), timeout_ms);
}

bool post_message(WindowHandle handle, uint32_t message, uintptr_t wparam, intptr_t lparam) {
  WindowPtr w = window_of(handle);
  if (!w) return false;
  std::lock_guard lock(w->mutex);
  w->posts.push_back({message, wparam, lparam});
  return true;
}

bool set_timer(WindowHandle handle, uintptr_t id, uint32_t interval_ms) {
  WindowPtr w = window_of(handle);
  if (!w) return false;
  std::lock_guard lock(w->mutex);
  const Timer timer{id, interval_ms, tick_count() + interval_ms};
  auto it = std::find_if(w->timers.begin(), w->timers.end(), [&](const Timer& t) { return t.id == id; });
  if (it != w->timers.end())
    *it = timer;
  else
    w->timers.push_back(timer);
  return true;
}

bool kill_timer(WindowHandle handle, uintptr_t id) {
  WindowPtr w = window_of(handle);
  if (!w) return false;
  std::lock_guard lock(w->mutex);
  return std::erase_if(w->timers, [&](const Timer& t) { return t.id == id; }) > 0;
}

bool get_window_rect(WindowHandle handle, WindowRect& rect) {
  WindowPtr w = window_of(handle);
  if (!w) return false;
  std::lock_guard lock(w->mutex);
  rect = w->rect;
  return true;
}

bool set_window_rect(WindowHandle handle, const WindowRect& rect) {
  WindowPtr w = window_of(handle);
  if (!w) return false;
  std::lock_guard lock(w->mutex);
  w->rect = rect;
  return true;
}

void pump_messages() {
  // Each due timer fires at most once per pump, so a short interval cannot keep the thread here.
  for (const WindowPtr& w : windows_of_this_thread()) {
    while (pump_one(*w, false)) {
    }
    for (std::size_t n = timer_count(*w); n > 0 && pump_one(*w, true); --n) {
    }
  }
}

}  // namespace quendra::platform
