#include "rtl/real_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

#include "rtl/decimal_digits.h"
#include "rtl/decimal_separator.h"
#include "rtl/errors.h"

namespace trel {

bool tryDecimalToReal(std::string_view text, double& value) {
  size_t i = 0, n = text.size(), digits = 0;
  bool negative = false;
  if (i < n && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  while (i < n && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
  if (i < n && text[i] == '.') {
    ++i;
    while (i < n && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
  }
  if (digits == 0) return false;
  bool negativeExponent = false;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < n && (text[i] == '+' || text[i] == '-')) negativeExponent = text[i++] == '-';
    size_t expDigits = 0;
    while (i < n && text[i] >= '0' && text[i] <= '9') ++i, ++expDigits;
    if (expDigits == 0) return false;
  }
  if (i != n) return false;
  const char* first = text.data() + (text[0] == '+' ? 1 : 0);
  double v = 0;
  auto r = std::from_chars(first, text.data() + n, v);
  if (r.ec == std::errc::result_out_of_range) {
    // Only an exponent can take a written number out of range: far below zero it is 0.
    if (!negativeExponent) return false;
    v = negative ? -0.0 : 0.0;
  } else if (r.ec != std::errc() || r.ptr != text.data() + n) {
    return false;
  }
  value = v;
  return true;
}

bool tryTextToReal(std::string_view text, double& value) {
  // A whole number of up to fifteen digits is exact as a double: read without the general path.
  if (!text.empty() && text.size() <= 16) {
    const bool negative = text[0] == '-';
    const size_t first = negative ? 1 : 0;
    int64_t whole = 0;
    size_t k = first;
    while (k < text.size() && text[k] >= '0' && text[k] <= '9')
      whole = whole * 10 + (text[k++] - '0');
    if (k == text.size() && k > first && k - first <= 15) {
      value = negative ? -static_cast<double>(whole) : static_cast<double>(whole);
      return true;
    }
  }
  const char sep = decimalSeparator();
  size_t i = 0, n = text.size();
  while (i < n && text[i] == ' ') ++i;
  while (n > i && text[n - 1] == ' ') --n;
  if (i == n) return false;
  std::string plain(text.substr(i, n - i));
  size_t point = plain.find(sep);
  if (sep != '.') {
    if (plain.find('.') != std::string::npos) return false;
    if (point != std::string::npos) plain[point] = '.';
  }
  return tryDecimalToReal(plain, value);
}

double textToReal(std::string_view text) {
  double v;
  if (!tryTextToReal(text, v))
    throw Error("'" + std::string(text) + "' is not a valid floating point value");
  return v;
}

std::string realToText(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  if (std::fabs(value) < 1e15 && value == std::trunc(value)) {
    // A whole number of at most fifteen digits is written as an integer (as below, and faster).
    char buf[24];
    auto r = std::to_chars(buf, buf + sizeof buf, static_cast<int64_t>(value));
    return std::string(buf, r.ptr);
  }
  DecimalDigits d = decimalDigits(value, 15);
  if (d.digits.empty()) return "0";
  std::string out = d.negative ? "-" : "";
  const char sep = decimalSeparator();
  // Exponent form when more than fifteen digits stand before the separator or the number is
  // below 1E-4 (0.0001 is still written out, 0.00001 becomes 1E-5).
  int scientificExponent = d.exponent - 1;
  if (scientificExponent >= 15 || scientificExponent < -4) {
    out.push_back(d.digits[0]);
    if (d.digits.size() > 1) {
      out.push_back(sep);
      out.append(d.digits, 1, std::string::npos);
    }
    out.push_back('E');
    out.append(std::to_string(scientificExponent));
    return out;
  }
  if (d.exponent <= 0) {
    out.push_back('0');
    out.push_back(sep);
    out.append(static_cast<size_t>(-d.exponent), '0');
    out.append(d.digits);
    return out;
  }
  size_t intDigits = static_cast<size_t>(d.exponent);
  if (d.digits.size() <= intDigits) {
    out.append(d.digits);
    out.append(intDigits - d.digits.size(), '0');
  } else {
    out.append(d.digits, 0, intDigits);
    out.push_back(sep);
    out.append(d.digits, intDigits, std::string::npos);
  }
  return out;
}

}  // namespace trel
