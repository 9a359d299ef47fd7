#include "machine/formula_instruction.h"

#include "machine/instructions.h"

namespace trel {

struct FormulaState {};

void FormulaStateDeleter::operator()(FormulaState* state) const { delete state; }

Outcome runFormula(Machine& m, RunFrame& f) {
  f.dropKeyword(8);
  m.host.messageBox("The formula evaluator is not built yet", "Error", mb::kIconError);
  return Outcome::Continue;
}

}  // namespace trel
