// POSIX: locale data from ICU. The LCID becomes an ICU locale name through uloc_getLocaleForLCID;
// the Windows items are derived from that locale's date format patterns and symbols.
#include "platform/locale_info.h"

#include <unicode/udat.h>
#include <unicode/uloc.h>

#include <algorithm>
#include <ctime>
#include <memory>
#include <string_view>

#include "platform/ansi_codepage.h"

namespace quendra::platform {
namespace {

struct DateFormatCloser {
  void operator()(UDateFormat* f) const { udat_close(f); }
};
using DateFormat = std::unique_ptr<UDateFormat, DateFormatCloser>;

DateFormat OpenFormat(const char* locale, UDateFormatStyle time_style, UDateFormatStyle date_style) {
  UErrorCode status = U_ZERO_ERROR;
  DateFormat format(udat_open(time_style, date_style, locale, u"UTC", -1, nullptr, 0, &status));
  if (U_FAILURE(status)) return nullptr;
  return format;
}

std::u16string Pattern(const UDateFormat* format) {
  UChar buffer[256];
  UErrorCode status = U_ZERO_ERROR;
  int32_t n = udat_toPattern(format, false, buffer, 256, &status);
  if (U_FAILURE(status) || n > 256) return {};
  return std::u16string(reinterpret_cast<const char16_t*>(buffer), static_cast<std::size_t>(n));
}

std::string Symbol(const UDateFormat* format, UDateFormatSymbolType type, int32_t index) {
  UChar buffer[128];
  UErrorCode status = U_ZERO_ERROR;
  int32_t n = udat_getSymbols(format, type, index, buffer, 128, &status);
  if (U_FAILURE(status) || n > 128) return {};
  return AnsiCodePage::System().FromUtf16(
      std::u16string_view(reinterpret_cast<const char16_t*>(buffer), static_cast<std::size_t>(n)));
}

bool IsPatternLetter(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// An ICU date pattern as a Windows date picture: "y" -> "yyyy", "EEEE" -> "dddd", "LLL" -> "MMM"...
// Fields Windows pictures have no letter for (era, quarter...) are left out. With `wide_years`, a
// two-digit year becomes four digits: ICU's short formats use "yy" where Windows' own short date
// pictures of the common locales (en-US, de-DE, fr-FR) carry "yyyy".
std::u16string WindowsDatePicture(std::u16string_view pattern, bool wide_years) {
  std::u16string out;
  for (std::size_t i = 0; i < pattern.size();) {
    char16_t c = pattern[i];
    if (c == u'\'') {  // quoted text, '' for an apostrophe: the same convention in both
      std::size_t end = pattern.find(u'\'', i + 1);
      if (end == std::u16string_view::npos) end = pattern.size() - 1;
      out.append(pattern.substr(i, end - i + 1));
      i = end + 1;
      continue;
    }
    if (!IsPatternLetter(c)) {
      out.push_back(c);
      ++i;
      continue;
    }
    std::size_t run = 1;
    while (i + run < pattern.size() && pattern[i + run] == c) ++run;
    i += run;
    switch (c) {
      case u'y':
        out.append(run == 2 && !wide_years ? u"yy" : u"yyyy");
        break;
      case u'M':
      case u'L':
        out.append(std::min<std::size_t>(run, 4), u'M');
        break;
      case u'd':
        out.append(std::min<std::size_t>(run, 2), u'd');
        break;
      case u'E':
      case u'c':
      case u'e':
        out.append(run <= 3 ? u"ddd" : u"dddd");
        break;
      default:
        break;
    }
  }
  return out;
}

LocaleInfo InfoForIcuLocale(const char* locale) {
  LocaleInfo info;
  const AnsiCodePage& cp = AnsiCodePage::System();
  if (DateFormat short_date = OpenFormat(locale, UDAT_NONE, UDAT_SHORT)) {
    std::u16string picture = WindowsDatePicture(Pattern(short_date.get()), true);
    if (!picture.empty()) info.short_date = cp.FromUtf16(picture);
    for (char16_t c : picture) {
      if (!IsPatternLetter(c) && c != u'\'' && c != u' ') {
        info.date_separator = cp.FromUtf16(std::u16string(1, c));
        break;
      }
    }
  }
  if (DateFormat long_date = OpenFormat(locale, UDAT_NONE, UDAT_FULL)) {
    std::u16string picture = WindowsDatePicture(Pattern(long_date.get()), false);
    if (!picture.empty()) info.long_date = cp.FromUtf16(picture);
  }
  DateFormat time = OpenFormat(locale, UDAT_MEDIUM, UDAT_NONE);
  if (!time) return info;
  std::u16string pattern = Pattern(time.get());
  std::size_t hour = pattern.find_first_of(u"hHkK");
  if (hour != std::u16string::npos) {
    std::size_t run = 1;
    while (hour + run < pattern.size() && pattern[hour + run] == pattern[hour]) ++run;
    info.hours_leading_zero = run >= 2;
    info.twelve_hour_clock = pattern[hour] == u'h' || pattern[hour] == u'K';
    // "a" is the AM/PM marker; ICU writes day periods ("B", "b") in its place for some locales (zh-TW).
    std::size_t marker = pattern.find_first_of(u"abB");
    info.marker_before_time = marker != std::u16string::npos && marker < hour;
    std::size_t after = hour + run;
    if (after < pattern.size() && !IsPatternLetter(pattern[after]) && pattern[after] != u'\'')
      info.time_separator = cp.FromUtf16(pattern.substr(after, 1));
  }
  info.am = Symbol(time.get(), UDAT_AM_PMS, 0);
  info.pm = Symbol(time.get(), UDAT_AM_PMS, 1);
  // Windows' month and day names are the nominative (stand-alone) forms; ICU's format forms differ
  // from them in several languages (German "Jan." against "Jan", "So." against "So").
  for (int32_t m = 0; m < 12; ++m) {
    info.short_months[m] = Symbol(time.get(), UDAT_STANDALONE_SHORT_MONTHS, m);
    info.long_months[m] = Symbol(time.get(), UDAT_STANDALONE_MONTHS, m);
  }
  for (int32_t d = 0; d < 7; ++d) {  // ICU numbers the days from Sunday = 1
    info.short_days[d] = Symbol(time.get(), UDAT_STANDALONE_SHORT_WEEKDAYS, d + 1);
    info.long_days[d] = Symbol(time.get(), UDAT_STANDALONE_WEEKDAYS, d + 1);
  }
  return info;
}

}  // namespace

std::optional<LocaleInfo> LocaleInfoForLcid(std::uint32_t lcid) {
  if (lcid == 0) return std::nullopt;  // LANG_NEUTRAL names no locale of its own
  char name[ULOC_FULLNAME_CAPACITY];
  UErrorCode status = U_ZERO_ERROR;
  int32_t n = uloc_getLocaleForLCID(lcid, name, ULOC_FULLNAME_CAPACITY, &status);
  if (U_FAILURE(status) || status == U_STRING_NOT_TERMINATED_WARNING || n <= 0) return std::nullopt;
  // ICU answers for IDs Windows rejects (0, unknown sublanguages, sort IDs), falling back to the
  // language alone; only an ID that maps back to itself is a locale Windows accepts too.
  if (uloc_getLCID(name) != lcid) return std::nullopt;
  return InfoForIcuLocale(name);
}

LocaleInfo CurrentLocaleInfo() {
  return InfoForIcuLocale(uloc_getDefault());
}

LocalDateTime CurrentLocalDateTime() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  std::tm local{};
  localtime_r(&now.tv_sec, &local);
  LocalDateTime result;
  result.year = static_cast<std::uint16_t>(local.tm_year + 1900);
  result.month = static_cast<std::uint16_t>(local.tm_mon + 1);
  result.day_of_week = static_cast<std::uint16_t>(local.tm_wday + 1);
  result.day = static_cast<std::uint16_t>(local.tm_mday);
  result.hour = static_cast<std::uint16_t>(local.tm_hour);
  result.minute = static_cast<std::uint16_t>(local.tm_min);
  // A leap second would make an invalid time of day.
  result.second = static_cast<std::uint16_t>(local.tm_sec > 59 ? 59 : local.tm_sec);
  result.millisecond = static_cast<std::uint16_t>(now.tv_nsec / 1000000);
  return result;
}

}  // namespace quendra::platform
