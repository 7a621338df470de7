// Reading date and time texts with a user template such as "DD.MM.YYYY" under a locale given by its
// Windows locale ID. The template language:
//   D DD day, DDD DDDD day name (read, not used), DDDDD short date, DDDDDD long date, C short date +
//   long time; M MM month, MMM MMMM month name; YY year with pivot 50, YYYY year; H HH hour, N NN
//   minute, S SS second, SSS fraction of a minute; Z ZZZ millisecond; T short time, TT long time;
//   AM/PM, A/P, AMPM (the locale's designators); "/" and ":" the locale's separators; quoted text in
//   ' or "; the separators tab, LF, CR, space and .,`~!@#$%^&*()_-=+\|]}[{?; stand for themselves.
// Letters are case-insensitive. Reading stops without error at the end of either the template or
// the text, so parts missing from the text keep their defaults.
//
// Thread-safe: the locale data is looked up per call (and cached per ID); nothing process-wide or
// thread-wide is changed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/locale_info.h"

namespace quendra {

// Reads `text` with `tmpl` (empty: "C") under the locale `lcid` (an ID the platform does not know
// falls back to the calling thread's locale) and returns an OLE automation date. Missing date parts
// are 30 December 1899, or today with `use_current_date`; missing time parts are 00:00:00.000, or the
// current time with `use_current_time`. Throws ConversionError with the reason text.
double DateTimeFromTemplate(std::string_view tmpl, std::int32_t lcid, std::string_view text,
                            bool use_current_date, bool use_current_time);

// The same with the locale data and the current time given, for tests and callers that hold them.
double DateTimeFromTemplate(std::string_view tmpl, const platform::LocaleInfo& locale, std::string_view text,
                            bool use_current_date, bool use_current_time, const platform::LocalDateTime& now);

// The same with the template expanded already (ExpandDateTemplate), for callers that read many values with
// one template.
double DateTimeFromExpandedTemplate(std::string_view expanded, const platform::LocaleInfo& locale,
                                    std::string_view text, bool use_current_date, bool use_current_time,
                                    const platform::LocalDateTime& now);

// The first pass alone: the template upper-cased with C, DDDDD, DDDDDD, T and TT replaced by the
// locale's pictures, up to the first character that starts no token.
std::string ExpandDateTemplate(std::string_view tmpl, const platform::LocaleInfo& locale);

// The locale data a call with `lcid` uses: that locale's, or the current one's for an unknown ID.
const platform::LocaleInfo& LocaleDataForLcid(std::int32_t lcid);

}  // namespace quendra
