#include "rtl/arithmetic_errors.h"

#include "rtl/errors.h"

namespace trel {

void throwRealDivisionByZero(double dividend) {
  if (dividend == 0 || std::isnan(dividend)) throwInvalidOperation();
  throw Error("Floating point division by zero");
}

void throwInvalidOperation() {
  throw Error("Invalid floating point operation");
}

void throwOverflow() {
  throw Error("Floating point overflow");
}

void throwIntegerDivisionByZero() {
  throw Error("Division by zero");
}

int64_t truncToInt64(double value) {
  // -2^63 is the smallest value that fits; 2^63 is the first that does not.
  if (!(value >= -9223372036854775808.0 && value < 9223372036854775808.0)) throwInvalidOperation();
  return static_cast<int64_t>(value);
}

}  // namespace trel
