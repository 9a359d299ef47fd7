#include "rtl/date_time_picture.h"

#include <cmath>

#include "rtl/date_time.h"
#include "rtl/date_time_formats.h"
#include "rtl/text.h"

namespace trel {

namespace {

std::string number(int value, int minDigits) {
  std::string s = std::to_string(value);
  if (static_cast<int>(s.size()) < minDigits) s.insert(0, minDigits - s.size(), '0');
  return s;
}

bool startsNoCase(std::string_view s, size_t i, std::string_view word) {
  return startsWithNoCase(s.substr(i), word);
}

class PictureWriter {
 public:
  PictureWriter(const DateTimeParts& p, double value) : p_(p), value_(value) {}

  void write(std::string_view f, int depth) {
    const DateTimeFormats& fmt = dateTimeFormats();
    bool twelveHour = holdsHalfDay(f);
    for (size_t i = 0; i < f.size();) {
      char c = f[i];
      char u = upperChar(c);
      if (c == '"' || c == '\'') {
        size_t end = f.find(c, i + 1);
        if (end == std::string_view::npos) end = f.size();
        out.append(f.substr(i + 1, end - i - 1));
        i = end + 1;
        continue;
      }
      if (u == 'A') {
        if (startsNoCase(f, i, "am/pm")) {
          out += halfDay(f.substr(i, 2), f.substr(i + 3, 2));
          i += 5;
        } else if (startsNoCase(f, i, "a/p")) {
          out += halfDay(f.substr(i, 1), f.substr(i + 2, 1));
          i += 3;
        } else if (startsNoCase(f, i, "ampm")) {
          out += p_.hour < 12 ? fmt.timeAm : fmt.timePm;
          i += 4;
        } else {
          out.push_back(c);
          ++i;
        }
        continue;
      }
      size_t run = 1;
      while (i + run < f.size() && upperChar(f[i + run]) == u) ++run;
      // "m" means minutes when the last field before it (separators and text aside) was an hour.
      bool wasHour = lastWasHour_;
      if (u >= 'A' && u <= 'Z') lastWasHour_ = false;
      switch (u) {
        case 'C':
          nested(fmt.shortDateFormat, depth);
          if (value_ != std::trunc(value_)) {
            out.push_back(' ');
            nested(fmt.longTimeFormat, depth);
          }
          run = 1;
          break;
        case 'D':
          if (run == 1 || run == 2)
            out += number(p_.day, static_cast<int>(run));
          else if (run == 3)
            out += fmt.shortDayNames[p_.dayOfWeek % 7];
          else if (run == 4)
            out += fmt.longDayNames[p_.dayOfWeek % 7];
          else if (run == 5)
            nested(fmt.shortDateFormat, depth);
          else
            nested(fmt.longDateFormat, depth);
          break;
        case 'M':
          if (run <= 2 && wasHour)
            out += number(p_.minute, static_cast<int>(run));
          else if (run <= 2)
            out += number(p_.month, static_cast<int>(run));
          else if (run == 3)
            out += fmt.shortMonthNames[p_.month - 1];
          else
            out += fmt.longMonthNames[p_.month - 1];
          break;
        case 'Y':
          out += run <= 2 ? number(p_.year % 100, 2) : number(p_.year, 4);
          break;
        case 'H': {
          int h = p_.hour;
          if (twelveHour) h = h % 12 == 0 ? 12 : h % 12;
          out += number(h, run >= 2 ? 2 : 1);
          lastWasHour_ = true;
          break;
        }
        case 'N':
          out += number(p_.minute, run >= 2 ? 2 : 1);
          break;
        case 'S':
          out += number(p_.second, run >= 2 ? 2 : 1);
          break;
        case 'Z':
          out += number(p_.millisecond, run >= 2 ? 3 : 1);
          break;
        case 'T':
          nested(run == 1 ? fmt.shortTimeFormat : fmt.longTimeFormat, depth);
          break;
        case '/':
          out.append(run, fmt.dateSeparator);
          break;
        case ':':
          out.append(run, fmt.timeSeparator);
          break;
        default:
          out.append(f.substr(i, run));
          break;
      }
      i += run;
    }
  }

  std::string out;

 private:
  static bool holdsHalfDay(std::string_view f) {
    for (size_t i = 0; i < f.size(); ++i)
      if (startsNoCase(f, i, "am/pm") || startsNoCase(f, i, "a/p") || startsNoCase(f, i, "ampm"))
        return true;
    return false;
  }
  // "am/pm" and "a/p" are written in the case the picture gives them.
  std::string halfDay(std::string_view am, std::string_view pm) const {
    return std::string(p_.hour < 12 ? am : pm);
  }
  // The process's own formats may name each other; two levels are all they need.
  void nested(const std::string& f, int depth) {
    if (depth < 2) {
      bool saved = lastWasHour_;
      write(f, depth + 1);
      lastWasHour_ = saved;
    }
  }

  const DateTimeParts& p_;
  double value_;
  bool lastWasHour_ = false;
};

}  // namespace

std::string formatDateTime(std::string_view picture, double value) {
  DateTimeParts p = decodeDateTime(value);
  PictureWriter w(p, value);
  w.write(picture.empty() ? std::string_view("c") : picture, 0);
  return w.out;
}

}  // namespace trel
