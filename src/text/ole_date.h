// OLE automation dates: a double counting days since 30 December 1899, the fraction being the time of
// day. Dates before the base count down, and their time fraction counts away from zero too
// (-1.25 is 29 December 1899, 06:00).
#pragma once

#include <cstdint>
#include <optional>

namespace quendra {

// Proleptic Gregorian calendar, years 1..9999; nothing for a day that does not exist.
std::optional<double> EncodeOleDate(int year, int month, int day);
// 0..23, 0..59, 0..59, 0..999; nothing for a field out of range. The result is a fraction of a day.
std::optional<double> EncodeOleTime(int hour, int minute, int second, int millisecond);
// A date value and a time fraction as one date-time value.
double CombineOleDateTime(double date, double time);

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

}  // namespace quendra
