// Compiles and computes the input as a formula, the way `qn eval` does: the main window's
// settings, no variables, dialogs cancelled. A step limit stops formulas that loop for ever.
//
// Then the same text with three variables holding numbers, computed twice from the same compiled
// code: as the component computes it (on its fast path wherever the code allows) and step by step
// (always the general evaluator). Both must give the same result or the same error and leave the
// variables alike. Texts that read the clock are left out of that comparison; the random numbers
// start from the same seed each time.
#include <cstring>
#include <string>
#include <vector>

#include "formula/art_formula.h"
#include "fuzz_input.h"
#include "machine/formula_instruction.h"
#include "machine/quiet_host.h"
#include "rtl/errors.h"
#include "rtl/random.h"

namespace {

class NoVariables : public trel::FormulaVariables {
 public:
  int count() const override { return 0; }
  int find(std::string_view, bool) override { return -1; }
};

// Host looks while computing; each counts as a step, a few thousand instructions apart. Computing
// step by step looks before every instruction. The comparison leaves out long computations.
constexpr uint64_t kMaxSteps = 200;
constexpr uint64_t kMaxComparedSteps = 20;
constexpr uint64_t kMaxSingleSteps = 20000;

bool readsTheClock(std::string_view text) {
  std::string upper(text);
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  return upper.find("NOW") != std::string::npos || upper.find("RANDOMIZE") != std::string::npos;
}

struct Outcome {
  std::string result;
  bool stepLimit = false;
  std::vector<trel::TCalcItem> values;
};

Outcome computeOnce(trel::TArtFormula& formula, trel::FormulaHostBridge& bridge, bool step,
                    const std::vector<trel::TCalcItem>& start) {
  Outcome out;
  out.values = start;
  formula.Step = step;
  bridge.stepsTaken = 0;
  bridge.maxSteps = step ? kMaxSingleSteps : kMaxComparedSteps;
  trel::seedRandom(1);
  try {
    out.result = formula.Compute(static_cast<int>(out.values.size()), out.values.data());
  } catch (const trel::StepLimitError&) {
    out.stepLimit = true;
  } catch (const std::exception& e) {
    out.result = std::string("error: ") + e.what();
  }
  return out;
}

bool sameValue(const trel::TCalcItem& a, const trel::TCalcItem& b) {
  if (a.kind != b.kind) return false;
  if (a.kind != trel::CalcKind::Number) return a.text == b.text;
  return std::memcmp(&a.number, &b.number, sizeof a.number) == 0;
}

void compareBothPaths(std::string_view text, trel::FormulaHostBridge& bridge) {
  if (readsTheClock(text)) return;
  const std::vector<std::string> names{"a", "b", "c"};
  const std::vector<trel::TCalcItem> start{trel::TCalcItem(1.5), trel::TCalcItem(-2),
                                           trel::TCalcItem(1e308)};
  trel::TArtFormula formula;
  formula.host = &bridge;
  try {
    formula.Compile(text, static_cast<int>(names.size()), names.data());
  } catch (const std::exception&) {
    return;
  }
  Outcome fast = computeOnce(formula, bridge, false, start);
  if (fast.stepLimit) return;
  Outcome general = computeOnce(formula, bridge, true, start);
  if (general.stepLimit) return;
  FUZZ_CHECK(fast.result == general.result);
  for (size_t k = 0; k < start.size(); ++k)
    FUZZ_CHECK(sameValue(fast.values[k], general.values[k]));
}

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
  compareBothPaths(trel::fuzz::inputText(data, size), bridge);
  return 0;
}
