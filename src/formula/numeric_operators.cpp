#include "formula/numeric_operators.h"

#include <cmath>

namespace trel {

namespace {

double integerDivide(int64_t a, int64_t b) {
  if (b == 0) throwIntegerDivisionByZero();
  // The one quotient outside the 64-bit range, -2^63 / -1, is a number all the same.
  if (b == -1) return -static_cast<double>(a);
  return static_cast<double>(a / b);
}

double remainder(int64_t a, int64_t b) {
  if (b == 0) throwIntegerDivisionByZero();
  if (b == -1) return 0;
  return static_cast<double>(a % b);
}

// The value truncated to 64 bits, shifted by the low 8 bits of the truncated count, zero fill.
double shift(double value, double count, bool left) {
  auto bits = static_cast<uint64_t>(truncToInt64(value));
  unsigned n = static_cast<unsigned>(static_cast<uint64_t>(truncToInt64(count)) & 0xFF);
  if (n >= 64) return 0;
  return static_cast<double>(static_cast<int64_t>(left ? bits << n : bits >> n));
}

}  // namespace

double numericPower(double a, double b) {
  // A square is the product, correctly rounded (and much cheaper than the general power).
  if (b == 2) return checkedReal(a * a);
  double r = std::pow(a, b);
  if (std::isfinite(r)) return r;
  if (a == 0 && b < 0) throwRealDivisionByZero(1);
  return checkedReal(r);
}

double numericInfixSlow(uint8_t op, double a, double b) {
  switch (op) {
    case fcode::kIntDiv:
      return integerDivide(truncToInt64(a), truncToInt64(b));
    case fcode::kMod:
      return remainder(truncToInt64(a), truncToInt64(b));
    case fcode::kBitAnd:
      return static_cast<double>(truncToInt64(a) & truncToInt64(b));
    case fcode::kBitOr:
      return static_cast<double>(truncToInt64(a) | truncToInt64(b));
    case fcode::kBitXor:
      return static_cast<double>(truncToInt64(a) ^ truncToInt64(b));
    case fcode::kShiftLeft:
      return shift(a, b, true);
    case fcode::kShiftRight:
      return shift(a, b, false);
  }
  return 0;
}

double numericPrefix(uint8_t op, double a) {
  switch (op) {
    case fcode::kNot:
      return a == 0 ? 1 : 0;
    case fcode::kNegate:
      return -a;
    case fcode::kBitNot:
      return static_cast<double>(~truncToInt64(a));
  }
  return a;
}

}  // namespace trel
