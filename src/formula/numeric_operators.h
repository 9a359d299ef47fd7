// What the operators do to numbers: one definition for the evaluator and for the fast path of
// formulas that compute numbers only.
#pragma once

#include <cstdint>

#include "formula/code_format.h"
#include "rtl/arithmetic_errors.h"

namespace trel {

// The operators whose results take more than a few instructions: \, %, the bit operators and
// the shifts, on numbers.
double numericInfixSlow(uint8_t op, double a, double b);
// a ^ b.
double numericPower(double a, double b);

// The result of an infix operator (its instruction) on two numbers, for every operator of
// fcode::kOperators that does not take texts; comparisons give 1 or 0. Raises the arithmetic
// errors. Inline, so that the fast path computes the cheap ones without a call.
inline double numericInfix(uint8_t op, double a, double b) {
  switch (op) {
    case fcode::kAdd:
      return checkedReal(a + b);
    case fcode::kSub:
      return checkedReal(a - b);
    case fcode::kMul:
      return checkedReal(a * b);
    case fcode::kDiv:
      if (b == 0) throwRealDivisionByZero(a);
      return checkedReal(a / b);
    case fcode::kPower:
      return numericPower(a, b);
    case fcode::kAnd:
      return (a != 0) && (b != 0);
    case fcode::kOr:
      return (a != 0) || (b != 0);
    case fcode::kXor:
      return (a != 0) != (b != 0);
    // Two numbers neither less nor greater than each other are equal, NaN included, as the
    // evaluator compares them.
    case fcode::kEqual:
      return !(a < b) && !(a > b);
    case fcode::kNotEqual:
      return a < b || a > b;
    case fcode::kLess:
      return a < b;
    case fcode::kGreater:
      return a > b;
    case fcode::kLessEqual:
      return !(a > b);
    case fcode::kGreaterEqual:
      return !(a < b);
    default:
      return numericInfixSlow(op, a, b);
  }
}

// The result of a prefix operator (its instruction) on a number.
double numericPrefix(uint8_t op, double a);

// A built-in function of one number to one number without side effects (SIN, SQRT, ABS ...):
// its definition, or null for any other function.
using UnaryMath = double (*)(double);
UnaryMath unaryMathFunction(int functionIndex);

}  // namespace trel
