// The class markers the translator emits: members become variables "class.member", methods get a
// second label "::class.method" in front of their own label line.
#include <algorithm>
#include <vector>

#include "machine/instructions.h"

namespace trel {

namespace {

// Inserts `newLabel` directly before the first line (0 to the last line index) that equals
// `found`. Nothing happens when no line equals `found`, or when a line equal to `newLabel` already
// exists: a marker that runs again after its own insertion moved it down must not grow the program.
// The inserted line lengthens the run, so the program's last lines still run.
void insertLabelBefore(Machine& m, RunFrame& f, const std::string& found,
                       const std::string& newLabel) {
  int32_t at = m.ListBox1.findFirst(found);
  if (at < 0 || at > f.lastLine) return;
  if (m.ListBox1.findFirst(newLabel) >= 0) return;
  // The label belongs to the marker that made it: it takes the marker line's place in the source.
  SourceLocation origin =
      m.pc >= 0 && m.pc < m.ListBox1.size() ? m.ListBox1.origin(m.pc) : SourceLocation{};
  m.ListBox1.insert(at, newLabel, origin);
  ++f.lastLine;
}

// Marker operand: trim, drop the marker's characters, trim.
std::string markerOperand(RunFrame& f, Instruction marker) {
  f.trimText();
  f.dropChars(instructionKeyword(marker).size());
  f.trimText();
  return std::string(f.text());
}

}  // namespace

Outcome runBeginClass(Machine& m, RunFrame& f) {
  m.table.SetVariable("RG8", markerOperand(f, Instruction::BeginClass));
  return Outcome::Continue;
}

Outcome runEndClass(Machine& m, RunFrame&) {
  m.table.SetVariable("RG8", "00");
  return Outcome::Continue;
}

Outcome runProperty(Machine& m, RunFrame& f) {
  std::string member = markerOperand(f, Instruction::Property);
  m.table.DeclareVariable(m.table.GetVariable("RG8") + "." + member);
  return Outcome::Continue;
}

Outcome runMethod(Machine& m, RunFrame& f) {
  std::string method = markerOperand(f, Instruction::Method);
  std::string cls = m.table.GetVariable("RG8");
  m.table.DeclareVariable(cls + "." + method);
  insertLabelBefore(m, f, "::" + method, "::" + cls + "." + method);
  return Outcome::Continue;
}

Outcome runInherit(Machine& m, RunFrame& f) {
  std::string t = markerOperand(f, Instruction::Inherit);
  std::string parent(textBefore(t, " "));
  std::string child = trim(dropFront(t, parent.size()));
  // The slots in use when the instruction begins, in slot order. The slots it declares itself are
  // not visited: when the child's name holds the parent's, theirs do too, and visiting them would
  // declare longer names without end. The free slots all bear one name, so the lowest stands for
  // all of them (visiting the others again declares and inserts nothing new).
  std::vector<int> slots = m.table.namedSlots();
  int freeSlot = m.table.lowestFreeSlot();
  if (freeSlot >= 0) slots.push_back(freeSlot);
  std::sort(slots.begin(), slots.end());
  std::vector<std::string> names;
  names.reserve(slots.size());
  for (int slot : slots) names.push_back(m.table.nameAt(slot));
  for (const std::string& name : names) {
    if (name.find(parent) == std::string::npos) continue;
    size_t dot = name.find('.');
    std::string member = dot == std::string::npos ? name : name.substr(dot + 1);
    m.table.DeclareVariable(child + "." + member);
    insertLabelBefore(m, f, "::" + name, "::" + child + "." + member);
  }
  m.table.DeclareVariable(child + ".class");
  m.table.SetVariable(child + ".class", parent);
  return Outcome::Continue;
}

}  // namespace trel
