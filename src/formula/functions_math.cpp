// Numbers, rounding, random numbers and the choice IFF.
#include <cmath>

#include "formula/builtin_functions.h"
#include "formula/formula_calc.h"
#include "formula/function_table.h"
#include "formula/numeric_operators.h"
#include "rtl/arithmetic_errors.h"
#include "rtl/random.h"

namespace trel {

namespace {

// One argument, one result; results that are no longer finite are arithmetic errors.
template <double (*F)(double)>
void unary(TFormulaCalc& calc, TCalcItem& result) {
  result.setNumber(checkedReal(F(calc.numberAt(0))));
}

double logOf(double x) {
  if (x == 0) throwRealDivisionByZero(1);
  return std::log(x);
}
double lgOf(double x) {
  if (x == 0) throwRealDivisionByZero(1);
  return std::log10(x);
}
double atanhOf(double x) {
  if (x == 1 || x == -1) throwRealDivisionByZero(1);
  return std::atanh(x);
}
double fracOf(double x) {
  return x - std::trunc(x);
}
double signOf(double x) {
  return x > 0 ? 1 : (x < 0 ? -1 : 0);
}
double sinOf(double x) {
  return std::sin(x);
}
double cosOf(double x) {
  return std::cos(x);
}
double tanOf(double x) {
  return std::tan(x);
}
double expOf(double x) {
  return std::exp(x);
}
double sqrtOf(double x) {
  return std::sqrt(x);
}
double truncOf(double x) {
  return std::trunc(x);
}
double absOf(double x) {
  return std::fabs(x);
}
double atanOf(double x) {
  return std::atan(x);
}
double asinOf(double x) {
  return std::asin(x);
}
double acosOf(double x) {
  return std::acos(x);
}
double asinhOf(double x) {
  return std::asinh(x);
}
double acoshOf(double x) {
  return std::acosh(x);
}
double coshOf(double x) {
  return std::cosh(x);
}
double sinhOf(double x) {
  return std::sinh(x);
}
double tanhOf(double x) {
  return std::tanh(x);
}

// 10 to the power of d (truncated) as a real, so that d may be negative.
double scaleOf(TFormulaCalc& calc) {
  return checkedReal(std::pow(10.0, std::trunc(calc.numberAt(0))));
}

}  // namespace

void fnSin(TFormulaCalc& c, TCalcItem& r) {
  unary<sinOf>(c, r);
}
void fnCos(TFormulaCalc& c, TCalcItem& r) {
  unary<cosOf>(c, r);
}
void fnTan(TFormulaCalc& c, TCalcItem& r) {
  unary<tanOf>(c, r);
}
void fnLog(TFormulaCalc& c, TCalcItem& r) {
  unary<logOf>(c, r);
}
void fnLg(TFormulaCalc& c, TCalcItem& r) {
  unary<lgOf>(c, r);
}
void fnExp(TFormulaCalc& c, TCalcItem& r) {
  unary<expOf>(c, r);
}
void fnSqrt(TFormulaCalc& c, TCalcItem& r) {
  unary<sqrtOf>(c, r);
}
void fnInt(TFormulaCalc& c, TCalcItem& r) {
  unary<truncOf>(c, r);
}
void fnFrac(TFormulaCalc& c, TCalcItem& r) {
  unary<fracOf>(c, r);
}
void fnAbs(TFormulaCalc& c, TCalcItem& r) {
  unary<absOf>(c, r);
}
void fnAtan(TFormulaCalc& c, TCalcItem& r) {
  unary<atanOf>(c, r);
}
void fnAsin(TFormulaCalc& c, TCalcItem& r) {
  unary<asinOf>(c, r);
}
void fnAcos(TFormulaCalc& c, TCalcItem& r) {
  unary<acosOf>(c, r);
}
void fnAsinh(TFormulaCalc& c, TCalcItem& r) {
  unary<asinhOf>(c, r);
}
void fnAcosh(TFormulaCalc& c, TCalcItem& r) {
  unary<acoshOf>(c, r);
}
void fnAtanh(TFormulaCalc& c, TCalcItem& r) {
  unary<atanhOf>(c, r);
}
void fnCosh(TFormulaCalc& c, TCalcItem& r) {
  unary<coshOf>(c, r);
}
void fnSinh(TFormulaCalc& c, TCalcItem& r) {
  unary<sinhOf>(c, r);
}
void fnTanh(TFormulaCalc& c, TCalcItem& r) {
  unary<tanhOf>(c, r);
}
void fnSign(TFormulaCalc& c, TCalcItem& r) {
  unary<signOf>(c, r);
}

UnaryMath unaryMathFunction(int functionIndex) {
  if (functionIndex < 0 || functionIndex >= kFunctionCount) return nullptr;
  struct Pair {
    FormulaHandler handler;
    UnaryMath f;
  };
  static constexpr Pair kPairs[] = {
      {fnSin, sinOf},   {fnCos, cosOf},     {fnTan, tanOf},     {fnLog, logOf},
      {fnLg, lgOf},     {fnExp, expOf},     {fnSqrt, sqrtOf},   {fnInt, truncOf},
      {fnFrac, fracOf}, {fnAbs, absOf},     {fnAtan, atanOf},   {fnAsin, asinOf},
      {fnAcos, acosOf}, {fnAsinh, asinhOf}, {fnAcosh, acoshOf}, {fnAtanh, atanhOf},
      {fnCosh, coshOf}, {fnSinh, sinhOf},   {fnTanh, tanhOf},   {fnSign, signOf},
  };
  for (const Pair& p : kPairs)
    if (p.handler == kFunctionTable[functionIndex].handler) return p.f;
  return nullptr;
}

void fnRnd(TFormulaCalc&, TCalcItem& result) {
  result.setNumber(randomReal());
}

void fnRandomize(TFormulaCalc&, TCalcItem& result) {
  seedRandomFromClock();
  result.setNumber(0);
}

// Both branches have been computed already; IFF only picks one.
void fnIff(TFormulaCalc& calc, TCalcItem& result) {
  result = calc.numberAt(2) != 0 ? calc.itemAt(1) : calc.itemAt(0);
}

void fnTrunc(TFormulaCalc& calc, TCalcItem& result) {
  double scale = scaleOf(calc);
  double x = calc.numberAt(1);
  result.setNumber(checkedReal(std::trunc(checkedReal(x * scale)) / scale));
}

void fnRound(TFormulaCalc& calc, TCalcItem& result) {
  double scale = scaleOf(calc);
  double x = calc.numberAt(1);
  // Halves go to the even neighbour (the default rounding mode of nearbyint).
  result.setNumber(checkedReal(std::nearbyint(checkedReal(x * scale)) / scale));
}

}  // namespace trel
