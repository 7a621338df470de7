#include "plugin/call_record.h"

#include <cstring>

namespace quendra {

bool IsValidCallRec(const TPluginCallRec* rec) noexcept {
  return rec && rec->RecSize == kCallRecSize && (rec->Params || rec->ReleaseFlag == QUENDRA_RELEASE_FLAG);
}

std::string_view DataSourceNameOf(const TPluginCallRec& rec) noexcept {
  const char* name = rec.DataSourceName;
  const void* end = std::memchr(name, 0, sizeof rec.DataSourceName);
  return {name, end ? static_cast<std::size_t>(static_cast<const char*>(end) - name) : sizeof rec.DataSourceName};
}

}  // namespace quendra
