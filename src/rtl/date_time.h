// Date-time values: days since 30 December 1899 with the time of day as the fraction, for the
// years 1 to 9999 of the Gregorian calendar (also before its introduction). A negative value
// counts whole days back and its fraction is the time of that day (-1.25 is 29 December 1899,
// 06:00).
#pragma once

#include <cstdint>
#include <string>

namespace trel {

struct DateTimeParts {
  int year = 1899, month = 12, day = 30;
  int hour = 0, minute = 0, second = 0, millisecond = 0;
  int dayOfWeek = 6;  // 1 Monday ... 7 Sunday
};

bool isLeapYear(int64_t year);
int daysInMonth(int year, int month);

// False when the date does not exist or lies outside the years 1 to 9999.
bool tryEncodeDate(int64_t year, int64_t month, int64_t day, double& value);
// False for a time of day outside 0:00:00.000 to 23:59:59.999.
bool tryEncodeTime(int64_t hour, int64_t minute, int64_t second, int64_t millisecond,
                   double& value);
// False when the value lies outside the years 1 to 9999 (or is not finite).
bool tryDecodeDateTime(double value, DateTimeParts& parts);

// Throws trel::Error with the texts below when the value or date does not fit.
DateTimeParts decodeDateTime(double value);
double encodeDate(int64_t year, int64_t month, int64_t day);
// "Invalid argument to date encode", "Date and time value out of range"

// The current local date and time.
double nowDateTime();

}  // namespace trel
