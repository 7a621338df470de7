#include "plugin/parser_client.h"

#include "platform/clock.h"

namespace quendra {

std::string ShortNameOf(std::string_view full_name) {
  const std::size_t cut = full_name.find_last_of(".:");
  return cut == std::string_view::npos ? std::string() : std::string(full_name.substr(0, cut));
}

TCustomParserClient::TCustomParserClient(TzelPlugin* plugin, const TPluginCallRec& rec)
    : TzelPluginMulti(0),
      Plugin(plugin),
      ClientID(rec.ClientID),
      DataSourceID(rec.DataSourceID),
      FullName(DataSourceNameOf(rec)),
      ShortName(ShortNameOf(FullName)) {}

std::size_t TCustomParserClient::AppendText(std::string_view text) {
  std::size_t dropped = text.empty() ? 0 : Stream.Write(text.data(), text.size());
  if (!Closing) ActivityStamp = platform::tick_count();
  return dropped;
}

void TCustomParserClient::RestartBlock() {
  WaitingForStart = true;
  StartSign.clear();
  EndSign.clear();
  ActivityStamp = platform::tick_count();
}

void TCustomParserClient::SetClosing(bool value) {
  if (value == Closing) return;
  Closing = value;
  if (value) ActivityStamp = platform::tick_count();
}

TCustomParserClient* TCustomParserClientList::FindOrCreateClient(const TPluginCallRec& rec, TzelPlugin* plugin) {
  auto find = [&](const List& clients) -> TCustomParserClient* {
    for (const auto& client : clients)
      if (client->ClientID == rec.ClientID) return client.get();
    return nullptr;
  };
  ListReadLock read(*this);
  if (TCustomParserClient* client = find(read.list())) return client;
  ListWriteLock write(*this);
  // Another thread may have added it while the lock was promoted.
  if (TCustomParserClient* client = find(write.list())) return client;
  write.list().push_back(std::make_unique<TCustomParserClient>(plugin, rec));
  return write.list().back().get();
}

}  // namespace quendra
