#include "gui/watch_formula.h"

#include "machine/formula_instruction.h"
#include "machine/machine.h"
#include "rtl/errors.h"

namespace trel::gui {

WatchResult computeWatch(Machine& m, const std::string& formula) {
  const uint64_t maxSteps = m.maxSteps, stepsTaken = m.stepsTaken;
  m.maxSteps = stepsTaken + kWatchStepBudget;
  WatchResult result;
  try {
    result = {true, computeOnMachine(m, formula)};
  } catch (const StepLimitError&) {
    result = {false, "no result: the formula does not end"};
  } catch (const std::exception& e) {
    result = {false, errorText(e)};
  }
  m.maxSteps = maxSteps;
  m.stepsTaken = stepsTaken;
  return result;
}

}  // namespace trel::gui
