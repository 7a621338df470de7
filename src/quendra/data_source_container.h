// TSerialPortDM: one per data source of the host configuration. It holds the data source's parser clients and
// the rows of the packet being processed, and expires clients idle for more than a minute while it has more
// than one.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "common/params_list.h"
#include "platform/locale_info.h"
#include "platform/window.h"
#include "plugin/parser_client.h"
#include "quendra/node_rules.h"
#include "xml/xml_tree.h"

namespace quendra {

class TzelPlugin;

constexpr uint32_t kCheckClientsIntervalMs = 300;
constexpr uint32_t kClientIdleLimitMs = 60000;

class TSerialPortDM {
 public:
  // The client check timer belongs to the calling thread: it ticks while that thread pumps messages.
  TSerialPortDM(TzelPlugin* owner, int32_t id, std::string name, std::string full_name);
  ~TSerialPortDM();
  TSerialPortDM(const TSerialPortDM&) = delete;
  TSerialPortDM& operator=(const TSerialPortDM&) = delete;

  TzelPlugin* const FOwner;
  std::unique_ptr<TzelRowsParamsList, ListDeleter<TzelRowsParamsList>> FData;
  TCustomParserClientList Clients;
  const int32_t DataSourceID;
  const std::string DataSourceName;
  const std::string DataSourceFullName;
  // Reused for every block of this data source (the client list lock keeps its packets apart), so parsing
  // allocates only when a block is larger than any before.
  TtolXMLTree Tree;
  // The block's own values (the standard ones) that every row of the block starts with; reused.
  std::unique_ptr<TzelParamsList, ListDeleter<TzelParamsList>> BlockValues;
  // The locale of the configuration and its date and time templates as last expanded (date, time, both).
  struct DateTemplates {
    int32_t LocaleId = 0;
    const platform::LocaleInfo* Locale = nullptr;
    std::string Sources[3];
    std::string Expanded[3];
  } Templates;
  // The value names of this data source's walks, looked up without a lock (packets of one source take turns).
  rules::WalkNameCache WalkNames;

  // The timer is switched by any thread; the tick itself only does work while it is enabled.
  void SetCheckClientsEnabled(bool enabled) { check_clients_enabled_.store(enabled); }
  bool CheckClientsEnabled() const { return check_clients_enabled_.load(); }
  // Enables the check only when there is more than one client.
  void EnableCheckIfShared();
  // One tick: removes the clients idle for more than a minute.
  void CheckClientsTimer();

 private:
  static intptr_t timer_proc(void* context, uint32_t message, uintptr_t wparam, intptr_t lparam);

  std::atomic<bool> check_clients_enabled_{false};
  platform::WindowHandle timer_window_ = 0;
};

}  // namespace quendra
