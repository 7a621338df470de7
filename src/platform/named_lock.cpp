#include "platform/named_lock.h"

#include <cstdint>
#include <cstdio>

namespace quendra::platform {

std::string bounded_lock_name(std::string_view name) {
  constexpr std::size_t kMax = 120;
  if (name.size() <= kMax) return std::string(name);
  // FNV-1a over the whole name keeps long names that share a prefix apart.
  uint64_t hash = 1469598103934665603ull;
  for (char c : name) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ull;
  }
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
  return std::string(name.substr(0, kMax - 17)) + "_" + hex;
}

}  // namespace quendra::platform
