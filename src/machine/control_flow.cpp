// Labels, JUMP, CALL, RETURN, CMP, the four IF forms and HALT.
//
// The call stack text FL2 holds the return points of pending calls as 4-digit numbers, newest
// first, each the calling line's index plus 1000. The table pushes and pops them at FL2's front in
// constant time, so deep recursion costs no more per call than a shallow one.
#include "machine/instructions.h"
#include "machine/step_log_texts.h"
#include "rtl/errors.h"
#include "rtl/integer_text.h"

namespace trel {

namespace {

// Where a jump to the label goes: the index of the first line from 0 to the last line index that
// equals the label; when no line does, the label itself read as an integer (which fails with the
// integer error for any other text).
struct LabelTarget {
  std::string_view label;
  int32_t index;  // -1 when no line is the label
  int32_t line() const { return index >= 0 ? index : textToInt(label); }
};

LabelTarget labelSearch(Machine& m, const RunFrame& f, std::string_view label) {
  int32_t index = m.ListBox1.findFirst(label);
  return {label, index >= 0 && index <= f.lastLine ? index : -1};
}

// The target as the log shows it: the line index, or the label when no line is the label.
struct TargetText {
  char digits[16];
  std::string_view text;
  explicit TargetText(const LabelTarget& t) {
    text = t.index >= 0 ? std::string_view(digits, formatInt(digits, t.index) - digits) : t.label;
  }
};

// A program whose procedure calls itself without end stops here, with FL2 at 4 MB.
constexpr size_t kMaxPendingCalls = 1'000'000;

// Operand taking of the control-flow instructions: drop the keyword, trim the rest. The answer
// lies in the working text, which stays as it is for the rest of the instruction.
std::string_view takeOperand(RunFrame& f, Instruction id) {
  f.dropKeyword(id);
  f.trimText();
  return f.text();
}

Outcome conditionalJump(Machine& m, RunFrame& f, Instruction id,
                        bool (*holds)(const std::string&)) {
  std::string_view label = takeOperand(f, id);
  m.debug.append({steplog::kJumping, label});
  LabelTarget target = labelSearch(m, f, label);
  if (holds(m.table.GetVariable("FL1"))) {
    // One before the label: the step's own advance makes the label line the next one run.
    m.pc = target.line() - 1;
    f.jumped = true;
  }
  return Outcome::Continue;
}

}  // namespace

Outcome runJump(Machine& m, RunFrame& f) {
  LabelTarget target = labelSearch(m, f, takeOperand(f, Instruction::Jump));
  m.debug.append({steplog::kJumping, TargetText(target).text});
  m.pc = target.line();
  f.jumped = true;
  return Outcome::Continue;
}

Outcome runCall(Machine& m, RunFrame& f) {
  LabelTarget target = labelSearch(m, f, takeOperand(f, Instruction::Call));
  int32_t returnPoint = m.pc + 1000;
  if (returnPoint > 9999)
    throw Error("CALL from line " + intToText(m.pc) +
                ": a return point can only be kept for calls from lines 0 to 8999");
  if (m.table.valueSize("FL2") >= kMaxPendingCalls * VariableTable::kPiece)
    throw Error("CALL from line " + intToText(m.pc) + ": " + std::to_string(kMaxPendingCalls) +
                " calls are already pending (does a procedure call itself without end?)");
  m.table.pushFront("FL2", intToText(returnPoint));
  m.debug.append(
      {steplog::kJumping, TargetText(target).text, " FLAG2: ", m.table.frontFour("FL2")});
  m.pc = target.line();
  f.jumped = true;
  return Outcome::Continue;
}

Outcome runReturn(Machine& m, RunFrame& f) {
  std::string top = m.table.frontFour("FL2");
  m.debug.append({"BACK T0 FLAG2: ", top});
  if (!(m.table.valueSize("FL2") == 2 && top == "-1")) {
    m.pc = textToInt(top) - 1000;
    f.jumped = true;
  }
  m.table.popFront("FL2");
  return Outcome::Continue;
}

Outcome runCompare(Machine& m, RunFrame& f) {
  f.dropKeyword(Instruction::Compare);
  std::string_view a = trimView(textBefore(f.text(), ","));
  std::string_view b = trimView(textAfter(f.text(), ","));
  m.debug.append({steplog::kComparing, b, steplog::kTo, a, steplog::kClose});
  int slot = m.table.findSlot(a);
  if (slot >= 0) {
    std::string_view x = m.table.valueAt(slot);
    std::string_view y = valueOrLiteral(m, b);
    const char* result;
    int32_t xi = 0, yi = 0;
    bool xInt = tryTextToInt(x, xi), yInt = tryTextToInt(y, yi);
    if (!xInt && !yInt) {
      result = x == y ? "=" : "<>";
    } else {
      if (!xInt) throwInvalidInteger(x);
      if (!yInt) throwInvalidInteger(y);
      result = xi > yi ? ">" : xi < yi ? "<" : "=";
    }
    m.table.SetVariable("FL1", result);
  }
  m.debug.append({steplog::kResult, m.table.GetVariable("FL1"), steplog::kClose});
  return Outcome::Continue;
}

Outcome runIfEqual(Machine& m, RunFrame& f) {
  return conditionalJump(m, f, Instruction::IfEqual,
                         [](const std::string& fl1) { return fl1 == "="; });
}
Outcome runIfNotEqual(Machine& m, RunFrame& f) {
  return conditionalJump(m, f, Instruction::IfNotEqual,
                         [](const std::string& fl1) { return fl1 != "="; });
}
Outcome runIfGreater(Machine& m, RunFrame& f) {
  return conditionalJump(m, f, Instruction::IfGreater,
                         [](const std::string& fl1) { return fl1 == ">"; });
}
Outcome runIfLess(Machine& m, RunFrame& f) {
  return conditionalJump(m, f, Instruction::IfLess,
                         [](const std::string& fl1) { return fl1 == "<"; });
}

Outcome runHalt(Machine& m, RunFrame&) {
  if (m.firstArgumentPresent) return Outcome::EndRun;
  if (!m.console.visible()) m.host.showMessage("Trel: QN+ Execution done!");
  m.host.endProcess(0);
  return Outcome::EndRun;
}

}  // namespace trel
