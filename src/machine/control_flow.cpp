// Labels, JUMP, CALL, RETURN, CMP, the four IF forms and HALT.
//
// The call stack text FL2 holds the return points of pending calls as 4-digit numbers, newest
// first, each the calling line's index plus 1000. The table pushes and pops them at FL2's front in
// constant time, so deep recursion costs no more per call than a shallow one.
#include "machine/instructions.h"
#include "rtl/errors.h"
#include "rtl/integer_text.h"

namespace trel {

namespace {

// The index of the first line from 0 to the last line index that equals the label, as decimal
// text; the label itself when no line does (converting it then fails with the integer error).
std::string labelSearch(Machine& m, const RunFrame& f, const std::string& label) {
  int32_t index = m.ListBox1.findFirst(label);
  if (index >= 0 && index <= f.lastLine) return intToText(index);
  return label;
}

// A program whose procedure calls itself without end stops here, with FL2 at 4 MB.
constexpr size_t kMaxPendingCalls = 1'000'000;

// Operand taking of the control-flow instructions: drop the keyword, trim the rest.
std::string takeOperand(RunFrame& f, Instruction id) {
  f.dropKeyword(id);
  f.trimText();
  return std::string(f.text());
}

Outcome conditionalJump(Machine& m, RunFrame& f, Instruction id,
                        bool (*holds)(const std::string&)) {
  std::string label = takeOperand(f, id);
  m.debug.append({"JUMPING: ", label});
  std::string target = labelSearch(m, f, label);
  if (holds(m.table.GetVariable("FL1"))) {
    // One before the label: the step's own advance makes the label line the next one run.
    m.pc = textToInt(target) - 1;
    f.jumped = true;
  }
  return Outcome::Continue;
}

}  // namespace

Outcome runJump(Machine& m, RunFrame& f) {
  std::string target = labelSearch(m, f, takeOperand(f, Instruction::Jump));
  m.debug.append({"JUMPING: ", target});
  m.pc = textToInt(target);
  f.jumped = true;
  return Outcome::Continue;
}

Outcome runCall(Machine& m, RunFrame& f) {
  std::string target = labelSearch(m, f, takeOperand(f, Instruction::Call));
  int32_t returnPoint = m.pc + 1000;
  if (returnPoint > 9999)
    throw Error("CALL from line " + intToText(m.pc) +
                ": a return point can only be kept for calls from lines 0 to 8999");
  if (m.table.valueSize("FL2") >= kMaxPendingCalls * VariableTable::kPiece)
    throw Error("CALL from line " + intToText(m.pc) + ": " + std::to_string(kMaxPendingCalls) +
                " calls are already pending (does a procedure call itself without end?)");
  m.table.pushFront("FL2", intToText(returnPoint));
  m.debug.append({"JUMPING: ", target, " FLAG2: ", m.table.frontFour("FL2")});
  m.pc = textToInt(target);
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
  std::string a = trim(textBefore(f.text(), ","));
  std::string b = trim(textAfter(f.text(), ","));
  m.debug.append({"Compare (=) [", b, "] to [", a, "]"});
  int slot = m.table.findSlot(a);
  if (slot >= 0) {
    std::string x = m.table.valueAt(slot);
    std::string y(valueOrLiteral(m, b));
    const char* result;
    if (!isIntegerText(x) && !isIntegerText(y)) {
      result = x == y ? "=" : "<>";
    } else {
      int32_t xi = textToInt(x), yi = textToInt(y);
      result = xi > yi ? ">" : xi < yi ? "<" : "=";
    }
    m.table.SetVariable("FL1", result);
  }
  m.debug.append({"RESULT [", m.table.GetVariable("FL1"), "]"});
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
