// The date-time picture formatter. Letters are taken without regard to case:
//   d dd       day            ddd dddd   short and long day name
//   ddddd      short date     dddddd     long date
//   m mm       month, or minute right after an hour
//   mmm mmmm   short and long month name
//   yy yyyy    year (one or two y: two digits, more: four)
//   h hh       hour (1 to 12 when the picture holds am/pm)
//   n nn       minute         s ss       second
//   z zzz      millisecond    t tt       short and long time
//   c          short date, then the long time unless it is midnight
//   am/pm a/p ampm            the half of the day ("ampm": the process's am/pm texts)
//   /  :       the date and time separators
// Text in single or double quotes is copied; other characters are copied too. An empty picture
// is "c".
#pragma once

#include <string>
#include <string_view>

namespace trel {

// Throws trel::Error when the value is no date and time of the years 1 to 9999.
std::string formatDateTime(std::string_view picture, double value);

}  // namespace trel
