#include "text/ole_date.h"

namespace quendra {
namespace {

// Days from 0001-01-01 to the given date, counting that day as 0.
long long DaysFromCivil(int year, int month, int day) {
  long long y = year - 1;
  static constexpr int kBeforeMonth[] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
  long long days = y * 365 + y / 4 - y / 100 + y / 400 + kBeforeMonth[month - 1] + day - 1;
  if (month > 2 && IsLeapYear(year)) ++days;
  return days;
}

}  // namespace

bool IsLeapYear(int year) {
  return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

std::optional<double> EncodeOleDate(int year, int month, int day) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
    return std::nullopt;
  static const long long kBase = DaysFromCivil(1899, 12, 30);
  return static_cast<double>(DaysFromCivil(year, month, day) - kBase);
}

std::optional<double> EncodeOleTime(int hour, int minute, int second, int millisecond) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || millisecond < 0 ||
      millisecond > 999)
    return std::nullopt;
  long long ms = ((hour * 60LL + minute) * 60 + second) * 1000 + millisecond;
  return static_cast<double>(ms) / 86400000.0;
}

double CombineOleDateTime(double date, double time) {
  return date < 0 ? date - time : date + time;
}

}  // namespace quendra
