// What the operators do to numbers: one definition for the evaluator and for the fast path of
// formulas that compute numbers only.
#pragma once

#include <cstdint>

#include "rtl/arithmetic_errors.h"

namespace trel {

// The result of an infix operator (its instruction) on two numbers, for every operator of
// fcode::kOperators that does not take texts; comparisons give 1 or 0. Raises the arithmetic
// errors.
double numericInfix(uint8_t op, double a, double b);
// The result of a prefix operator (its instruction) on a number.
double numericPrefix(uint8_t op, double a);

// A built-in function of one number to one number without side effects (SIN, SQRT, ABS ...):
// its definition, or null for any other function.
using UnaryMath = double (*)(double);
UnaryMath unaryMathFunction(int functionIndex);

}  // namespace trel
