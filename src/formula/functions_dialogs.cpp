// The dialogs INPUT and MSG, shown by the component's host.
#include "formula/art_formula.h"
#include "formula/builtin_functions.h"
#include "rtl/arithmetic_errors.h"

namespace trel {

void fnInput(TFormulaCalc& calc, TCalcItem& result) {
  std::string caption = calc.textAt(2), prompt = calc.textAt(1), value = calc.textAt(0);
  FormulaHost* host = calc.owner().host;
  result.setText(host ? host->input(caption, prompt, value) : std::string());
}

void fnMsg(TFormulaCalc& calc, TCalcItem& result) {
  std::string text = calc.textAt(2), caption = calc.textAt(1);
  // The style bits are the low 32 bits of the truncated flags.
  int flags = static_cast<int>(static_cast<uint32_t>(truncToInt64(calc.numberAt(0))));
  FormulaHost* host = calc.owner().host;
  result.setNumber(host ? host->message(text, caption, flags) : 0);
}

}  // namespace trel
