// The runtime's arithmetic errors and the checks that raise them.
#pragma once

#include <cmath>
#include <cstdint>

namespace trel {

// "Floating point division by zero", or "Invalid floating point operation" for 0 / 0.
[[noreturn]] void throwRealDivisionByZero(double dividend);
// "Invalid floating point operation": a result that is not a number, or a value outside the range
// an operation can take.
[[noreturn]] void throwInvalidOperation();
// "Floating point overflow"
[[noreturn]] void throwOverflow();
// "Division by zero": integer division or remainder by zero.
[[noreturn]] void throwIntegerDivisionByZero();

// A result that is no longer finite is an error: overflow, or an invalid operation for NaN.
inline double checkedReal(double value) {
  if (std::isfinite(value)) [[likely]]
    return value;
  if (std::isnan(value)) throwInvalidOperation();
  throwOverflow();
}

// Truncates toward zero to a signed 64-bit integer; an invalid operation when it does not fit.
int64_t truncToInt64(double value);

}  // namespace trel
