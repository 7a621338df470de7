#include <windows.h>
#include <oleauto.h>

#include "platform/clock.h"

namespace quendra::platform {

double local_now_ole_date() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  const WORD milliseconds = now.wMilliseconds;
  now.wMilliseconds = 0;  // SystemTimeToVariantTime ignores them; add them ourselves
  DATE date = 0;
  SystemTimeToVariantTime(&now, &date);
  return date + milliseconds / 86400000.0;
}

}  // namespace quendra::platform
