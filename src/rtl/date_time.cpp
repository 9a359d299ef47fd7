#include "rtl/date_time.h"

#include <chrono>
#include <cmath>
#include <ctime>

#include "rtl/errors.h"

namespace trel {

namespace {

constexpr int64_t kMsPerDay = 86400000;
// Day numbers count from 1 January of year 1 (day 1, a Monday); 30 December 1899 is day 693594.
constexpr int64_t kDayOfZeroDate = 693594;
constexpr int64_t kLastDay = 3652059;  // 31 December 9999

constexpr int kDaysBeforeMonth[2][13] = {
    {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365},
    {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335, 366}};

int64_t daysBeforeYear(int64_t year) {
  int64_t y = year - 1;
  return 365 * y + y / 4 - y / 100 + y / 400;
}

}  // namespace

bool isLeapYear(int64_t year) {
  return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int daysInMonth(int year, int month) {
  const int* table = kDaysBeforeMonth[isLeapYear(year) ? 1 : 0];
  return table[month] - table[month - 1];
}

bool tryEncodeDate(int64_t year, int64_t month, int64_t day, double& value) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
  if (day > daysInMonth(static_cast<int>(year), static_cast<int>(month))) return false;
  int64_t dayNumber =
      daysBeforeYear(year) + kDaysBeforeMonth[isLeapYear(year) ? 1 : 0][month - 1] + day;
  value = static_cast<double>(dayNumber - kDayOfZeroDate);
  return true;
}

bool tryEncodeTime(int64_t hour, int64_t minute, int64_t second, int64_t millisecond,
                   double& value) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
      millisecond < 0 || millisecond > 999)
    return false;
  value = static_cast<double>(((hour * 60 + minute) * 60 + second) * 1000 + millisecond) /
          static_cast<double>(kMsPerDay);
  return true;
}

bool tryDecodeDateTime(double value, DateTimeParts& p) {
  if (!std::isfinite(value) || value < -kDayOfZeroDate || value > kLastDay - kDayOfZeroDate + 1)
    return false;
  // Milliseconds are rounded on the whole value, so 23:59:59.9999 is the next midnight.
  int64_t ms = std::llround(value * static_cast<double>(kMsPerDay));
  int64_t dayNumber = kDayOfZeroDate + ms / kMsPerDay;
  int64_t time = (ms < 0 ? -ms : ms) % kMsPerDay;
  if (dayNumber < 1 || dayNumber > kLastDay) return false;

  int64_t year = dayNumber * 400 / 146097 + 1;
  while (daysBeforeYear(year) >= dayNumber) --year;
  while (daysBeforeYear(year + 1) < dayNumber) ++year;
  int dayOfYear = static_cast<int>(dayNumber - daysBeforeYear(year));  // 1-based
  const int* table = kDaysBeforeMonth[isLeapYear(year) ? 1 : 0];
  int month = 1;
  while (table[month] < dayOfYear) ++month;
  p.year = static_cast<int>(year);
  p.month = month;
  p.day = dayOfYear - table[month - 1];
  p.dayOfWeek = static_cast<int>((dayNumber - 1) % 7) + 1;
  p.hour = static_cast<int>(time / 3600000);
  p.minute = static_cast<int>(time / 60000 % 60);
  p.second = static_cast<int>(time / 1000 % 60);
  p.millisecond = static_cast<int>(time % 1000);
  return true;
}

DateTimeParts decodeDateTime(double value) {
  DateTimeParts p;
  if (!tryDecodeDateTime(value, p)) throw Error("Date and time value out of range");
  return p;
}

double encodeDate(int64_t year, int64_t month, int64_t day) {
  double v;
  if (!tryEncodeDate(year, month, day, v)) throw Error("Invalid argument to date encode");
  return v;
}

double nowDateTime() {
  auto now = std::chrono::system_clock::now();
  std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm local{};
  localtime_r(&seconds, &local);
  double date = 0, time = 0;
  tryEncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, date);
  tryEncodeTime(local.tm_hour, local.tm_min, local.tm_sec > 59 ? 59 : local.tm_sec, ms < 0 ? 0 : ms,
                time);
  return date + time;
}

}  // namespace trel
