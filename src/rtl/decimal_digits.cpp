#include "rtl/decimal_digits.h"

#include <charconv>
#include <cmath>

namespace trel {

namespace {

void stripTrailingZeros(DecimalDigits& d) {
  while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
  if (d.digits.empty()) {
    d.negative = false;
    d.exponent = 0;
  }
}

// Keeps the first `keep` digits, rounding on the digit after them.
void roundKeeping(DecimalDigits& d, long keep) {
  if (keep >= static_cast<long>(d.digits.size())) return;
  if (keep < 0) {
    d.digits.clear();
    stripTrailingZeros(d);
    return;
  }
  bool up = d.digits[static_cast<size_t>(keep)] >= '5';
  d.digits.resize(static_cast<size_t>(keep));
  if (up) {
    long i = keep - 1;
    while (i >= 0 && d.digits[static_cast<size_t>(i)] == '9') {
      d.digits[static_cast<size_t>(i)] = '0';
      --i;
    }
    if (i >= 0) {
      ++d.digits[static_cast<size_t>(i)];
    } else {
      d.digits.insert(d.digits.begin(), '1');
      ++d.exponent;
    }
  }
  stripTrailingZeros(d);
}

}  // namespace

DecimalDigits decimalDigits(double value, int precision) {
  DecimalDigits d;
  if (value == 0 || !std::isfinite(value)) return d;
  if (precision < 1) precision = 1;
  if (precision > 17) precision = 17;
  char buf[64];
  auto r =
      std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, precision - 1);
  const char* p = buf;
  if (*p == '-') {
    d.negative = true;
    ++p;
  }
  // d.ddd...e[+-]xx: the digits without the point and their trailing zeros, then the exponent.
  const char* e = p;
  while (e < r.ptr && *e != 'e') ++e;
  const char* end = e;
  while (end > p + 1 && end[-1] == '0') --end;
  if (end > p + 1 && end[-1] == '.') --end;
  // The digits without the point: fifteen of them still fit in the string's own buffer.
  d.digits.reserve(static_cast<size_t>(end > p + 1 ? end - p - 1 : 1));
  d.digits.push_back(*p);
  if (end > p + 2) d.digits.append(p + 2, end);
  int exponent = 0;
  if (e < r.ptr) std::from_chars(e + 1 + (e[1] == '+' ? 1 : 0), r.ptr, exponent);
  d.exponent = exponent + 1;
  stripTrailingZeros(d);
  return d;
}

void roundToDecimals(DecimalDigits& d, int decimals) {
  roundKeeping(d, static_cast<long>(d.exponent) + decimals);
}

void roundToSignificant(DecimalDigits& d, int count) {
  roundKeeping(d, count < 1 ? 1 : count);
}

std::string integerDigits(const DecimalDigits& d) {
  if (d.exponent <= 0 || d.digits.empty()) return "0";
  std::string out = d.digits.substr(0, static_cast<size_t>(d.exponent));
  if (out.size() < static_cast<size_t>(d.exponent)) out.append(d.exponent - out.size(), '0');
  return out;
}

std::string fractionDigits(const DecimalDigits& d, int decimals) {
  std::string out;
  for (int k = 0; k < decimals; ++k) {
    long index = static_cast<long>(d.exponent) + k;  // digit index of place k + 1
    out.push_back(index >= 0 && index < static_cast<long>(d.digits.size())
                      ? d.digits[static_cast<size_t>(index)]
                      : '0');
  }
  return out;
}

}  // namespace trel
