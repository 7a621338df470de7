#include <sys/time.h>

#include <ctime>

#include "platform/clock.h"

namespace quendra::platform {

double local_now_ole_date() {
  timeval now{};
  gettimeofday(&now, nullptr);
  // The zone's offset can change only from one second to another; asking the C library takes its global
  // time-zone lock, which every data source's thread would queue for at every block.
  thread_local struct {
    time_t second = -1;
    long offset = 0;
  } zone;
  if (now.tv_sec != zone.second) {
    std::tm local{};
    localtime_r(&now.tv_sec, &local);
    zone.second = now.tv_sec;
    zone.offset = local.tm_gmtoff;
  }
  // Days from 1899-12-30 to 1970-01-01 are 25569; local seconds include the zone's offset.
  const double local_seconds = static_cast<double>(now.tv_sec) + static_cast<double>(zone.offset) +
                               static_cast<double>(now.tv_usec / 1000) / 1000.0;
  return 25569.0 + local_seconds / 86400.0;
}

}  // namespace quendra::platform
