// The decimal digits of a real: the common base of the general number format, the number
// pictures and the printf-style format.
#pragma once

#include <string>

namespace trel {

// value = (negative ? -1 : 1) * 0.d1 d2 d3 ... * 10^exponent
struct DecimalDigits {
  bool negative = false;
  std::string digits;  // significant digits without leading or trailing zeros; empty for zero
  int exponent = 0;
};

// At most `precision` (1 to 17) significant digits, rounded to nearest. The value must be finite.
DecimalDigits decimalDigits(double value, int precision);

// Rounds to `decimals` digits after the decimal point (may be negative), halves away from zero.
// Rounding works on the decimal digits, so 2.675 taken with 15 digits rounds to 2.68.
void roundToDecimals(DecimalDigits& d, int decimals);

// Rounds to `count` significant digits (at least 1), halves away from zero.
void roundToSignificant(DecimalDigits& d, int count);

// The digits of the integer part (at least "0") and of the first `decimals` places of the fraction.
std::string integerDigits(const DecimalDigits& d);
std::string fractionDigits(const DecimalDigits& d, int decimals);

}  // namespace trel
