// Windows and messages: the channel through which the plug-in talks to host windows (log lines, "lines
// waiting" notices) and receives its own timer ticks.
//
// Each window belongs to the thread that created it. Its procedure runs on that thread only: for messages the
// thread sends to its own windows at once, otherwise when the owner thread pumps (pump_messages). A message
// sent from another thread waits for the owner to pump, at most the given timeout.
#pragma once

#include "platform/user_api.h"

#include <cstdint>

namespace quendra::platform {

using WindowHandle = uintptr_t;  // 0 is no window

using WindowProc = intptr_t (*)(void* context, uint32_t message, uintptr_t wparam, intptr_t lparam);

constexpr uint32_t kMsgCopyData = 0x004A;
constexpr uint32_t kMsgTimer = 0x0113;  // wparam: the timer's id

struct WindowRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// Creates a hidden message window owned by the calling thread; `proc` receives its messages with `context`.
// Throws std::runtime_error on failure.
QUENDRA_USER_API WindowHandle create_window(WindowProc proc, void* context);
// May be called from any thread. When it returns the procedure is not running and is never called again;
// pending sends to the window fail.
QUENDRA_USER_API void destroy_window(WindowHandle window);

// Sends and waits for the window's answer, at most `timeout_ms`; gives up at once when the owner thread does
// not respond (hung or gone). Returns false on timeout or failure.
QUENDRA_USER_API bool send_message_timeout(WindowHandle window, uint32_t message, uintptr_t wparam, intptr_t lparam,
                          uint32_t timeout_ms, intptr_t* result = nullptr);

// Sends a block of bytes with the copy-data message: the receiver gets a QuendraCopyData descriptor (tag, size,
// address) valid for the duration of its procedure.
QUENDRA_USER_API bool send_copy_data(WindowHandle window, uintptr_t wparam, uintptr_t tag, const void* data, uint32_t size,
                    uint32_t timeout_ms);

// Queues a message for the owner thread and returns at once.
QUENDRA_USER_API bool post_message(WindowHandle window, uint32_t message, uintptr_t wparam, intptr_t lparam);

// Window timers: kMsgTimer with `id` every `interval_ms` while the owner thread pumps.
QUENDRA_USER_API bool set_timer(WindowHandle window, uintptr_t id, uint32_t interval_ms);
QUENDRA_USER_API bool kill_timer(WindowHandle window, uintptr_t id);

// Delivers the calling thread's pending messages (sent, posted, due timers) and returns.
QUENDRA_USER_API void pump_messages();

// Screen rectangle of a window; false when the window is unknown. Windows made by create_window report
// the rectangle last given to set_window_rect (all zero at first).
QUENDRA_USER_API bool get_window_rect(WindowHandle window, WindowRect& rect);
QUENDRA_USER_API bool set_window_rect(WindowHandle window, const WindowRect& rect);

}  // namespace quendra::platform
