// @FORMULA: the formula component computes the rest of the line against all machine variables and
// the result lands in RG0.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

#include "formula/art_formula.h"
#include "formula/formula_host.h"
#include "machine/host.h"

namespace trel {

class Machine;
class VariableTable;

// The machine's variables as the formula component sees them: slots 0 to 9255 by index, each
// named by its slot's name (empty for a free slot) and worth the slot's value read as a number
// (1 for a text that is no number, 0 for a free slot).
inline constexpr int kFormulaVariableCount = 9256;

// Upper-cased name -> lowest slot bearing it, kept up to date with the slots named since the last
// look instead of being rebuilt from 9,256 slots for every formula.
class SlotNameIndex {
 public:
  int find(const VariableTable& table, std::string_view name, bool caseSensitive);

 private:
  void update(const VariableTable& table);
  void add(const VariableTable& table, int slot);
  void rebuild(const VariableTable& table);

  std::unordered_map<std::string, int> lowest_;
  uint64_t clearSeen_ = ~uint64_t{0};
  size_t namedSeen_ = 0;
};

// The component F of the main window (with the main window's settings) and what it keeps between
// instructions.
struct FormulaState {
  TArtFormula F;
  SlotNameIndex names;
};

// Dialogs through the host; a stop request is a checked "Only translate" box or the Stop command
// (Machine::stopRequested) after the host has served its events. Under a step limit (qn
// --max-steps) every look counts as a step, so a formula that never ends meets the limit too ("Step
// limit reached", StepLimitError). Without a machine the bridge keeps a limit of its own (0: none).
class FormulaHostBridge : public FormulaHost {
 public:
  FormulaHostBridge(Host& host, Machine* machine) : host_(host), machine_(machine) {}
  uint64_t maxSteps = 0;
  uint64_t stepsTaken = 0;
  std::string input(const std::string& caption, const std::string& prompt,
                    const std::string& value) override;
  int message(const std::string& text, const std::string& caption, int flags) override;
  bool stopRequested() override;

 private:
  Host& host_;
  Machine* machine_;
};

// Computes a formula on the machine's current values without changing them (a debugger's watch);
// throws the component's error when it cannot.
std::string computeOnMachine(Machine& m, const std::string& formula);

}  // namespace trel
