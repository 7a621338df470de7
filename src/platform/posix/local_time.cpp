#include <sys/time.h>

#include <ctime>

#include "platform/clock.h"

namespace quendra::platform {

double local_now_ole_date() {
  timeval now{};
  gettimeofday(&now, nullptr);
  std::tm local{};
  localtime_r(&now.tv_sec, &local);
  // Days from 1899-12-30 to 1970-01-01 are 25569; local seconds include the zone's offset.
  const double local_seconds = static_cast<double>(now.tv_sec) + static_cast<double>(local.tm_gmtoff) +
                               static_cast<double>(now.tv_usec / 1000) / 1000.0;
  return 25569.0 + local_seconds / 86400.0;
}

}  // namespace quendra::platform
