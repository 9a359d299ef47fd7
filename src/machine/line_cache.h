// What a program line's step needs each time a loop comes round to it, worked out the first time:
// the "Interpreting" log line of its first instruction and, for a line that holds exactly one
// instruction of the common kinds (integer arithmetic, CMP, the IF forms, JUMP, a plain
// assignment), its operands taken apart, their log lines spelled out, the variable slots they name
// and the line a jump goes to.
//
// An entry stays valid while the program list, the variable table's names and the run's last line
// index stay as they were (ProgramList::generation, VariableTable::layout, RunFrame::lastLine);
// after any change the next step at that line works it out again. A decoded step has exactly the
// effects, log lines and errors of the instruction's own handler.
//
// A line that starts with @FORMULA and whose other keywords are arithmetic signs keeps its
// formula's compiled code when the formula computes numbers only, once the instruction has
// compiled it; its step then computes straight from the slots into RG0.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "machine/instruction_set.h"
#include "machine/program_list.h"
#include "machine/run_frame.h"
#include "machine/variable_table.h"

namespace trel {

class Machine;
struct DecodedFormula;

enum class LineForm : uint8_t {
  General,
  Arithmetic,
  Compare,
  ConditionalJump,
  Jump,
  Assign,
  Formula
};

struct DecodedLine {
  DecodedLine();
  ~DecodedLine();
  uint64_t listGeneration = ~uint64_t{0};
  uint64_t tableLayout = ~uint64_t{0};
  int32_t lastLine = -1;
  Instruction id = Instruction::Formula;  // the line's first instruction
  LineForm form = LineForm::General;
  std::string interpreting;  // "Interpreting  [" + the line upper-cased + "]"
  std::string first;         // the instruction's first log line, the same on every step
  std::string a, b;          // dest and source, CMP's two sides, or the label (a)
  int slotA = -1, slotB = -1, flagSlot = -1;
  bool bIsInt = false;  // b names no variable and reads as the integer bValue
  int32_t bValue = 0;
  int32_t target = -1;  // the label's line, or -1 when no line up to the last one is the label
  // Formula: the compiled formula, and how many tests after @FORMULA find their keyword in the
  // line (arithmetic signs, whose instructions leave a formula line alone and only log).
  std::unique_ptr<DecodedFormula> formula;
  int repeats = 0;
  bool formulaRetried = false;  // decoded again once after the instruction first compiled it
};

class LineCache {
 public:
  // The entry of the line at the program counter, worked out again when it is stale. The line
  // must be the working text as read (not shortened) and must hold at least one instruction.
  const DecodedLine& at(Machine& m, const RunFrame& f, int32_t pc, const ProgramList& list,
                        const VariableTable& table) {
    size_t i = static_cast<size_t>(pc);
    if (i < lines_.size() && lines_[i]) {
      const DecodedLine& d = *lines_[i];
      if (d.listGeneration == list.generation() && d.tableLayout == table.layout() &&
          d.lastLine == f.lastLine)
        return d;
    }
    return decode(m, f);
  }
  void clear() { lines_.clear(); }

 private:
  const DecodedLine& decode(Machine& m, const RunFrame& f);
  std::vector<std::unique_ptr<DecodedLine>> lines_;  // by line index; null until the line runs
};

// Runs the decoded instruction of a line whose form is not General.
Outcome runDecoded(Machine& m, RunFrame& f, const DecodedLine& d);

}  // namespace trel
