// Assignment, declarations, arrays, integer arithmetic, rounding and the 4-byte integer form.
#include <cmath>

#include "machine/instructions.h"
#include "machine/step_log_texts.h"
#include "rtl/errors.h"
#include "rtl/integer_text.h"
#include "rtl/random.h"
#include "rtl/real_text.h"

namespace trel {

namespace {

constexpr size_t kDivisionPrefixLength = 3;  // "DIV"

std::string randomSourceText() {
  int32_t range = randomInt(16777215);
  return intToText(randomInt(range));
}

// The zero-terminated text stored at one of our variable addresses.
std::string textAtAddress(const Machine& m, std::string_view addressText) {
  int32_t address = textToInt(addressText);
  int slot = VariableTable::slotAtAddress(static_cast<uint32_t>(address));
  if (slot < 0)
    throw Error("Invalid address " + std::string(addressText) + ": no variable lives there");
  const std::string& value = m.table.valueAt(slot);
  return value.substr(0, value.find('\0'));
}

void logMove(Machine& m, std::string_view source, std::string_view dest) {
  m.debug.append({steplog::kMoving, source, steplog::kTo, dest, steplog::kClose});
}

// Views into the working text, which no arithmetic instruction changes.
struct ArithmeticOperands {
  std::string_view dest;
  std::string_view source;
};

ArithmeticOperands splitAt(std::string_view text, char op) {
  size_t p = text.find(op);
  if (p == std::string_view::npos) return {"", trimView(text)};
  return {trimView(text.substr(0, p)), trimView(text.substr(p + 1))};
}

// dest := dest op source, when dest is declared.
void integerArithmetic(Machine& m, const ArithmeticOperands& ops, Instruction id) {
  int slot = m.table.findSlot(ops.dest);
  if (slot < 0) return;
  int32_t a = textToInt(m.table.valueAt(slot));
  int32_t b = textToInt(valueOrLiteral(m, ops.source));
  m.table.setIntAt(slot, integerOp(id, a, b));
}

// Nearest integer, halves to the even neighbour.
int64_t roundHalfEven(double x) {
  double r = std::nearbyint(x);
  if (!(r > -9.2233720368547758e18 && r < 9.2233720368547758e18))
    throw Error("Invalid floating point operation");
  return static_cast<int64_t>(r);
}

}  // namespace

int32_t integerOp(Instruction id, int32_t a, int32_t b) {
  uint32_t x = static_cast<uint32_t>(a), y = static_cast<uint32_t>(b);
  switch (id) {
    case Instruction::Add:
      return static_cast<int32_t>(x + y);
    case Instruction::Subtract:
      return static_cast<int32_t>(x - y);
    default:
      return static_cast<int32_t>(x * y);
  }
}

Outcome runAssign(Machine& m, RunFrame& f) {
  std::string_view t = f.text();
  size_t p = t.find(":=");
  std::string dest = trim(t.substr(0, p));
  std::string source = trim(t.substr(p + 2));

  if (startsWith(source, "RND")) source = randomSourceText();
  if (startsWith(source, "^^")) source = textAtAddress(m, m.table.GetVariable(source.substr(2)));
  if (startsWith(source, "@@")) {
    source = intToText(VariableAddress(m, std::string_view(source).substr(2)));
    int destSlot = m.table.findSlot(dest);
    if (destSlot >= 0) m.table.setValueAt(destSlot, source);
    logMove(m, source, dest);
  }
  logMove(m, source, dest);
  m.table.DeclareVariable(dest);

  int sourceSlot = m.table.findSlot(source);
  if (sourceSlot >= 0) {
    std::string value = m.table.valueAt(sourceSlot);
    m.table.SetVariable(dest, value);
    return Outcome::Continue;
  }
  if (startsWith(source, "^^") || startsWith(source, "@@")) source = VariableTable::kNotExists;
  if (startsWith(source, "RND")) source = randomSourceText();
  m.table.SetVariable(dest, source);
  if (startsWith(source, "!AH"))
    m.table.SetVariable(dest, intToText(static_cast<int64_t>(m.host.applicationHandle())));
  return Outcome::Continue;
}

Outcome runVar(Machine& m, RunFrame& f) {
  f.dropKeyword(Instruction::Var);
  std::string name = trim(f.text());
  m.debug.append("Reserve memory for variable: " + name);
  m.table.DeclareVariable(name);
  return Outcome::Continue;
}

Outcome runArray(Machine& m, RunFrame& f) {
  f.dropKeyword(Instruction::Array);
  std::string count(textBefore(f.text(), " "));
  std::string array = trim(dropFront(f.text(), count.size()));
  int32_t n = textToInt(count);
  for (int32_t i = 0; i <= n; ++i) m.table.DeclareVariable(array + "[" + intToText(i) + "]");
  m.debug.append("Reserve memory for array: " + array + ", cells: " + count);
  return Outcome::Continue;
}

Outcome runArrayLoad(Machine& m, RunFrame& f) {
  f.dropKeyword(Instruction::ArrayLoad);
  std::string index(textBefore(f.text(), " "));
  std::string array = trim(dropFront(f.text(), index.size()));
  std::string cell = array + "[" + std::string(valueOrLiteral(m, index)) + "]";
  std::string value = m.table.GetVariable(cell);
  m.table.SetVariable("RG2", value);
  return Outcome::Continue;
}

Outcome runArraySave(Machine& m, RunFrame& f) {
  f.dropKeyword(Instruction::ArraySave);
  std::string_view t = trimView(f.text());
  std::string index(textBefore(t, " "));
  t = trimView(dropFront(t, index.size()));
  std::string array(textBefore(t, " "));
  t = trimView(dropFront(t, array.size()));
  std::string value(t);
  std::string cell = array + "[" + std::string(valueOrLiteral(m, index)) + "]";
  std::string v(valueOrLiteral(m, value));
  m.table.SetVariable(cell, v);
  return Outcome::Continue;
}

Outcome runInt(Machine& m, RunFrame& f) {
  f.dropKeyword(Instruction::Int);
  f.trimText();
  std::string name = trim(f.text());
  m.debug.append("Make integer i386 variable: " + name);
  std::string v = m.table.GetVariable(name);
  if (startsWith(v, "##")) v.erase(0, 2);
  storeMachineForm(m, name, textToInt(v));
  return Outcome::Continue;
}

Outcome runAdd(Machine& m, RunFrame& f) {
  if (contains(f.text(), "@FORMULA")) return Outcome::Continue;
  ArithmeticOperands ops = splitAt(f.text(), '+');
  m.debug.append({steplog::kAdding, ops.source, steplog::kTo, ops.dest, steplog::kClose});
  integerArithmetic(m, ops, Instruction::Add);
  return Outcome::Continue;
}

Outcome runSubtract(Machine& m, RunFrame& f) {
  if (contains(f.text(), "@FORMULA") || contains(f.text(), "##")) return Outcome::Continue;
  ArithmeticOperands ops = splitAt(f.text(), '-');
  m.debug.append({steplog::kSubtracting, ops.source, steplog::kTo, ops.dest, steplog::kClose});
  integerArithmetic(m, ops, Instruction::Subtract);
  m.debug.append({ops.dest, steplog::kIs, m.table.GetVariable(ops.dest)});
  return Outcome::Continue;
}

Outcome runMultiply(Machine& m, RunFrame& f) {
  if (contains(f.text(), "@FORMULA")) return Outcome::Continue;
  ArithmeticOperands ops = splitAt(f.text(), '*');
  m.debug.append({steplog::kMultiplying, ops.source, steplog::kTo, ops.dest, steplog::kClose});
  integerArithmetic(m, ops, Instruction::Multiply);
  return Outcome::Continue;
}

// "/" drops three characters whatever stands there, then divides dest by source.
Outcome runDivide(Machine& m, RunFrame& f) {
  if (contains(f.text(), "@FORMULA")) return Outcome::Continue;
  // "/" has no keyword of its own to drop: a division line reads "DIV x/2", and three characters
  // go, whatever they are, after the blanks an indented line starts with.
  f.dropKeyword(kDivisionPrefixLength);
  std::string dest = trim(textBefore(f.text(), "/"));
  std::string source = trim(textAfter(f.text(), "/"));
  m.debug.append("Division (/) [" + source + "] to [" + dest + "]");
  int slot = m.table.findSlot(dest);
  if (slot < 0) return Outcome::Continue;
  int32_t a = textToInt(m.table.valueAt(slot));
  int32_t b = textToInt(valueOrLiteral(m, source));
  if (b == 0)
    throw Error(a == 0 ? "Invalid floating point operation" : "Floating point division by zero");
  m.table.setValueAt(slot, intToText(roundHalfEven(static_cast<double>(a) / b)));
  return Outcome::Continue;
}

Outcome runXor(Machine& m, RunFrame& f) {
  f.dropKeyword(Instruction::Xor);
  std::string a = trim(textBefore(f.text(), ","));
  std::string b = trim(textAfter(f.text(), ","));
  m.debug.append("EXOR [" + b + "] to [" + a + "]");
  int slot = m.table.findSlot(a);
  if (slot < 0) return Outcome::Continue;
  int32_t x = textToInt(m.table.valueAt(slot));
  int32_t y = textToInt(valueOrLiteral(m, b));
  m.table.setValueAt(slot, intToText(x ^ y));
  return Outcome::Continue;
}

Outcome runRound(Machine& m, RunFrame& f) {
  f.dropKeyword(Instruction::Round);
  f.trimText();
  std::string name(f.text());
  double value = textToReal(m.table.GetVariable(name));
  m.table.SetVariable(name, intToText(roundHalfEven(value)));
  return Outcome::Continue;
}

}  // namespace trel
