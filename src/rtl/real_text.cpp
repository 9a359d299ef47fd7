#include "rtl/real_text.h"

#include <charconv>
#include <cmath>
#include <string>

#include "rtl/decimal_separator.h"
#include "rtl/errors.h"

namespace trel {

bool tryTextToReal(std::string_view text, double& value) {
  const char sep = decimalSeparator();
  size_t i = 0, n = text.size();
  while (i < n && text[i] == ' ') ++i;
  while (n > i && text[n - 1] == ' ') --n;
  std::string plain;
  plain.reserve(n - i + 1);
  if (i < n && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') plain.push_back('-');
    ++i;
  }
  size_t digits = 0;
  while (i < n && text[i] >= '0' && text[i] <= '9') plain.push_back(text[i++]), ++digits;
  if (i < n && text[i] == sep) {
    plain.push_back('.');
    ++i;
    while (i < n && text[i] >= '0' && text[i] <= '9') plain.push_back(text[i++]), ++digits;
  }
  if (digits == 0) return false;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    plain.push_back('e');
    ++i;
    if (i < n && (text[i] == '+' || text[i] == '-')) plain.push_back(text[i++]);
    size_t expDigits = 0;
    while (i < n && text[i] >= '0' && text[i] <= '9') plain.push_back(text[i++]), ++expDigits;
    if (expDigits == 0) return false;
  }
  if (i != n) return false;
  double v = 0;
  auto r = std::from_chars(plain.data(), plain.data() + plain.size(), v);
  if (r.ec != std::errc() || r.ptr != plain.data() + plain.size()) return false;
  value = v;
  return true;
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
  if (value == 0) return "0";
  // Fifteen significant digits: one before the point and fourteen after it in scientific form.
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
  std::string sci(buf, r.ptr);
  bool negative = sci[0] == '-';
  size_t start = negative ? 1 : 0;
  size_t ePos = sci.find('e');
  std::string digits;
  for (size_t k = start; k < ePos; ++k)
    if (sci[k] != '.') digits.push_back(sci[k]);
  int exponent = std::stoi(sci.substr(ePos + 1));
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string out = negative ? "-" : "";
  const char sep = decimalSeparator();
  if (exponent >= 15 || exponent < -4) {
    out.push_back(digits[0]);
    if (digits.size() > 1) {
      out.push_back(sep);
      out.append(digits, 1, std::string::npos);
    }
    out.push_back('E');
    out.append(std::to_string(exponent));
    return out;
  }
  if (exponent < 0) {
    out.push_back('0');
    out.push_back(sep);
    out.append(static_cast<size_t>(-exponent - 1), '0');
    out.append(digits);
    return out;
  }
  size_t intDigits = static_cast<size_t>(exponent) + 1;
  if (digits.size() <= intDigits) {
    out.append(digits);
    out.append(intDigits - digits.size(), '0');
  } else {
    out.append(digits, 0, intDigits);
    out.push_back(sep);
    out.append(digits, intDigits, std::string::npos);
  }
  return out;
}

}  // namespace trel
