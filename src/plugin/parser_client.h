// Per-connection state of a data source: each client (a ClientID within a DataSourceID) has its own bounded
// stream buffer and the state of the block being assembled in it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "common/byte_queue.h"
#include "common/thread_containers.h"
#include "plugin/call_record.h"

namespace quendra {

class TzelPlugin;

// Base of objects that work for one data source or client of a module instance.
class TzelPluginMulti {
 public:
  explicit TzelPluginMulti(int32_t value) : value_(value) {}
  virtual ~TzelPluginMulti() = default;
  int32_t value() const { return value_; }

 private:
  int32_t value_;
};

constexpr std::size_t kClientBufferSize = 16384;
constexpr std::size_t kClientDropQuantum = 64;

class TCustomParserClient : public TzelPluginMulti {
 public:
  TCustomParserClient(TzelPlugin* plugin, const TPluginCallRec& rec);

  TzelPlugin* Plugin;
  TFIFOStream Stream{kClientBufferSize, kClientDropQuantum};
  int32_t ClientID;
  int32_t DataSourceID;
  std::string FullName;   // the record's data source name, at most 50 characters
  std::string ShortName;  // FullName before its last "." or ":"; empty without either
  uint32_t ActivityStamp = 0;
  uint32_t BlockStartStamp = 0;  // when the start tag of the open block was found
  bool Closing = false;
  bool WaitingForStart = true;
  std::string StartSign, EndSign;
  std::string ResultText;  // the accepted blocks of the current packet
  std::string BlockText;   // the block being filtered and parsed, kept to reuse its room

  // Appends to the stream; returns how many bytes the full buffer dropped to make room.
  std::size_t AppendText(std::string_view text);
  void RestartBlock();
  std::ptrdiff_t Search(std::string_view sign, std::size_t from = 0) { return Stream.Search(sign, from); }
  void SetClosing(bool value);
};

// The name before the last "." or ":" ("10.0.0.5:502" gives "10.0.0.5"); empty when there is neither.
std::string ShortNameOf(std::string_view full_name);

// An owning list of clients under a readers/writer lock.
class TCustomParserClientList : public TThreadObjectList<std::unique_ptr<TCustomParserClient>> {
 public:
  // The client of the record's ClientID, created on its first packet.
  TCustomParserClient* FindOrCreateClient(const TPluginCallRec& rec, TzelPlugin* plugin);
};

}  // namespace quendra
