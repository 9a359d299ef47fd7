// @FORMULA: the formula component computes the rest of the line against all machine variables and
// the result lands in RG0.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

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

// The names a compilation looked up and the slot each resolved to (-1: none).
using NameLookups = std::vector<std::pair<std::string, int>>;

// Compiled @FORMULA texts, so that a formula run again is not compiled again against all 9,256
// variables. An entry serves only the same text with the same compile settings, and only while
// every name its compilation looked up resolves to the same slot: names are checked again
// whenever the table named or cleared slots since the last check. At most kCapacity entries of
// texts up to kLongestText characters; the one used longest ago goes first.
class FormulaCache {
 public:
  static constexpr size_t kCapacity = 64;
  static constexpr size_t kLongestText = 4096;

  // The code compiled for the text with F's settings, or null when it must be compiled.
  const TArtFormula::Compiled* find(const std::string& text, const TArtFormula& F,
                                    const VariableTable& table, SlotNameIndex& names);
  // Keeps what F compiled last from the text, with the lookups it made.
  void add(const std::string& text, const TArtFormula& F, NameLookups lookups,
           const VariableTable& table);
  size_t size() const { return entries_.size(); }

 private:
  struct Entry {
    TArtFormula::CompileSettings settings;
    NameLookups lookups;
    TArtFormula::Compiled compiled;
    uint64_t clearSeen = 0;  // the table's clearCount() and named slots when last checked
    size_t namedSeen = 0;
    uint64_t lastUse = 0;
  };
  std::unordered_map<std::string, Entry> entries_;
  uint64_t uses_ = 0;
  uint64_t saved_ = 0;
};

// The component F of the main window (with the main window's settings) and what it keeps between
// instructions.
struct FormulaState {
  TArtFormula F;
  SlotNameIndex names;
  FormulaCache compiled;
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

// What a program line's @FORMULA keeps between its steps when its formula computes numbers only:
// the compiled code, the settings it was compiled with and the slot of RG0. It holds while the
// table's names stay as they were (the line cache sees to that).
struct DecodedFormula {
  TArtFormula::CompileSettings settings;  // its literals those of literalsVersion
  uint64_t literalsVersion = 0;
  FastCode fast;
  int resultSlot = -1;
};

// Fills `into` from the code the instruction compiled last time it ran the text; false when there
// is none or it needs the general evaluator.
bool decodeFormula(Machine& m, const std::string& text, DecodedFormula& into);
// Computes the formula into RG0 exactly as the instruction does; false, with nothing changed, when
// the instruction itself must run (other settings, or an error to report).
bool runDecodedFormula(Machine& m, const DecodedFormula& d);

// Computes a formula on the machine's current values without changing them (a debugger's watch);
// throws the component's error when it cannot.
std::string computeOnMachine(Machine& m, const std::string& formula);

}  // namespace trel
