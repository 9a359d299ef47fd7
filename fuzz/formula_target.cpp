// Compiles and computes the input as a formula, the way `qn eval` does: the main window's
// settings, no variables, dialogs cancelled. A step limit stops formulas that loop for ever.
#include "formula/art_formula.h"
#include "fuzz_input.h"
#include "machine/formula_instruction.h"
#include "machine/quiet_host.h"

namespace {

class NoVariables : public trel::FormulaVariables {
 public:
  int count() const override { return 0; }
  int find(std::string_view, bool) override { return -1; }
};

// Host looks while computing; each counts as a step, a few thousand instructions apart.
constexpr uint64_t kMaxSteps = 200;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  trel::QuietHost host;
  trel::FormulaHostBridge bridge(host, nullptr);
  bridge.maxSteps = kMaxSteps;
  trel::TArtFormula formula;
  formula.host = &bridge;
  NoVariables none;
  try {
    formula.CompileAndCompute(trel::fuzz::inputText(data, size), none);
  } catch (const std::exception&) {
    // Errors in the formula are the expected answer to most inputs.
  }
  return 0;
}
