#include "text/date_template.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <variant>

#include "text/conversion_error.h"
#include "text/ole_date.h"

namespace quendra {
namespace {

using platform::LocalDateTime;
using platform::LocaleInfo;

// An OLE date from a day number and a time of day, written out here rather than taken from the code.
double Ole(double days, int h = 0, int n = 0, int s = 0, int ms = 0) {
  double fraction = (((h * 60.0 + n) * 60.0 + s) * 1000.0 + ms) / 86400000.0;
  return days < 0 ? days - fraction : days + fraction;
}

// Day numbers of the dates the cases use.
constexpr double k1899_12_30 = 0;
constexpr double k1899_12_05 = -25;
constexpr double k1899_06_05 = -208;
constexpr double k2023_06_05 = 45082;
constexpr double k2021_03_05 = 44260;
constexpr double k2021_03_07 = 44262;
constexpr double k2021_08_07 = 44415;
constexpr double k2021_12_01 = 44531;
constexpr double k2021_12_15 = 44545;
constexpr double k2049_12_31 = 54788;
constexpr double k1950_12_31 = 18628;
constexpr double k2024_02_29 = 45351;
constexpr double k2024_06_05 = 45448;

// A fixed locale shaped like Windows' en-US, so these cases do not depend on the platform's data.
LocaleInfo English() {
  LocaleInfo l;
  l.date_separator = "/";
  l.time_separator = ":";
  l.short_date = "M/d/yyyy";
  l.long_date = "dddd, MMMM d, yyyy";
  l.am = "AM";
  l.pm = "PM";
  l.hours_leading_zero = false;
  l.twelve_hour_clock = true;
  l.marker_before_time = false;
  l.short_months = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  l.long_months = {"January", "February", "March",     "April",   "May",      "June",
                   "July",    "August",   "September", "October", "November", "December"};
  l.short_days = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  l.long_days = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
  return l;
}

LocaleInfo DotTimeSeparator() {
  LocaleInfo l = English();
  l.time_separator = std::string(1, '.');  // not a literal: works around a false -Wrestrict of g++ 12
  return l;
}

LocaleInfo NoDesignators() {
  LocaleInfo l = English();
  l.am = "";
  l.pm = "";
  l.twelve_hour_clock = false;
  return l;
}

LocaleInfo MarkerFirst() {
  LocaleInfo l = English();
  l.marker_before_time = true;
  l.hours_leading_zero = true;
  return l;
}

// Thursday 29 February 2024, 13:14:15.678: what "use current date/time" reads.
LocalDateTime Now() {
  LocalDateTime now;
  now.year = 2024;
  now.month = 2;
  now.day_of_week = 5;
  now.day = 29;
  now.hour = 13;
  now.minute = 14;
  now.second = 15;
  now.millisecond = 678;
  return now;
}

struct TemplateCase {
  const char* name;
  std::string tmpl;
  std::string text;
  std::variant<double, std::string> expected;  // the value, or the reason text of the failure
  LocaleInfo (*locale)() = English;
  bool use_date = false;
  bool use_time = false;
};

class DateTemplateTest : public ::testing::TestWithParam<TemplateCase> {};

TEST_P(DateTemplateTest, ReadsAsTheTemplateSays) {
  const TemplateCase& c = GetParam();
  LocaleInfo locale = c.locale();
  if (const double* expected = std::get_if<double>(&c.expected)) {
    double value = DateTimeFromTemplate(c.tmpl, locale, c.text, c.use_date, c.use_time, Now());
    EXPECT_NEAR(value, *expected, 1e-9) << "template " << c.tmpl << " text " << c.text;
  } else {
    try {
      double value = DateTimeFromTemplate(c.tmpl, locale, c.text, c.use_date, c.use_time, Now());
      ADD_FAILURE() << "expected a failure, got " << value;
    } catch (const ConversionError& e) {
      EXPECT_EQ(std::string(e.what()), std::get<std::string>(c.expected));
    }
  }
}

using std::string;

INSTANTIATE_TEST_SUITE_P(
    Templates, DateTemplateTest,
    ::testing::Values(
        TemplateCase{"DayMonthYear", "DD.MM.YYYY", "05.06.2023", Ole(k2023_06_05)},
        TemplateCase{"MissingYearIsDefault", "DD.MM.YYYY", "05.06", Ole(k1899_06_05)},
        TemplateCase{"MissingYearFromToday", "DD.MM.YYYY", "05.06", Ole(k2024_06_05), English, true},
        TemplateCase{"TrailingTimeIgnored", "DD.MM.YYYY", "05.06.2023 12:30", Ole(k2023_06_05)},
        TemplateCase{"SpacesBeforeDigits", "DD.MM.YYYY", " 5. 6.2023", Ole(k2023_06_05)},
        TemplateCase{"SingleLetters", "D.M.YYYY", "5.6.2023", Ole(k2023_06_05)},
        TemplateCase{"LowerCaseTemplateYearPivotLow", "dd-mm-yy", "31-12-49", Ole(k2049_12_31)},
        TemplateCase{"YearPivotHigh", "dd-mm-yy", "31-12-50", Ole(k1950_12_31)},
        TemplateCase{"SingleLetterTime", "H:N:S", "9:5:7", Ole(k1899_12_30, 9, 5, 7)},
        TemplateCase{"NumbersReadAtMostTheirWidth", "HNN", "123", Ole(k1899_12_30, 12, 3)},
        TemplateCase{"TimeWithLocaleSeparator", "HH:NN", "14:05", Ole(k1899_12_30, 14, 5)},
        TemplateCase{"DotIsSeparatorCharacter", "HH.NN", "14.05", Ole(k1899_12_30, 14, 5)},
        TemplateCase{"ColonNeedsLocaleSeparator", "HH:NN", "14.05", string("On format: NN string: .05")},
        TemplateCase{"ColonReadsLocaleDot", "HH:NN", "14.05", Ole(k1899_12_30, 14, 5), DotTimeSeparator},
        TemplateCase{"SlashIsLocaleDateSeparator", "MM/DD/YYYY", "06/05/2023", Ole(k2023_06_05)},
        TemplateCase{"SlashMismatch", "MM/DD/YYYY", "06-05-2023",
                     string("On format: DD/YYYY string: -05-2023")},
        TemplateCase{"Midnight12Am", "H:NN AM/PM", "12:15 AM", Ole(k1899_12_30, 0, 15)},
        TemplateCase{"Noon12Pm", "H:NN AM/PM", "12:15 PM", Ole(k1899_12_30, 12, 15)},
        TemplateCase{"LowerCasePm", "H:NN AM/PM", "1:15 pm", Ole(k1899_12_30, 13, 15)},
        TemplateCase{"PmPastNoonInvalid", "H:NN AM/PM", "13:15 PM",
                     string("Invalid argument to time encode")},
        TemplateCase{"AmPmMismatch", "H:NN AM/PM", "1:15 XM", string("On format:  string: XM")},
        TemplateCase{"ShortDesignator", "H:NN A/P", "1:15 p", Ole(k1899_12_30, 13, 15)},
        TemplateCase{"ShortDesignatorAm", "H:NN A/P", "12:15 a", Ole(k1899_12_30, 0, 15)},
        TemplateCase{"LocaleDesignator", "HH:NN AMPM", "01:15 pm", Ole(k1899_12_30, 13, 15)},
        TemplateCase{"NoLocaleDesignatorsLeavesHour", "AMPMHH:NN", "10:00", Ole(k1899_12_30, 10, 0),
                     NoDesignators},
        TemplateCase{"MinuteFractionOneDigit", "HH:NN:SSS", "10:20:5", Ole(k1899_12_30, 10, 20, 30)},
        TemplateCase{"MinuteFractionTwoDigits", "HH:NN:SSS", "10:20:05", Ole(k1899_12_30, 10, 20, 3)},
        TemplateCase{"MinuteFractionThreeDigits", "HH:NN:SSS", "10:20:500", Ole(k1899_12_30, 10, 20, 30)},
        TemplateCase{"MinuteFractionAlmostWhole", "HH:NN:SSS", "10:20:999", Ole(k1899_12_30, 10, 20, 59)},
        TemplateCase{"Milliseconds", "HH:NN:SS.ZZZ", "10:20:30.123", Ole(k1899_12_30, 10, 20, 30, 123)},
        TemplateCase{"SingleZ", "S Z", "5 7", Ole(k1899_12_30, 0, 0, 5, 7)},
        TemplateCase{"LongMonthIgnoringCase", "DD MMMM YYYY", "7 march 2021", Ole(k2021_03_07)},
        TemplateCase{"ShortMonth", "DD MMM YYYY", "7 MAR 2021", Ole(k2021_03_07)},
        TemplateCase{"DayNamesConsumed", "DDD, DD MMM YYYY", "Sun, 07 Mar 2021", Ole(k2021_03_07)},
        TemplateCase{"DayNameNotCheckedAgainstDate", "DDDD DD.MM.YYYY", "Monday 07.03.2021",
                     Ole(k2021_03_07)},
        TemplateCase{"UnknownDayName", "DDDD DD", "Funday 07", string("On format:  DD string: FUNDAY 07")},
        TemplateCase{"UnknownMonthName", "DD MMM", "07 Mrz", string("On format:  string: MRZ")},
        TemplateCase{"SeparatorMismatch", "DD.MM.YYYY", "5/6/2023",
                     string("On format: MM.YYYY string: /6/2023")},
        TemplateCase{"NoTokenAtStart", "XDD", "05.06", string("On format:  string: 05.06")},
        TemplateCase{"NoTokenUpperCasesText", "XDD", "ab", string("On format:  string: AB")},
        TemplateCase{"RestOfTemplateIgnored", "DD.MM.YYYYQ", "05.06.2023", Ole(k2023_06_05)},
        TemplateCase{"LoneYStopsExpansion", "DD.MM.Y", "05.06.2023", Ole(k1899_06_05)},
        TemplateCase{"ThreeYStopExpansion", "DD.MM.YYY", "05.06.2023", Ole(k1899_06_05)},
        TemplateCase{"TwoZStopExpansion", "SS ZZ", "05 123", Ole(k1899_12_30, 0, 0, 5)},
        TemplateCase{"FiveMStopExpansion", "DD MMMMM", "05 June", Ole(k1899_12_05)},
        TemplateCase{"Day31InThirtyDayMonth", "DD.MM.YYYY", "31.04.2023",
                     string("Invalid argument to date encode")},
        TemplateCase{"YearZero", "DD.MM.YYYY", "01.01.0000", string("Invalid argument to date encode")},
        TemplateCase{"MonthThirteen", "MM", "13", string("Invalid argument to date encode")},
        TemplateCase{"February29NonLeap", "DD.MM.YYYY", "29.02.2023",
                     string("Invalid argument to date encode")},
        TemplateCase{"Hour24", "HH:NN", "24:00", string("Invalid argument to time encode")},
        TemplateCase{"Minute60", "HH:NN", "10:60", string("Invalid argument to time encode")},
        TemplateCase{"SpacesWithoutDigit", "D", "  5", string("'  ' is not a valid integer value")},
        TemplateCase{"EmptyText", "DD", "", string("'' is not a valid integer value")},
        TemplateCase{"LetterForNumber", "DD.MM", "ab.06", string("'' is not a valid integer value")},
        TemplateCase{"UnclosedLiteralRunsToEnd", "DD'x y", "05X Y", Ole(k1899_12_05)},
        TemplateCase{"UnclosedLiteralMismatch", "DD'x y", "05X Z", string("On format:  string: X Z")},
        TemplateCase{"QuotedColon", "HH':'NN", "14:05", Ole(k1899_12_30, 14, 5), DotTimeSeparator},
        TemplateCase{"DoubleQuotedLiteral", "HH\"h\"NN", "14h05", Ole(k1899_12_30, 14, 5)},
        TemplateCase{"OtherQuoteInsideLiteral", "'\"'HH", "\"14", Ole(k1899_12_30, 14)},
        TemplateCase{"DoubledQuoteStaysInLiteral", "'It''s' HH", "it'5 hh", Ole(k1899_12_30, 0, 0, 5)},
        TemplateCase{"QuotesBeforeBlankStayInLiteral", "'a'' 'HH", "a'' 14", Ole(k1899_12_30, 14)},
        TemplateCase{"SeparatorCharacters", "DD;MM#YYYY", "05;06#2023", Ole(k2023_06_05)},
        TemplateCase{"TabSeparator", "DD\tMM\tYYYY", "05\t06\t2023", Ole(k2023_06_05)},
        TemplateCase{"NegativeDateWithTime", "DD.MM.YYYY HH:NN", "05.06.1899 06:00", Ole(k1899_06_05, 6, 0)},
        TemplateCase{"CurrentTimeFillsTime", "DD.MM.YYYY", "05.06.2023", Ole(k2023_06_05, 13, 14, 15, 678),
                     English, false, true},
        TemplateCase{"CurrentDateFillsDate", "HH:NN", "14:05", Ole(k2024_02_29, 14, 5), English, true},
        TemplateCase{"BothCurrentKeepUnreadParts", "HH", "09", Ole(k2024_02_29, 9, 14, 15, 678), English,
                     true, true},
        TemplateCase{"EmptyTemplateIsC", "", "3/7/2021 2:05:09 PM", Ole(k2021_03_07, 14, 5, 9)},
        TemplateCase{"C", "c", "3/7/2021 2:05:09 am", Ole(k2021_03_07, 2, 5, 9)},
        TemplateCase{"ShortDate", "DDDDD", "3/7/2021", Ole(k2021_03_07)},
        TemplateCase{"LongDate", "DDDDDD", "Sunday, March 7, 2021", Ole(k2021_03_07)},
        TemplateCase{"SeventhDStartsNewToken", "DDDDDDD", "Sunday, March 7, 20215", Ole(k2021_03_05)},
        TemplateCase{"ShortTime", "T", "9:45 PM", Ole(k1899_12_30, 21, 45)},
        TemplateCase{"LongTime", "TT", "9:45:30 AM", Ole(k1899_12_30, 9, 45, 30)},
        TemplateCase{"MarkerBeforeTime", "TT", "PM 09:45:30", Ole(k1899_12_30, 21, 45, 30), MarkerFirst},
        TemplateCase{"TwentyFourHourClock", "T", "21:45", Ole(k1899_12_30, 21, 45), NoDesignators}),
    [](const ::testing::TestParamInfo<TemplateCase>& info) { return string(info.param.name); });

TEST(ExpandDateTemplate, InsertsLocalePictures) {
  LocaleInfo en = English();
  struct Case {
    std::string tmpl;
    std::string expected;
  } cases[] = {
      {"", "M/D/YYYY H:NN:SS AMPM"},
      {"C", "M/D/YYYY H:NN:SS AMPM"},
      {"ddddd", "M/D/YYYY"},
      {"DDDDDD", "DDDD, MMMM D, YYYY"},
      {"T", "H:NN AMPM"},
      {"TT", "H:NN:SS AMPM"},
      {"dd.mm.yyyy", "DD.MM.YYYY"},
      {"DD.MM.YYYYQ", "DD.MM.YYYY"},
      {"XDD", ""},
      // The doubled quote is followed by a letter, so it closes the literal and "C" is read as a token.
      {"hh'o''clock'", "HH'O''M/D/YYYY H:NN:SS AMPM"},
      {"hh'o'' o'clock", "HH'O'' "},
      {"'a'' 'hh", "'A'' 'HH"},
      {"DD<MM", "DD"},
  };
  for (const Case& c : cases) EXPECT_EQ(ExpandDateTemplate(c.tmpl, en), c.expected) << c.tmpl;
  EXPECT_EQ(ExpandDateTemplate("T", MarkerFirst()), "AMPM HH:NN");
  EXPECT_EQ(ExpandDateTemplate("TT", NoDesignators()), "H:NN:SS");
}

// Cases that read under a real locale ID: the platform's data (ICU on Linux, GetLocaleInfo on
// Windows) must give the same results.
struct LcidCase {
  const char* name;
  std::int32_t lcid;
  std::string tmpl;
  std::string text;
  double expected;
};

class LcidTemplateTest : public ::testing::TestWithParam<LcidCase> {};

TEST_P(LcidTemplateTest, ReadsUnderTheLocale) {
  const LcidCase& c = GetParam();
  EXPECT_NEAR(DateTimeFromTemplate(c.tmpl, c.lcid, c.text, false, false), c.expected, 1e-9)
      << "template " << c.tmpl << " text " << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Locales, LcidTemplateTest,
    ::testing::Values(
        LcidCase{"EnglishLongMonth", 1033, "DD MMMM YYYY", "7 march 2021", Ole(k2021_03_07)},
        LcidCase{"EnglishShortMonthAndDay", 1033, "DDD, D MMM YYYY", "Sun, 7 Mar 2021", Ole(k2021_03_07)},
        LcidCase{"EnglishLongDay", 1033, "DDDD", "Wednesday", Ole(k1899_12_30)},
        LcidCase{"EnglishShortDate", 1033, "DDDDD", "3/7/2021", Ole(k2021_03_07)},
        LcidCase{"EnglishLongDate", 1033, "DDDDDD", "Sunday, March 7, 2021", Ole(k2021_03_07)},
        LcidCase{"EnglishC", 1033, "C", "3/7/2021 2:05:09 PM", Ole(k2021_03_07, 14, 5, 9)},
        LcidCase{"EnglishTime", 1033, "HH:NN", "14:05", Ole(k1899_12_30, 14, 5)},
        LcidCase{"EnglishDesignator", 1033, "H:NN AMPM", "1:15 pm", Ole(k1899_12_30, 13, 15)},
        LcidCase{"EnglishShortTime", 1033, "T", "9:45 PM", Ole(k1899_12_30, 21, 45)},
        LcidCase{"GermanLongMonth", 1031, "D. MMMM YYYY", "7. M\xE4rz 2021", Ole(k2021_03_07)},
        LcidCase{"GermanShortMonth", 1031, "DD. MMM YYYY", "15. Dez 2021", Ole(k2021_12_15)},
        LcidCase{"GermanLongDay", 1031, "DDDD, DD.MM.YYYY", "Sonntag, 07.03.2021", Ole(k2021_03_07)},
        LcidCase{"GermanShortDate", 1031, "DDDDD", "5.6.2023", Ole(k2023_06_05)},
        LcidCase{"GermanShortDatePadded", 1031, "DDDDD", "05.06.2023", Ole(k2023_06_05)},
        LcidCase{"GermanLongDate", 1031, "DDDDDD", "Sonntag, 7. M\xE4rz 2021", Ole(k2021_03_07)},
        LcidCase{"GermanLongTime", 1031, "TT", "14:05:09", Ole(k1899_12_30, 14, 5, 9)},
        LcidCase{"GermanC", 1031, "C", "07.03.2021 14:05:09", Ole(k2021_03_07, 14, 5, 9)},
        LcidCase{"FrenchLongDay", 1036, "DDDD D MMMM YYYY", "dimanche 7 mars 2021", Ole(k2021_03_07)},
        LcidCase{"FrenchShortDay", 1036, "DDD D MMM YYYY", "dim. 7 mars 2021", Ole(k2021_03_07)},
        LcidCase{"FrenchAccentedMonth", 1036, "D MMMM YYYY", "7 ao\xFBt 2021", Ole(k2021_08_07)},
        LcidCase{"FrenchShortMonthWithDot", 1036, "D MMM YYYY",
                 "1 d\xE9"
                 "c. 2021",
                 Ole(k2021_12_01)},
        LcidCase{"FrenchShortDate", 1036, "DDDDD", "07/03/2021", Ole(k2021_03_07)},
        LcidCase{"FrenchLongDate", 1036, "DDDDDD", "dimanche 7 mars 2021", Ole(k2021_03_07)},
        LcidCase{"FrenchTime", 1036, "TT", "14:05:09", Ole(k1899_12_30, 14, 5, 9)}),
    [](const ::testing::TestParamInfo<LcidCase>& info) { return std::string(info.param.name); });

TEST(DateTimeFromTemplate, UnknownLocaleFallsBackToCurrent) {
  const LocaleInfo current = platform::CurrentLocaleInfo();
  for (std::int32_t lcid : {0, 12345, -1, 0x7FFFFFFF}) {
    const LocaleInfo& used = LocaleDataForLcid(lcid);
    EXPECT_EQ(used.short_date, current.short_date) << lcid;
    EXPECT_EQ(used.long_months, current.long_months) << lcid;
    // Reading with a template that needs no locale data works the same as with any locale.
    EXPECT_NEAR(DateTimeFromTemplate("DD.MM.YYYY", lcid, "05.06.2023", false, false), Ole(k2023_06_05), 1e-9);
  }
}

TEST(DateTimeFromTemplate, UseCurrentReadsTheClock) {
  // The clock may pass midnight between the reads, so the day must be one of the two read around.
  LocalDateTime before = platform::CurrentLocalDateTime();
  double value = DateTimeFromTemplate("HH", 1033, "10", true, false);
  LocalDateTime after = platform::CurrentLocalDateTime();
  double day = std::floor(value);
  EXPECT_NEAR(value - day, 10.0 / 24.0, 1e-9);
  EXPECT_TRUE(day == *EncodeOleDate(before.year, before.month, before.day) ||
              day == *EncodeOleDate(after.year, after.month, after.day))
      << day;
}

}  // namespace
}  // namespace quendra
