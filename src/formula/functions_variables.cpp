// Run-time variables and blocks: SET, VAL, DEFINE, BLOCK, DEFINES, INC, DEC, EXISTS. Names are the
// texts of the name arguments; a name is looked up among the host's variables first, then among
// the ones made while the formula runs.
#include "formula/art_formula.h"
#include "formula/builtin_functions.h"
#include "formula/formula_exception.h"
#include "rtl/arithmetic_errors.h"

namespace trel {

namespace {

const char kAlreadyExists[] = "Variable already exists";

[[noreturn]] void noSuchVariable(const std::string& name) {
  throw FormulaException("Variable " + name + " does not exists");
}

// INC and DEC name no variable in their message.
[[noreturn]] void noVariable() {
  throw FormulaException("Variable does not exists");
}

void step(TFormulaCalc& calc, TCalcItem& result, double by) {
  VariableContext& v = calc.owner().context();
  int index = v.find(calc.textAt(0));
  if (index < 0) noVariable();
  double n = checkedReal(calc.toNumber(v.value(index)) + by);
  result.setNumber(n);
  v.store(index, result);
}

}  // namespace

void fnSet(TFormulaCalc& calc, TCalcItem& result) {
  VariableContext& v = calc.owner().context();
  std::string name = calc.textAt(1);
  int index = v.find(name);
  if (index < 0) noSuchVariable(name);
  result = calc.itemAt(0);
  v.store(index, result);
}

void fnVal(TFormulaCalc& calc, TCalcItem& result) {
  VariableContext& v = calc.owner().context();
  std::string name = calc.textAt(0);
  int index = v.find(name);
  if (index < 0) noSuchVariable(name);
  result = v.value(index);
}

void fnDefine(TFormulaCalc& calc, TCalcItem& result) {
  result = calc.itemAt(0);
  if (!calc.owner().context().define(calc.textAt(1), result))
    throw FormulaException(kAlreadyExists);
}

void fnBlock(TFormulaCalc& calc, TCalcItem& result) {
  if (calc.numberAt(0) > 0) result = calc.itemAt(1);
}

void fnDefines(TFormulaCalc& calc, TCalcItem& result) {
  int count = static_cast<int>(calc.numberAt(0));
  // From the last name to the first; the ones made before a clash stay.
  for (int depth = 1; depth <= count; ++depth)
    if (!calc.owner().context().define(calc.textAt(depth), TCalcItem(0)))
      throw FormulaException(kAlreadyExists);
  result.setNumber(count);
}

void fnInc(TFormulaCalc& calc, TCalcItem& result) {
  step(calc, result, 1);
}

void fnDec(TFormulaCalc& calc, TCalcItem& result) {
  step(calc, result, -1);
}

void fnExists(TFormulaCalc& calc, TCalcItem& result) {
  result.setNumber(calc.owner().context().find(calc.textAt(0)) >= 0 ? 1 : 0);
}

}  // namespace trel
