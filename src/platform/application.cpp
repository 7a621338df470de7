#include "platform/application.h"

#include <atomic>

namespace quendra::platform {

namespace {
std::atomic<bool> g_terminating{false};
}

bool app_terminating() { return g_terminating.load(std::memory_order_acquire); }
void set_app_terminating(bool terminating) { g_terminating.store(terminating, std::memory_order_release); }

}  // namespace quendra::platform
