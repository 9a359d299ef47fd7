#include "machine/line_cache.h"

#include <bit>
#include <memory>

#include "machine/formula_instruction.h"
#include "machine/instructions.h"
#include "machine/machine.h"
#include "machine/step_log_texts.h"
#include "rtl/integer_text.h"
#include "rtl/text.h"

namespace trel {

namespace {

constexpr uint64_t kInstructionBits = (uint64_t{1} << kInstructionCount) - 1;

std::string joined(std::initializer_list<std::string_view> parts) {
  std::string out;
  for (std::string_view p : parts) out += p;
  return out;
}

// The slots the operands name and what b reads as when it names none; they depend on the
// table's names only.
void resolveSlots(const Machine& m, DecodedLine& d) {
  d.slotA = m.table.findSlot(d.a);
  d.slotB = m.table.findSlot(d.b);
  d.flagSlot = m.table.findSlot("FL1");
  d.bIsInt = d.slotB < 0 && tryTextToInt(d.b, d.bValue);
}

// dest op source, as "dest+source" splits (the first op character divides).
bool decodeArithmetic(std::string_view line, DecodedLine& d) {
  char op;
  std::string_view title;
  switch (d.id) {
    case Instruction::Add:
      op = '+', title = steplog::kAdding;
      break;
    case Instruction::Subtract:
      op = '-', title = steplog::kSubtracting;
      break;
    case Instruction::Multiply:
      op = '*', title = steplog::kMultiplying;
      break;
    default:
      return false;
  }
  // Lines the handler leaves alone keep to the handler.
  if (contains(line, "@FORMULA") || (d.id == Instruction::Subtract && contains(line, "##")))
    return false;
  size_t p = line.find(op);
  if (p == std::string_view::npos) return false;
  d.a = trimView(line.substr(0, p));
  d.b = trimView(line.substr(p + 1));
  d.first = joined({title, d.b, steplog::kTo, d.a, steplog::kClose});
  d.form = LineForm::Arithmetic;
  return true;
}

bool decodeCompare(std::string_view line, DecodedLine& d) {
  if (d.id != Instruction::Compare) return false;
  std::string_view text =
      dropFront(trimLeftView(line), instructionKeyword(Instruction::Compare).size());
  size_t comma = text.find(',');
  d.a = trimView(comma == std::string_view::npos ? std::string_view() : text.substr(0, comma));
  d.b = trimView(comma == std::string_view::npos ? text : text.substr(comma + 1));
  d.first = joined({steplog::kComparing, d.b, steplog::kTo, d.a, steplog::kClose});
  d.form = LineForm::Compare;
  return true;
}

bool decodeJump(Machine& m, const RunFrame& f, std::string_view line, DecodedLine& d) {
  bool conditional = d.id == Instruction::IfEqual || d.id == Instruction::IfNotEqual ||
                     d.id == Instruction::IfGreater || d.id == Instruction::IfLess;
  if (!conditional && d.id != Instruction::Jump) return false;
  std::string_view label = trimView(dropFront(trimLeftView(line), instructionKeyword(d.id).size()));
  d.a = label;
  int32_t index = m.ListBox1.findFirst(label);
  d.target = index >= 0 && index <= f.lastLine ? index : -1;
  if (conditional) {
    d.first = joined({steplog::kJumping, label});
    d.form = LineForm::ConditionalJump;
  } else {
    d.first = std::string(steplog::kJumping) + (d.target >= 0 ? intToText(d.target) : d.a);
    d.form = LineForm::Jump;
  }
  return true;
}

// "dest:=source" with a source that is a variable's name or plain text, into a declared dest.
bool decodeAssign(const Machine& m, std::string_view line, DecodedLine& d) {
  if (d.id != Instruction::Assign) return false;
  size_t p = line.find(":=");
  d.a = trimView(line.substr(0, p));
  d.b = trimView(line.substr(p + 2));
  for (std::string_view special : {"RND", "^^", "@@", "!AH"})
    if (startsWith(d.b, special)) return false;
  // Declaring dest would change the table, and a write to the free slots' name reaches all of
  // them: both stay with the handler.
  if (m.table.findSlot(d.a) < 0 || m.table.isFreeSlotName(d.a)) return false;
  d.first = joined({steplog::kMoving, d.b, steplog::kTo, d.a, steplog::kClose});
  d.form = LineForm::Assign;
  return true;
}

// "@FORMULA text" with nothing after it that runs: the arithmetic instructions leave a line that
// holds "@FORMULA" alone, so each of their keywords adds its "Interpreting" line only.
bool decodeFormulaLine(Machine& m, const std::string& line, uint64_t mask, DecodedLine& d) {
  constexpr uint64_t kLogOnly =
      instructionBit(Instruction::Add) | instructionBit(Instruction::Subtract) |
      instructionBit(Instruction::Multiply) | instructionBit(Instruction::Divide);
  uint64_t rest = mask & ~instructionBit(Instruction::Formula);
  if (d.id != Instruction::Formula || (rest & ~kLogOnly) != 0 || !contains(line, "@FORMULA"))
    return false;
  std::string text(dropFront(trimLeftView(line), instructionKeyword(Instruction::Formula).size()));
  if (!d.formula) d.formula = std::make_unique<DecodedFormula>();
  if (!decodeFormula(m, text, *d.formula)) {
    // The first run compiles the formula: look again at the next step.
    if (!d.formulaRetried) {
      d.formulaRetried = true;
      d.listGeneration = ~uint64_t{0};
    }
    return false;
  }
  d.repeats = std::popcount(rest);
  d.form = LineForm::Formula;
  return true;
}

void decode(Machine& m, const RunFrame& f, DecodedLine& d) {
  const std::string& line = m.ListBox1.line(m.pc);
  uint64_t mask = m.ListBox1.maskAt(m.pc) & kInstructionBits;
  d.listGeneration = m.ListBox1.generation();
  d.tableLayout = m.table.layout();
  d.lastLine = f.lastLine;
  d.id = static_cast<Instruction>(std::countr_zero(mask));
  d.interpreting.assign(AssemblyLog::kInterpreting);
  d.interpreting += upperCase(line);
  d.interpreting += ']';
  d.form = LineForm::General;
  d.first.clear();
  d.a.clear();
  d.b.clear();
  d.target = -1;
  // Only a line with one instruction in it: the tests after that instruction's then find
  // nothing, so the instruction's effects are the whole step.
  if (decodeFormulaLine(m, line, mask, d)) return;
  if (std::popcount(mask) != 1) return;
  if (decodeArithmetic(line, d) || decodeCompare(line, d) || decodeJump(m, f, line, d) ||
      decodeAssign(m, line, d))
    resolveSlots(m, d);
}

inline int32_t slotInt(const Machine& m, int slot) {
  int32_t v;
  if (!m.table.intAt(slot, v)) throwInvalidInteger(m.table.valueAt(slot));
  return v;
}

int32_t sourceInt(const Machine& m, const DecodedLine& d) {
  if (d.slotB >= 0) return slotInt(m, d.slotB);
  return d.bIsInt ? d.bValue : textToInt(d.b);
}

void runArithmetic(Machine& m, const DecodedLine& d) {
  m.debug.append(d.first);
  if (d.slotA >= 0) {
    int32_t a = slotInt(m, d.slotA);
    int32_t b = sourceInt(m, d);
    m.table.setIntAt(d.slotA, integerOp(d.id, a, b));
  }
  if (d.id == Instruction::Subtract)
    m.debug.append({d.a, steplog::kIs, m.table.valueOrNotExists(d.slotA)});
}

void runCompare(Machine& m, const DecodedLine& d) {
  static constexpr std::string_view kResults[] = {"RESULT [=]", "RESULT [<>]", "RESULT [<]",
                                                  "RESULT [>]"};
  m.debug.append(d.first);
  if (d.slotA >= 0) {
    int32_t xi = 0, yi = d.bValue;
    bool xInt = m.table.intAt(d.slotA, xi);
    bool yInt = d.slotB >= 0 ? m.table.intAt(d.slotB, yi) : d.bIsInt;
    auto y = [&]() -> std::string_view {
      return d.slotB >= 0 ? std::string_view(m.table.valueAt(d.slotB)) : std::string_view(d.b);
    };
    int result;
    if (!xInt && !yInt) {
      result = m.table.valueAt(d.slotA) == y() ? 0 : 1;
    } else {
      if (!xInt) throwInvalidInteger(m.table.valueAt(d.slotA));
      if (!yInt) throwInvalidInteger(y());
      result = xi > yi ? 3 : xi < yi ? 2 : 0;
    }
    if (d.flagSlot >= 0) {
      std::string_view text = kResults[result];
      m.table.setValueAt(d.flagSlot, text.substr(8, text.size() - 9));
      m.debug.append(text);
      return;
    }
  }
  m.debug.append({steplog::kResult, m.table.valueOrNotExists(d.flagSlot), steplog::kClose});
}

// A taken jump leaves its label as the working text, as the handler does.
void leaveOperand(RunFrame& f, const DecodedLine& d) {
  f.work.text.assign(d.a);
  f.work.inList = false;
  f.work.modified = true;
  f.jumped = true;
}

int32_t targetLine(const DecodedLine& d) {
  return d.target >= 0 ? d.target : textToInt(d.a);
}

void runConditionalJump(Machine& m, RunFrame& f, const DecodedLine& d) {
  m.debug.append(d.first);
  const std::string& flag = m.table.valueOrNotExists(d.flagSlot);
  bool holds;
  switch (d.id) {
    case Instruction::IfEqual:
      holds = flag == "=";
      break;
    case Instruction::IfNotEqual:
      holds = flag != "=";
      break;
    case Instruction::IfGreater:
      holds = flag == ">";
      break;
    default:
      holds = flag == "<";
      break;
  }
  if (!holds) return;
  m.pc = targetLine(d) - 1;
  leaveOperand(f, d);
}

void runJump(Machine& m, RunFrame& f, const DecodedLine& d) {
  m.debug.append(d.first);
  m.pc = targetLine(d);
  leaveOperand(f, d);
}

void runAssign(Machine& m, const DecodedLine& d) {
  m.debug.append(d.first);
  if (d.slotB >= 0) {
    m.table.copyValue(d.slotB, d.slotA);
  } else {
    m.table.setValueAt(d.slotA, d.b);
  }
}

}  // namespace

DecodedLine::DecodedLine() = default;
DecodedLine::~DecodedLine() = default;

const DecodedLine& LineCache::decode(Machine& m, const RunFrame& f) {
  size_t i = static_cast<size_t>(m.pc);
  if (lines_.size() < static_cast<size_t>(m.ListBox1.size()))
    lines_.resize(static_cast<size_t>(m.ListBox1.size()));
  std::unique_ptr<DecodedLine>& entry = lines_[i];
  if (!entry) entry = std::make_unique<DecodedLine>();
  trel::decode(m, f, *entry);
  return *entry;
}

Outcome runDecoded(Machine& m, RunFrame& f, const DecodedLine& d) {
  switch (d.form) {
    case LineForm::Arithmetic:
      runArithmetic(m, d);
      break;
    case LineForm::Compare:
      runCompare(m, d);
      break;
    case LineForm::ConditionalJump:
      runConditionalJump(m, f, d);
      break;
    case LineForm::Jump:
      runJump(m, f, d);
      break;
    case LineForm::Assign:
      runAssign(m, d);
      break;
    case LineForm::General:
    case LineForm::Formula:
      break;
  }
  return Outcome::Continue;
}

}  // namespace trel
