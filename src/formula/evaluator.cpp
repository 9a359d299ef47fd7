// TFormulaCalc::run: the loop that carries out formula code (code_format.h) on the value stack.
// Operands are read straight from the code. Every operand and jump target is checked against the
// code's length and every pop against the stack, so code that did not come from the compiler can
// raise "Wrong bytecode!" but never read outside the code or below the stack.
#include <cmath>
#include <cstring>

#include "formula/art_formula.h"
#include "formula/code_format.h"
#include "formula/formula_calc.h"
#include "formula/formula_exception.h"
#include "formula/function_table.h"
#include "formula/numeric_operators.h"
#include "rtl/arithmetic_errors.h"
#include "rtl/file_mask.h"
#include "rtl/text.h"

namespace trel {

namespace {

[[noreturn]] void wrongBytecode() {
  throw FormulaException("Wrong bytecode!");
}

// Code run between two looks at the host's stop request, counted in code bytes (a jump counts
// one more, so a jump to itself is counted too): a few thousand instructions.
constexpr size_t kPollEvery = 16384;

// Case labels for the operators, checked at compile time against their entries in
// fcode::kOperators: each group of cases in run() takes the operators the table says it does.
consteval uint8_t checkedOperator(fcode::Op op, fcode::Fixity fixity, fcode::Operands operands) {
  const int k = fcode::operatorIndex(op);
  if (k < 0 || fcode::kOperators[k].fixity != fixity || fcode::kOperators[k].operands != operands)
    throw "the operator's entry in fcode::kOperators says otherwise";
  return op;
}
consteval uint8_t prefixOnNumbers(fcode::Op op) {
  return checkedOperator(op, fcode::Fixity::Prefix, fcode::Operands::Numbers);
}
consteval uint8_t infixOnNumbers(fcode::Op op) {
  return checkedOperator(op, fcode::Fixity::Infix, fcode::Operands::Numbers);
}
consteval uint8_t infixOnNumbersOrTexts(fcode::Op op) {
  return checkedOperator(op, fcode::Fixity::Infix, fcode::Operands::NumbersOrTexts);
}
consteval uint8_t infixOnTexts(fcode::Op op) {
  return checkedOperator(op, fcode::Fixity::Infix, fcode::Operands::Texts);
}

}  // namespace

void TFormulaCalc::addSlow(TCalcItem& l, TCalcItem& r) {
  double a, b;
  if (tryToNumber(l, a) && tryToNumber(r, b)) {
    l.setNumber(checkedReal(a + b));
    return;
  }
  std::string joined = toText(l);
  std::string right = toText(r);
  checkTextLength(joined.size() + right.size());
  l.setText(joined + right);
}

// Compares as numbers when both are numbers, else as texts: -1, 0 or 1.
double TFormulaCalc::compare(TCalcItem& l, TCalcItem& r) {
  double a, b;
  if (tryToNumber(l, a) && tryToNumber(r, b)) return a < b ? -1 : (a > b ? 1 : 0);
  std::string x = toText(l), y = toText(r);
  if (!owner_.CaseSensitiveString) {
    x = upperCase(x);
    y = upperCase(y);
  }
  int c = x.compare(y);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

void TFormulaCalc::call(unsigned index, unsigned count) {
  if (index >= kFunctionTable.size()) wrongBytecode();
  const FTableItem& f = kFunctionTable[index];
  int taking;
  if (count == fcode::kVariableCount) {
    need(1);
    const TCalcItem& m = items_[top_ - 1];
    if (f.count != kAnyCount || m.kind != CalcKind::Number || !(m.number >= 0) ||
        m.number > top_ - 1 || m.number != std::trunc(m.number))
      wrongBytecode();
    taking = static_cast<int>(m.number) + 1;
  } else {
    if (static_cast<int>(count) != f.count) wrongBytecode();
    // A call without arguments takes one item all the same: a 0 pushed for it.
    if (count == 0) pushNumber(0);
    taking = count == 0 ? 1 : static_cast<int>(count);
    need(taking);
  }
  result_.kind = CalcKind::Number;
  result_.number = 0;
  f.handler(*this, result_);
  top_ -= taking;
  TCalcItem& slot = items_[top_++];
  slot.kind = result_.kind;
  if (result_.kind == CalcKind::Number)
    slot.number = result_.number;
  else
    slot.text.swap(result_.text);
}

void TFormulaCalc::run(std::string_view code) {
  const auto* c = reinterpret_cast<const uint8_t*>(code.data());
  const size_t n = code.size();
  const bool step = owner_.Step;
  VariableContext& variables = owner_.context();
  size_t pos = 0;
  size_t segment = 0;  // where execution last landed after a jump
  size_t work = 0;
  auto operand = [&](size_t bytes) {
    if (n - pos <= bytes) wrongBytecode();
  };
  auto jumpTo = [&](size_t target) {
    if (target > n) wrongBytecode();
    work += pos - segment + 1;
    pos = segment = target;
    if (work >= kPollEvery) {
      work = 0;
      owner_.pollStop();
    }
  };

  while (pos < n) {
    if (step) owner_.pollStop();
    const uint8_t op = c[pos];
    switch (op) {
      case fcode::kNumber:
        operand(8);
        pushNumber(fcode::getF64(c + pos + 1));
        pos += 9;
        break;
      case fcode::kText:
      case fcode::kExternVar: {
        operand(4);
        size_t length = fcode::getU32(c + pos + 1);
        if (n - pos - 5 < length) wrongBytecode();
        TCalcItem& slot = nextSlot();
        if (op == fcode::kText)
          slot.setText(code.substr(pos + 5, length));
        else
          slot.setReference(code.substr(pos + 5, length));
        ++top_;
        pos += 5 + length;
        break;
      }
      case fcode::kVariable: {
        operand(4);
        uint32_t index = fcode::getU32(c + pos + 1);
        if (index >= static_cast<uint32_t>(variables.hostCount())) wrongBytecode();
        push(variables.hostValue(static_cast<int>(index)));
        pos += 5;
        break;
      }
      case fcode::kDrop:
        need(1);
        --top_;
        ++pos;
        break;
      case fcode::kJump:
        operand(4);
        jumpTo(fcode::getU32(c + pos + 1));
        break;
      case fcode::kJumpIfZero: {
        operand(4);
        need(1);
        double v = toNumber(items_[top_ - 1]);
        --top_;
        if (v == 0)
          jumpTo(fcode::getU32(c + pos + 1));
        else
          pos += 5;
        break;
      }
      case fcode::kCall:
        operand(2);
        call(c[pos + 1], c[pos + 2]);
        pos += 3;
        break;
      case fcode::kStop:
        pos = n;
        break;
      case prefixOnNumbers(fcode::kNot):
      case prefixOnNumbers(fcode::kNegate):
      case prefixOnNumbers(fcode::kBitNot): {
        need(1);
        TCalcItem& x = items_[top_ - 1];
        x.setNumber(numericPrefix(op, toNumber(x)));
        ++pos;
        break;
      }
      case infixOnNumbersOrTexts(fcode::kAdd): {
        need(2);
        TCalcItem& l = items_[top_ - 2];
        TCalcItem& r = items_[top_ - 1];
        if (l.kind == CalcKind::Number && r.kind == CalcKind::Number) [[likely]]
          l.number = checkedReal(l.number + r.number);
        else
          addSlow(l, r);
        --top_;
        ++pos;
        break;
      }
      case infixOnNumbers(fcode::kSub):
      case infixOnNumbers(fcode::kMul): {
        need(2);
        TCalcItem& l = items_[top_ - 2];
        TCalcItem& r = items_[top_ - 1];
        if (l.kind == CalcKind::Number && r.kind == CalcKind::Number) [[likely]] {
          l.number = checkedReal(op == fcode::kSub ? l.number - r.number : l.number * r.number);
        } else {
          double a = toNumber(l);
          l.setNumber(numericInfix(op, a, toNumber(r)));
        }
        --top_;
        ++pos;
        break;
      }
      case infixOnNumbers(fcode::kDiv):
      case infixOnNumbers(fcode::kPower):
      case infixOnNumbers(fcode::kIntDiv):
      case infixOnNumbers(fcode::kMod):
      case infixOnNumbers(fcode::kAnd):
      case infixOnNumbers(fcode::kOr):
      case infixOnNumbers(fcode::kXor):
      case infixOnNumbers(fcode::kBitAnd):
      case infixOnNumbers(fcode::kBitOr):
      case infixOnNumbers(fcode::kBitXor):
      case infixOnNumbers(fcode::kShiftLeft):
      case infixOnNumbers(fcode::kShiftRight): {
        need(2);
        TCalcItem& l = items_[top_ - 2];
        TCalcItem& r = items_[top_ - 1];
        double a = toNumber(l);
        l.setNumber(numericInfix(op, a, toNumber(r)));
        --top_;
        ++pos;
        break;
      }
      case infixOnNumbersOrTexts(fcode::kEqual):
      case infixOnNumbersOrTexts(fcode::kNotEqual):
      case infixOnNumbersOrTexts(fcode::kLess):
      case infixOnNumbersOrTexts(fcode::kGreater):
      case infixOnNumbersOrTexts(fcode::kLessEqual):
      case infixOnNumbersOrTexts(fcode::kGreaterEqual): {
        need(2);
        TCalcItem& l = items_[top_ - 2];
        TCalcItem& r = items_[top_ - 1];
        double cmp;
        if (l.kind == CalcKind::Number && r.kind == CalcKind::Number) [[likely]]
          cmp = l.number < r.number ? -1 : (l.number > r.number ? 1 : 0);
        else
          cmp = compare(l, r);
        bool truth = op == fcode::kEqual       ? cmp == 0
                     : op == fcode::kNotEqual  ? cmp != 0
                     : op == fcode::kLess      ? cmp < 0
                     : op == fcode::kGreater   ? cmp > 0
                     : op == fcode::kLessEqual ? cmp <= 0
                                               : cmp >= 0;
        l.setNumber(truth ? 1 : 0);
        --top_;
        ++pos;
        break;
      }
      case infixOnTexts(fcode::kJoin): {
        need(2);
        TCalcItem& l = items_[top_ - 2];
        std::string joined = toText(l);
        std::string right = toText(items_[top_ - 1]);
        checkTextLength(joined.size() + right.size());
        joined += right;
        l.setText(std::move(joined));
        --top_;
        ++pos;
        break;
      }
      case infixOnTexts(fcode::kLike): {
        need(2);
        TCalcItem& l = items_[top_ - 2];
        bool match = matchesMask(toText(l), toText(items_[top_ - 1]));
        l.setNumber(match ? 1 : 0);
        --top_;
        ++pos;
        break;
      }
      default:
        wrongBytecode();
    }
    if (top_ > highWater_) highWater_ = top_;
  }
}

}  // namespace trel
