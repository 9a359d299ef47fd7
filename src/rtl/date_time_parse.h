// Reading a date and time written in the process's short date format: a date (day, month and
// year in the order of that format, separated by its date separator; the year may be left out
// and may have two digits), a time ("h:n", "h:n:s" or "h:n:s.z" with the time separator, then an
// optional am/pm text), or a date followed by a time. A date written as year-month-day with four
// year digits and "-" is read too.
#pragma once

#include <string_view>

namespace trel {

bool tryTextToDateTime(std::string_view text, double& value);
// Throws trel::Error "'" + text + "' is not a valid date and time".
double textToDateTime(std::string_view text);

}  // namespace trel
