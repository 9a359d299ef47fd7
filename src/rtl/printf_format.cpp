#include "rtl/printf_format.h"

#include <cmath>
#include <cstdlib>

#include "rtl/decimal_digits.h"
#include "rtl/decimal_separator.h"
#include "rtl/errors.h"
#include "rtl/integer_text.h"
#include "rtl/number_picture.h"
#include "rtl/real_text.h"

namespace trel {

namespace {

// Width and precision beyond this are refused rather than filling memory with blanks or zeros.
constexpr int kMaxWidth = 1000;
constexpr int kMaxPrecision = 18;

[[noreturn]] void invalidFormat(std::string_view format) {
  throw Error("Format '" + std::string(format) + "' invalid or incompatible with argument");
}

std::string groupThousands(const std::string& digits) {
  std::string out;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out.push_back(thousandSeparator());
    out.push_back(digits[i]);
  }
  return out;
}

std::string fixed(double value, int decimals, bool grouping) {
  DecimalDigits d = decimalDigits(value, 15);
  roundToDecimals(d, decimals);
  std::string out = d.negative ? "-" : "";
  std::string whole = integerDigits(d);
  out += grouping ? groupThousands(whole) : whole;
  if (decimals > 0) {
    out.push_back(decimalSeparator());
    out += fractionDigits(d, decimals);
  }
  return out;
}

std::string scientific(double value, int significant) {
  DecimalDigits d = decimalDigits(value, 15);
  roundToSignificant(d, significant);
  std::string out = d.negative ? "-" : "";
  int exponent = d.digits.empty() ? 0 : d.exponent - 1;
  d.exponent = d.digits.empty() ? 0 : 1;
  out += integerDigits(d);
  if (significant > 1) {
    out.push_back(decimalSeparator());
    out += fractionDigits(d, significant - 1);
  }
  std::string e = std::to_string(std::abs(exponent));
  if (e.size() < 3) e.insert(0, 3 - e.size(), '0');
  out += exponent < 0 ? "E-" : "E+";
  return out + e;
}

std::string general(double value, int significant) {
  DecimalDigits d = decimalDigits(value, 15);
  roundToSignificant(d, significant);
  if (d.digits.empty()) return "0";
  int exponent = d.exponent - 1;
  if (exponent >= significant || exponent < -4) {
    std::string out = d.negative ? "-" : "";
    out.push_back(d.digits[0]);
    if (d.digits.size() > 1) {
      out.push_back(decimalSeparator());
      out.append(d.digits, 1, std::string::npos);
    }
    std::string e = std::to_string(std::abs(exponent));
    if (e.size() < 3) e.insert(0, 3 - e.size(), '0');
    return out + (exponent < 0 ? "E-" : "E+") + e;
  }
  int decimals = static_cast<int>(d.digits.size()) - d.exponent;
  return fixed(value, decimals > 0 ? decimals : 0, false);
}

std::string integral(std::string_view format, double value, char type, int minDigits) {
  if (value != std::trunc(value) || std::fabs(value) >= 9.2e18) invalidFormat(format);
  auto n = static_cast<int64_t>(value);
  std::string digits;
  bool negative = false;
  if (type == 'x') {
    digits = hexText(static_cast<uint64_t>(n), 1);
  } else {
    negative = n < 0;
    digits = intToText(negative ? -n : n);
    if (type == 'u' && negative) {
      digits = std::to_string(static_cast<uint64_t>(n));
      negative = false;
    }
  }
  if (static_cast<int>(digits.size()) < minDigits) digits.insert(0, minDigits - digits.size(), '0');
  return negative ? "-" + digits : digits;
}

int readNumber(std::string_view f, size_t& i) {
  int n = 0;
  while (i < f.size() && f[i] >= '0' && f[i] <= '9') {
    n = n * 10 + (f[i] - '0');
    if (n > kMaxWidth) invalidFormat(f);
    ++i;
  }
  return n;
}

}  // namespace

std::string formatPrintf(std::string_view format, double value) {
  std::string out;
  bool argumentUsed = false;
  for (size_t i = 0; i < format.size(); ++i) {
    char c = format[i];
    if (c != '%') {
      out.push_back(c);
      continue;
    }
    if (++i >= format.size()) invalidFormat(format);
    if (format[i] == '%') {
      out.push_back('%');
      continue;
    }
    // An index, when given, can only name the one argument.
    size_t mark = i;
    int index = readNumber(format, i);
    if (i < format.size() && format[i] == ':') {
      if (index != 0) invalidFormat(format);
      ++i;
    } else {
      i = mark;
    }
    bool left = i < format.size() && format[i] == '-';
    if (left) ++i;
    if (i < format.size() && format[i] == '*') invalidFormat(format);
    int width = readNumber(format, i);
    int precision = -1;
    if (i < format.size() && format[i] == '.') {
      ++i;
      if (i < format.size() && format[i] == '*') invalidFormat(format);
      precision = readNumber(format, i);
    }
    if (i >= format.size() || argumentUsed) invalidFormat(format);
    argumentUsed = true;
    char type =
        static_cast<char>(format[i] >= 'A' && format[i] <= 'Z' ? format[i] + 32 : format[i]);
    std::string text;
    int p = precision > kMaxPrecision ? kMaxPrecision : precision;
    switch (type) {
      case 'e':
        text = scientific(value, p < 1 ? 15 : p);
        break;
      case 'f':
        text = fixed(value, p < 0 ? 2 : p, false);
        break;
      case 'g':
        text = general(value, p < 1 ? 15 : p);
        break;
      case 'n':
      case 'm':
        text = fixed(value, p < 0 ? 2 : p, true);
        break;
      case 'd':
      case 'u':
      case 'x':
        text = integral(format, value, type, precision < 0 ? 0 : precision);
        break;
      case 's':
        text = realToText(value);
        if (precision >= 0 && static_cast<int>(text.size()) > precision) text.resize(precision);
        break;
      default:
        invalidFormat(format);
    }
    if (static_cast<int>(text.size()) < width) {
      std::string pad(width - text.size(), ' ');
      text = left ? text + pad : pad + text;
    }
    out += text;
  }
  return out;
}

}  // namespace trel
