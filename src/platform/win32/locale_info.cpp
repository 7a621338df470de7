// Win32: locale data straight from GetLocaleInfoW, converted to the ANSI code page.
#include "platform/locale_info.h"

#include <windows.h>

#include "platform/ansi_codepage.h"

namespace quendra::platform {
namespace {

// Keeps `target` (the documented default) when the locale does not supply the item.
void Read(LCID lcid, LCTYPE type, std::string& target) {
  WCHAR buffer[256];
  int n = GetLocaleInfoW(lcid, type, buffer, 256);
  if (n <= 0) return;
  target = AnsiCodePage::System().FromUtf16(
      std::u16string_view(reinterpret_cast<const char16_t*>(buffer), static_cast<std::size_t>(n - 1)));
}

bool ReadFlag(LCID lcid, LCTYPE type, bool fallback) {
  std::string value;
  Read(lcid, type, value);
  return value.empty() ? fallback : value == "1";
}

LocaleInfo InfoFor(LCID lcid) {
  LocaleInfo info;
  Read(lcid, LOCALE_SDATE, info.date_separator);
  Read(lcid, LOCALE_STIME, info.time_separator);
  Read(lcid, LOCALE_SSHORTDATE, info.short_date);
  Read(lcid, LOCALE_SLONGDATE, info.long_date);
  Read(lcid, LOCALE_S1159, info.am);
  Read(lcid, LOCALE_S2359, info.pm);
  info.hours_leading_zero = ReadFlag(lcid, LOCALE_ITLZERO, false);
  info.twelve_hour_clock = !ReadFlag(lcid, LOCALE_ITIME, false);
  info.marker_before_time = ReadFlag(lcid, LOCALE_ITIMEMARKPOSN, false);
  for (int m = 0; m < 12; ++m) {
    Read(lcid, LOCALE_SABBREVMONTHNAME1 + m, info.short_months[m]);
    Read(lcid, LOCALE_SMONTHNAME1 + m, info.long_months[m]);
  }
  // Windows numbers the days from Monday = 1; the template reader counts from Sunday.
  for (int d = 0; d < 7; ++d) {
    int windows_day = (d + 6) % 7;
    Read(lcid, LOCALE_SABBREVDAYNAME1 + windows_day, info.short_days[d]);
    Read(lcid, LOCALE_SDAYNAME1 + windows_day, info.long_days[d]);
  }
  return info;
}

}  // namespace

std::optional<LocaleInfo> LocaleInfoForLcid(std::uint32_t lcid) {
  if (!IsValidLocale(lcid, LCID_SUPPORTED)) return std::nullopt;
  return InfoFor(lcid);
}

LocaleInfo CurrentLocaleInfo() {
  return InfoFor(GetThreadLocale());
}

LocalDateTime CurrentLocalDateTime() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  LocalDateTime result;
  result.year = now.wYear;
  result.month = now.wMonth;
  result.day_of_week = static_cast<std::uint16_t>(now.wDayOfWeek + 1);
  result.day = now.wDay;
  result.hour = now.wHour;
  result.minute = now.wMinute;
  result.second = now.wSecond;
  result.millisecond = now.wMilliseconds;
  return result;
}

}  // namespace quendra::platform
