// Locale data by Windows locale ID (LCID), for reading dates and times under a user-chosen locale.
//
// The data is returned by value and belongs to the caller: nothing here changes the calling thread's
// locale or any process-wide setting, so any thread may ask at any time. Texts are in the system's ANSI
// code page (AnsiCodePage::System()), as everything inside the plug-in is. Win32 reads GetLocaleInfo;
// POSIX maps the LCID to an ICU locale with uloc_getLocaleForLCID and derives the same items from it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace quendra::platform {

// The items a date and time template may refer to, named after the Windows locale information types.
struct LocaleInfo {
  std::string date_separator = "/";          // LOCALE_SDATE
  std::string time_separator = ":";          // LOCALE_STIME
  std::string short_date = "m/d/yy";         // LOCALE_SSHORTDATE, a Windows date picture
  std::string long_date = "mmmm d, yyyy";    // LOCALE_SLONGDATE
  std::string am = "am";                     // LOCALE_S1159; may be empty
  std::string pm = "pm";                     // LOCALE_S2359; may be empty
  bool hours_leading_zero = false;           // LOCALE_ITLZERO = 1
  bool twelve_hour_clock = true;             // LOCALE_ITIME = 0
  bool marker_before_time = false;           // LOCALE_ITIMEMARKPOSN = 1
  std::array<std::string, 12> short_months;  // LOCALE_SABBREVMONTHNAME1..12
  std::array<std::string, 12> long_months;   // LOCALE_SMONTHNAME1..12
  std::array<std::string, 7> short_days;     // Sunday first: LOCALE_SABBREVDAYNAME7, then 1..6
  std::array<std::string, 7> long_days;      // Sunday first: LOCALE_SDAYNAME7, then 1..6
};

// The data of `lcid`, or nothing when the platform does not accept the ID as a locale.
std::optional<LocaleInfo> LocaleInfoForLcid(std::uint32_t lcid);

// The data of the calling thread's current locale; what an unknown LCID falls back to.
LocaleInfo CurrentLocaleInfo();

// Local wall-clock date and time, as the date and time templates need for "use current date/time".
struct LocalDateTime {
  std::uint16_t year = 1899, month = 12, day_of_week = 6, day = 30;
  std::uint16_t hour = 0, minute = 0, second = 0, millisecond = 0;
};
LocalDateTime CurrentLocalDateTime();

}  // namespace quendra::platform
