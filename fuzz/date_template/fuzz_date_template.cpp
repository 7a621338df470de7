// Fuzzes the date and time template reader: the first byte picks a locale and the use-current
// flags, the rest is the template, a "\n", and the text. Any failure other than ConversionError, or
// a value outside the OLE date range, is a bug.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "text/conversion_error.h"
#include "text/date_template.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  static constexpr std::int32_t kLcids[] = {1033, 1031, 1036, 2057, 1049, 1041, 0, 12345};
  const std::uint8_t mode = data[0];
  std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);
  std::size_t split = input.find('\n');
  std::string_view tmpl = input.substr(0, split);
  std::string_view text = split == std::string_view::npos ? std::string_view() : input.substr(split + 1);
  quendra::platform::LocalDateTime now;  // fixed, so a crash replays
  now.year = 2024;
  now.month = 2;
  now.day = 29;
  now.hour = 23;
  now.minute = 59;
  now.second = 59;
  now.millisecond = 999;
  const auto& locale = quendra::LocaleDataForLcid(kLcids[mode & 7]);
  try {
    double value = quendra::DateTimeFromTemplate(tmpl, locale, text, (mode & 8) != 0, (mode & 16) != 0, now);
    // 0001-01-01 to the end of 9999-12-31.
    if (!std::isfinite(value) || value < -693594.0 || value > 2958466.0) std::abort();
  } catch (const quendra::ConversionError&) {
  }
  (void)quendra::ExpandDateTemplate(tmpl, locale);
  return 0;
}
