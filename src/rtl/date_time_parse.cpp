#include "rtl/date_time_parse.h"

#include <ctime>
#include <string>
#include <vector>

#include "rtl/date_time.h"
#include "rtl/date_time_formats.h"
#include "rtl/errors.h"
#include "rtl/text.h"

namespace trel {

namespace {

struct Reader {
  std::string_view s;
  size_t i = 0;

  void skipBlanks() {
    while (i < s.size() && s[i] == ' ') ++i;
  }
  bool at(char c) const { return i < s.size() && s[i] == c; }
  bool number(int64_t& value, int& digits) {
    skipBlanks();
    value = 0;
    digits = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9' && digits < 9) {
      value = value * 10 + (s[i] - '0');
      ++i, ++digits;
    }
    return digits > 0 && !(i < s.size() && s[i] >= '0' && s[i] <= '9');
  }
  bool done() {
    skipBlanks();
    return i == s.size();
  }
};

int currentYear() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local.tm_year + 1900;
}

// Two-digit years fall in the hundred years around now (from 50 years back).
int64_t fullYear(int64_t year, int digits) {
  if (digits > 2) return year;
  int base = currentYear() - 50;
  int64_t y = year + base / 100 * 100;
  if (y < base) y += 100;
  return y;
}

// The order of day, month and year in the short date format, as the letters "D", "M", "Y".
std::string dateOrder() {
  std::string order;
  for (char c : dateTimeFormats().shortDateFormat) {
    char u = upperChar(c);
    if ((u == 'D' || u == 'M' || u == 'Y') && order.find(u) == std::string::npos)
      order.push_back(u);
  }
  return order.size() == 3 ? order : "MDY";
}

bool readDate(Reader& r, double& date) {
  std::vector<std::pair<int64_t, int>> parts;
  size_t start = r.i;
  int64_t v;
  int digits;
  if (!r.number(v, digits)) return false;
  parts.push_back({v, digits});
  char separator = dateTimeFormats().dateSeparator;
  if (digits == 4 && r.at('-')) separator = '-';
  while (parts.size() < 3 && r.at(separator)) {
    ++r.i;
    if (!r.number(v, digits)) return false;
    parts.push_back({v, digits});
  }
  if (parts.size() < 2) {
    r.i = start;
    return false;
  }
  std::string order = separator == '-' ? "YMD" : dateOrder();
  int64_t y = currentYear(), m = 0, d = 0;
  if (parts.size() == 2) {
    // Without a year the day and month keep their order.
    order.erase(order.find('Y'), 1);
    m = order[0] == 'M' ? parts[0].first : parts[1].first;
    d = order[0] == 'M' ? parts[1].first : parts[0].first;
  } else {
    for (size_t k = 0; k < 3; ++k) {
      if (order[k] == 'Y') y = fullYear(parts[k].first, parts[k].second);
      if (order[k] == 'M') m = parts[k].first;
      if (order[k] == 'D') d = parts[k].first;
    }
  }
  return tryEncodeDate(y, m, d, date);
}

bool readTime(Reader& r, double& time) {
  const DateTimeFormats& f = dateTimeFormats();
  int64_t h, n = 0, s = 0, z = 0;
  int digits;
  if (!r.number(h, digits)) return false;
  bool minutes = false;
  if (r.at(f.timeSeparator)) {
    ++r.i;
    if (!r.number(n, digits)) return false;
    minutes = true;
    if (r.at(f.timeSeparator)) {
      ++r.i;
      if (!r.number(s, digits)) return false;
      if (r.at('.')) {
        ++r.i;
        if (!r.number(z, digits) || digits > 3) return false;
        while (digits++ < 3) z *= 10;
      }
    }
  }
  r.skipBlanks();
  std::string_view rest = r.s.substr(r.i);
  bool half = false, pm = false;
  for (auto [text, isPm] :
       {std::pair{f.timeAm, false}, std::pair{f.timePm, true}, std::pair{std::string("AM"), false},
        std::pair{std::string("PM"), true}}) {
    if (!text.empty() && startsWithNoCase(rest, text)) {
      half = true;
      pm = isPm;
      r.i += text.size();
      break;
    }
  }
  if (!minutes && !half) return false;
  if (half) {
    if (h < 1 || h > 12) return false;
    h = h % 12 + (pm ? 12 : 0);
  }
  return tryEncodeTime(h, n, s, z, time);
}

}  // namespace

bool tryTextToDateTime(std::string_view text, double& value) {
  Reader r{trimView(text)};
  if (r.s.empty()) return false;
  double date = 0, time = 0;
  Reader dateReader = r;
  if (readDate(dateReader, date)) {
    r = dateReader;
    if (!r.done() && !readTime(r, time)) return false;
  } else if (!readTime(r, time)) {
    return false;
  }
  if (!r.done()) return false;
  value = date < 0 ? date - time : date + time;
  return true;
}

double textToDateTime(std::string_view text) {
  double v;
  if (!tryTextToDateTime(text, v))
    throw Error("'" + std::string(text) + "' is not a valid date and time");
  return v;
}

}  // namespace trel
