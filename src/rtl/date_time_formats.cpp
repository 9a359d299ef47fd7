#include "rtl/date_time_formats.h"

#include <langinfo.h>
#include <locale.h>

#include <optional>

namespace trel {

namespace {

// Turns a strftime date or time format ("%d.%m.%Y", "%H:%M:%S") into our picture; nothing when
// it uses more than days, months, years, hours, minutes, seconds and am/pm.
std::optional<std::string> pictureFromStrftime(const std::string& f, char& separator) {
  std::string out;
  for (size_t i = 0; i < f.size(); ++i) {
    if (f[i] != '%') {
      if (f[i] == '/' || f[i] == '.' || f[i] == '-' || f[i] == ':') {
        separator = f[i];
        out.push_back(f[i] == ':' ? ':' : '/');
      } else if (f[i] == ' ') {
        out.push_back(' ');
      } else {
        return std::nullopt;
      }
      continue;
    }
    if (++i >= f.size()) return std::nullopt;
    switch (f[i]) {
      case 'd':
        out += "dd";
        break;
      case 'e':
        out += "d";
        break;
      case 'm':
        out += "mm";
        break;
      case 'Y':
        out += "yyyy";
        break;
      case 'y':
        out += "yy";
        break;
      case 'H':
        out += "hh";
        break;
      case 'I':
        out += "hh";
        break;
      case 'M':
        out += "nn";
        break;
      case 'S':
        out += "ss";
        break;
      case 'p':
        out += "ampm";
        break;
      default:
        return std::nullopt;
    }
  }
  return out;
}

DateTimeFormats fromEnvironment() {
  DateTimeFormats f;
  locale_t loc = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(0));
  if (loc == static_cast<locale_t>(0)) return f;
  char separator = '/';
  if (auto date = pictureFromStrftime(nl_langinfo_l(D_FMT, loc), separator)) {
    // Four-digit years read and print better than the locale's two-digit ones.
    std::string d = *date;
    if (d.find("yyyy") == std::string::npos) {
      size_t y = d.find("yy");
      if (y != std::string::npos) d.replace(y, 2, "yyyy");
    }
    f.shortDateFormat = d;
    f.dateSeparator = separator;
  }
  char timeSeparator = ':';
  if (auto time = pictureFromStrftime(nl_langinfo_l(T_FMT, loc), timeSeparator)) {
    f.longTimeFormat = *time;
    f.timeSeparator = timeSeparator;
    size_t seconds = time->find(":ss");
    f.shortTimeFormat =
        seconds == std::string::npos ? *time : time->substr(0, seconds) + time->substr(seconds + 3);
  }
  std::string am = nl_langinfo_l(AM_STR, loc), pm = nl_langinfo_l(PM_STR, loc);
  if (!am.empty() && !pm.empty()) {
    f.timeAm = am;
    f.timePm = pm;
  }
  for (int i = 0; i < 12; ++i) {
    std::string s = nl_langinfo_l(static_cast<nl_item>(ABMON_1 + i), loc);
    std::string l = nl_langinfo_l(static_cast<nl_item>(MON_1 + i), loc);
    if (!s.empty()) f.shortMonthNames[i] = s;
    if (!l.empty()) f.longMonthNames[i] = l;
  }
  for (int i = 0; i < 7; ++i) {
    std::string s = nl_langinfo_l(static_cast<nl_item>(ABDAY_1 + i), loc);
    std::string l = nl_langinfo_l(static_cast<nl_item>(DAY_1 + i), loc);
    if (!s.empty()) f.shortDayNames[i] = s;
    if (!l.empty()) f.longDayNames[i] = l;
  }
  freelocale(loc);
  return f;
}

std::optional<DateTimeFormats>& current() {
  static std::optional<DateTimeFormats> formats;
  return formats;
}

}  // namespace

const DateTimeFormats& dateTimeFormats() {
  if (!current()) current() = fromEnvironment();
  return *current();
}

void setDateTimeFormats(const DateTimeFormats& formats) {
  current() = formats;
}

}  // namespace trel
