// The statistics functions. Their arguments are visited from the last to the first; an argument
// that is an external variable stands for all of its values (asked of the host through
// GetVarsCount and GetVarValue), visited from its highest index to its lowest. Called with no
// argument at all, every one of them gives 0 (CONCAT the empty text).
#include <algorithm>
#include <cmath>

#include "formula/art_formula.h"
#include "formula/builtin_functions.h"
#include "formula/formula_exception.h"
#include "rtl/arithmetic_errors.h"

namespace trel {

namespace {

class ArgumentWalk {
 public:
  ArgumentWalk(TFormulaCalc& calc, bool wantNumber) : calc_(calc), wantNumber_(wantNumber) {
    count_ = static_cast<int>(calc.numberAt(0));
  }
  bool empty() const { return count_ == 0; }
  bool more() const { return depth_ <= count_ || next_ < expansion_.size(); }

  // The next value as a formula value (an expanded variable's values are texts).
  TCalcItem next() {
    if (next_ < expansion_.size()) return TCalcItem::fromText(expansion_[next_++]);
    const TCalcItem& item = calc_.itemAt(depth_++);
    if (item.kind != CalcKind::Reference) return item;
    expand(item.text);
    return next();
  }
  double nextNumber() {
    TCalcItem v = next();
    return calc_.toNumber(v);
  }
  std::string nextText() {
    TCalcItem v = next();
    return calc_.toText(v);
  }

 private:
  void expand(const std::string& name) {
    TArtFormula& f = calc_.owner();
    if (!f.GetVarsCount || !f.GetVarValue)
      throw FormulaException("GetVarsCount or GetVarValue not set!");
    int k = 0;
    f.GetVarsCount(name, k, wantNumber_);
    if (k <= 0) throw FormulaException(name + " returns zero vars!");
    expansion_.clear();
    next_ = 0;
    for (int i = k - 1; i >= 0; --i) {
      std::string value;
      f.GetVarValue(name, i, value, wantNumber_);
      expansion_.push_back(std::move(value));
    }
  }

  TFormulaCalc& calc_;
  bool wantNumber_;
  int count_ = 0;
  int depth_ = 1;
  std::vector<std::string> expansion_;
  size_t next_ = 0;
};

struct Sums {
  double n = 0, sum = 0, squares = 0;
};

Sums sums(TFormulaCalc& calc) {
  ArgumentWalk walk(calc, true);
  Sums s;
  while (walk.more()) {
    double x = walk.nextNumber();
    s.n += 1;
    s.sum = checkedReal(s.sum + x);
    s.squares = checkedReal(s.squares + x * x);
  }
  return s;
}

// n * sum(x^2) - sum(x)^2; rounding can take it a hair below zero, where no spread can be.
double spread(const Sums& s) {
  return std::max(0.0, checkedReal(s.n * s.squares - s.sum * s.sum));
}

double divide(double a, double b) {
  if (b == 0) throwRealDivisionByZero(a);
  return checkedReal(a / b);
}

template <bool Max>
void extreme(TFormulaCalc& calc, TCalcItem& result) {
  ArgumentWalk walk(calc, true);
  if (walk.empty()) return;
  double best = walk.nextNumber();
  while (walk.more()) {
    double x = walk.nextNumber();
    if (Max ? x > best : x < best) best = x;
  }
  result.setNumber(best);
}

}  // namespace

void fnMax(TFormulaCalc& calc, TCalcItem& result) {
  extreme<true>(calc, result);
}
void fnMin(TFormulaCalc& calc, TCalcItem& result) {
  extreme<false>(calc, result);
}

void fnSum(TFormulaCalc& calc, TCalcItem& result) {
  result.setNumber(sums(calc).sum);
}

void fnSumOfSquares(TFormulaCalc& calc, TCalcItem& result) {
  result.setNumber(sums(calc).squares);
}

void fnAvg(TFormulaCalc& calc, TCalcItem& result) {
  Sums s = sums(calc);
  if (s.n > 0) result.setNumber(divide(s.sum, s.n));
}

void fnVariance(TFormulaCalc& calc, TCalcItem& result) {
  Sums s = sums(calc);
  if (s.n > 0) result.setNumber(divide(spread(s), s.n * (s.n - 1)));
}

void fnVarianceP(TFormulaCalc& calc, TCalcItem& result) {
  Sums s = sums(calc);
  if (s.n > 0) result.setNumber(divide(spread(s), s.n * s.n));
}

void fnStdDev(TFormulaCalc& calc, TCalcItem& result) {
  Sums s = sums(calc);
  if (s.n > 0) result.setNumber(std::sqrt(divide(spread(s), s.n * (s.n - 1))));
}

void fnStdDevP(TFormulaCalc& calc, TCalcItem& result) {
  Sums s = sums(calc);
  if (s.n > 0) result.setNumber(divide(std::sqrt(spread(s)), s.n));
}

void fnCount(TFormulaCalc& calc, TCalcItem& result) {
  ArgumentWalk walk(calc, false);
  double n = 0;
  while (walk.more())
    if (!walk.nextText().empty()) n += 1;
  result.setNumber(n);
}

void fnConcat(TFormulaCalc& calc, TCalcItem& result) {
  ArgumentWalk walk(calc, false);
  // Visited last to first, each value goes in front of the ones gathered so far.
  std::vector<std::string> pieces;
  size_t length = 0;
  while (walk.more()) {
    pieces.push_back(walk.nextText());
    length += pieces.back().size();
    checkTextLength(length);
  }
  std::string text;
  text.reserve(length);
  for (auto it = pieces.rbegin(); it != pieces.rend(); ++it) text += *it;
  result.setText(std::move(text));
}

}  // namespace trel
