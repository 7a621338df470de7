#include "quendra/data_source_container.h"

#include <algorithm>

#include "platform/clock.h"

namespace quendra {

namespace {
constexpr uintptr_t kCheckClientsTimerId = 1;
}

TSerialPortDM::TSerialPortDM(TzelPlugin* owner, int32_t id, std::string name, std::string full_name)
    : FOwner(owner),
      FData(TzelRowsParamsList::create()),
      DataSourceID(id),
      DataSourceName(std::move(name)),
      DataSourceFullName(std::move(full_name)),
      BlockValues(TzelParamsList::create()) {
  timer_window_ = platform::create_window(&TSerialPortDM::timer_proc, this);
  platform::set_timer(timer_window_, kCheckClientsTimerId, kCheckClientsIntervalMs);
}

TSerialPortDM::~TSerialPortDM() {
  check_clients_enabled_.store(false);
  // After this no tick can reach the container, whichever thread owns the timer.
  platform::destroy_window(timer_window_);
}

intptr_t TSerialPortDM::timer_proc(void* context, uint32_t message, uintptr_t wparam, intptr_t) {
  if (message == platform::kMsgTimer && wparam == kCheckClientsTimerId) {
    try {
      static_cast<TSerialPortDM*>(context)->CheckClientsTimer();
    } catch (...) {
      // A failed check is tried again at the next tick.
    }
  }
  return 0;
}

void TSerialPortDM::EnableCheckIfShared() {
  SetCheckClientsEnabled(Clients.Count() > 1);
}

void TSerialPortDM::CheckClientsTimer() {
  if (!check_clients_enabled_.exchange(false)) return;
  const uint32_t now = platform::tick_count();
  {
    ListReadLock read(Clients);
    for (std::size_t i = read.list().size(); i-- > 0;) {
      TCustomParserClient* client = read.list()[i].get();
      if (now - client->ActivityStamp <= kClientIdleLimitMs) continue;
      ListWriteLock write(Clients);
      // Only this timer removes clients, but a packet may have added one while the lock was promoted.
      auto& clients = write.list();
      auto it =
          std::find_if(clients.begin(), clients.end(), [&](const auto& c) { return c.get() == client; });
      if (it == clients.end()) continue;
      client->SetClosing(true);
      clients.erase(it);
    }
  }
  EnableCheckIfShared();
}

}  // namespace quendra
