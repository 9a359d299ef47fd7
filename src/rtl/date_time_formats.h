// The process's date and time conventions: the short date order and separators, the time
// format, the am/pm texts and the names of months and days. They are taken from the environment's
// time locale (LC_ALL, LC_TIME, LANG) when first needed; tests may set them.
#pragma once

#include <array>
#include <string>

namespace trel {

struct DateTimeFormats {
  std::string shortDateFormat = "m/d/yyyy";  // a date picture (see date_time_picture.h)
  std::string longDateFormat = "dddd, mmmm d, yyyy";
  std::string shortTimeFormat = "hh:nn";
  std::string longTimeFormat = "hh:nn:ss";
  char dateSeparator = '/';
  char timeSeparator = ':';
  std::string timeAm = "AM", timePm = "PM";
  std::array<std::string, 12> shortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::array<std::string, 12> longMonthNames{"January",   "February", "March",    "April",
                                             "May",       "June",     "July",     "August",
                                             "September", "October",  "November", "December"};
  // Sunday first.
  std::array<std::string, 7> shortDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  std::array<std::string, 7> longDayNames{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                          "Thursday", "Friday", "Saturday"};
};

const DateTimeFormats& dateTimeFormats();
void setDateTimeFormats(const DateTimeFormats& formats);

}  // namespace trel
