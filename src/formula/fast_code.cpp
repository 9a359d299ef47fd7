#include "formula/fast_code.h"

#include "formula/code_format.h"
#include "formula/function_table.h"
#include "formula/variable_context.h"

namespace trel {

namespace {
const int kMax = [] {
  for (int i = 0; i < kFunctionCount; ++i)
    if (kFunctionTable[i].name == "MAX") return i;
  return -1;
}();
const int kMin = [] {
  for (int i = 0; i < kFunctionCount; ++i)
    if (kFunctionTable[i].name == "MIN") return i;
  return -1;
}();
const int kIff = [] {
  for (int i = 0; i < kFunctionCount; ++i)
    if (kFunctionTable[i].name == "IFF") return i;
  return -1;
}();
inline double divide(double a, double b) {
  if (b == 0) throwRealDivisionByZero(a);
  return checkedReal(a / b);
}

}  // namespace

bool FastCode::translate(const std::string& code) {
  ops_.clear();
  variablesNeeded_ = 0;
  constant_ = false;
  const auto* c = reinterpret_cast<const uint8_t*>(code.data());
  const size_t n = code.size();
  int depth = 0;
  auto fail = [&] {
    ops_.clear();
    return false;
  };
  auto take = [&](int pops, int pushes) {
    if (depth < pops) return false;
    depth += pushes - pops;
    return depth <= kMaxDepth;
  };
  for (size_t pos = 0; pos < n;) {
    const uint8_t op = c[pos];
    Op o{};
    switch (op) {
      case fcode::kNumber:
        if (n - pos < 9 || !take(0, 1)) return fail();
        o.kind = Number;
        o.number = fcode::getF64(c + pos + 1);
        pos += 9;
        break;
      case fcode::kVariable:
        if (n - pos < 5 || !take(0, 1)) return fail();
        o.kind = Variable;
        o.index = fcode::getU32(c + pos + 1);
        if (o.index >= variablesNeeded_) variablesNeeded_ = o.index + 1;
        pos += 5;
        break;
      case fcode::kCall: {
        if (n - pos < 3) return fail();
        int index = c[pos + 1], count = c[pos + 2];
        if (count == 1 && (o.unary = unaryMathFunction(index)) != nullptr) {
          if (!take(1, 1)) return fail();
          o.kind = Unary;
        } else if (count == 3 && index == kIff) {
          if (!take(3, 1)) return fail();
          o.kind = Iff;
        } else if (count == fcode::kVariableCount && (index == kMax || index == kMin)) {
          // The argument count is the number pushed just before.
          if (ops_.empty() || ops_.back().kind != Number) return fail();
          double m = ops_.back().number;
          if (!(m >= 1 && m <= kMaxDepth)) return fail();
          ops_.pop_back();
          --depth;
          if (!take(static_cast<int>(m), 1)) return fail();
          o.kind = index == kMax ? Max : Min;
          o.index = static_cast<uint32_t>(m);
        } else {
          return fail();
        }
        pos += 3;
        break;
      }
      case fcode::kStop:
        // Only as the last instruction: anything after it belongs to RETURN and its jumps.
        if (pos + 1 != n || depth != 1) return fail();
        constant_ = ops_.size() == 1 && ops_[0].kind == Number;
        return true;
      default: {
        // An operator with a meaning on numbers: numericPrefix or numericInfix computes it.
        const fcode::OperatorInfo* info = fcode::findOperator(op);
        if (info == nullptr || info->operands == fcode::Operands::Texts) return fail();
        if (info->fixity == fcode::Fixity::Prefix) {
          if (!take(1, 1)) return fail();
          o.kind = Prefix;
        } else {
          if (!take(2, 1)) return fail();
          o.kind = op == fcode::kAdd   ? Add
                   : op == fcode::kSub ? Sub
                   : op == fcode::kMul ? Mul
                   : op == fcode::kDiv ? Div
                                       : Infix;
        }
        o.code = op;
        ++pos;
        break;
      }
    }
    add(o);
  }
  return fail();
}

void FastCode::add(Op o) {
  // An infix operation's kind shifts to its folded forms: the five kinds keep their order.
  static_assert(Sub - Add == 1 && Mul - Add == 2 && Div - Add == 3 && Infix - Add == 4);
  static_assert(AddNumber - Add == 5 && AddVariable - Add == 10);
  static_assert(InfixNumber - AddNumber == 4 && InfixVariable - AddVariable == 4);
  static_assert(LoadInfix - LoadAdd == 4 && LoadInfixNumber - LoadAddNumber == 4);
  const size_t n = ops_.size();
  const bool infix = o.kind >= Add && o.kind <= Infix;
  const uint8_t code = o.code;
  try {
    if (infix && n >= 2 && ops_[n - 1].kind == Number && ops_[n - 2].kind == Number) {
      ops_[n - 2].number = numericInfix(code, ops_[n - 2].number, ops_[n - 1].number);
      ops_.pop_back();
      return;
    }
    if (n >= 1 && ops_[n - 1].kind == Number && (o.kind == Prefix || o.kind == Unary)) {
      double& x = ops_[n - 1].number;
      x = o.kind == Prefix ? numericPrefix(o.code, x) : checkedReal(o.unary(x));
      return;
    }
  } catch (const std::exception&) {
    // Left to raise its error when the formula runs.
  }
  if (o.kind == Unary && n >= 1 && ops_[n - 1].kind == Variable) {
    ops_[n - 1].kind = LoadUnary;
    ops_[n - 1].unary = o.unary;
    return;
  }
  if (infix && n >= 2 && (ops_[n - 1].kind == Number || ops_[n - 1].kind == Variable)) {
    Op& last = ops_[n - 1];
    if (code == fcode::kPower && last.kind == Number && last.number == 2) {
      if (ops_[n - 2].kind == Variable) {
        // x * x, as Square computes it
        ops_[n - 2].kind = LoadMul;
        ops_[n - 2].second = ops_[n - 2].index;
        ops_.pop_back();
        return;
      }
      last.kind = Square;
      return;
    }
    if (ops_[n - 2].kind == Variable) {
      // The left operand is a variable too: one operation pushes the result.
      Op& left = ops_[n - 2];
      left.code = code;
      if (last.kind == Variable) {
        left.kind = static_cast<Kind>(o.kind + (LoadAdd - Add));
        left.second = last.index;
      } else {
        left.kind = static_cast<Kind>(o.kind + (LoadAddNumber - Add));
        left.number = last.number;
      }
      ops_.pop_back();
      return;
    }
    const int shift = last.kind == Number ? AddNumber - Add : AddVariable - Add;
    last.kind = static_cast<Kind>(o.kind + shift);
    last.code = code;
    return;
  }
  ops_.push_back(o);
}

template <typename Value>
bool FastCode::runWith(Value&& variable, double& result) const {
  // The top value is kept in x, the values below it in below[0 .. n-1].
  double below[kMaxDepth];
  int n = 0;
  double x = 0, r = 0;
  // Pushes a Load operation's left operand as x and reads its right one into r.
  auto load = [&](const Op& o) {
    below[n++] = x;
    return variable(o.index, x) && variable(o.second, r);
  };
  for (const Op& o : ops_) {
    switch (o.kind) {
      case Number:
        below[n++] = x;
        x = o.number;
        break;
      case Variable:
        below[n++] = x;
        if (!variable(o.index, x)) return false;
        break;
      case AddNumber:
        x = checkedReal(x + o.number);
        break;
      case SubNumber:
        x = checkedReal(x - o.number);
        break;
      case MulNumber:
        x = checkedReal(x * o.number);
        break;
      case DivNumber:
        x = divide(x, o.number);
        break;
      case InfixNumber:
        x = numericInfix(o.code, x, o.number);
        break;
      case AddVariable:
        if (!variable(o.index, r)) return false;
        x = checkedReal(x + r);
        break;
      case SubVariable:
        if (!variable(o.index, r)) return false;
        x = checkedReal(x - r);
        break;
      case MulVariable:
        if (!variable(o.index, r)) return false;
        x = checkedReal(x * r);
        break;
      case DivVariable:
        if (!variable(o.index, r)) return false;
        x = divide(x, r);
        break;
      case InfixVariable:
        if (!variable(o.index, r)) return false;
        x = numericInfix(o.code, x, r);
        break;
      case LoadAdd:
        if (!load(o)) return false;
        x = checkedReal(x + r);
        break;
      case LoadSub:
        if (!load(o)) return false;
        x = checkedReal(x - r);
        break;
      case LoadMul:
        if (!load(o)) return false;
        x = checkedReal(x * r);
        break;
      case LoadDiv:
        if (!load(o)) return false;
        x = divide(x, r);
        break;
      case LoadInfix:
        if (!load(o)) return false;
        x = numericInfix(o.code, x, r);
        break;
      case LoadAddNumber:
        below[n++] = x;
        if (!variable(o.index, x)) return false;
        x = checkedReal(x + o.number);
        break;
      case LoadSubNumber:
        below[n++] = x;
        if (!variable(o.index, x)) return false;
        x = checkedReal(x - o.number);
        break;
      case LoadMulNumber:
        below[n++] = x;
        if (!variable(o.index, x)) return false;
        x = checkedReal(x * o.number);
        break;
      case LoadDivNumber:
        below[n++] = x;
        if (!variable(o.index, x)) return false;
        x = divide(x, o.number);
        break;
      case LoadInfixNumber:
        below[n++] = x;
        if (!variable(o.index, x)) return false;
        x = numericInfix(o.code, x, o.number);
        break;
      case LoadUnary:
        below[n++] = x;
        if (!variable(o.index, x)) return false;
        x = checkedReal(o.unary(x));
        break;
      case Add:
        x = checkedReal(below[--n] + x);
        break;
      case Sub:
        x = checkedReal(below[--n] - x);
        break;
      case Mul:
        x = checkedReal(below[--n] * x);
        break;
      case Square:
        x = checkedReal(x * x);
        break;
      case Div:
        r = below[--n];
        x = divide(r, x);
        break;
      case Infix:
        r = below[--n];
        x = numericInfix(o.code, r, x);
        break;
      case Prefix:
        x = numericPrefix(o.code, x);
        break;
      case Unary:
        x = checkedReal(o.unary(x));
        break;
      case Iff:
        n -= 2;
        x = below[n] != 0 ? below[n + 1] : x;
        break;
      case Max:
      case Min: {
        // Visited from the last argument to the first, as the statistics functions do.
        const int first = n - static_cast<int>(o.index) + 1;
        for (int k = n - 1; k >= first; --k)
          if (o.kind == Max ? below[k] > x : below[k] < x) x = below[k];
        n = first;
        break;
      }
    }
  }
  result = x;
  return true;
}

bool FastCode::runOn(const TCalcItem* values, double& result) const {
  return runWith(
      [values](uint32_t index, double& value) {
        const TCalcItem& v = values[index];
        value = v.number;
        return v.kind == CalcKind::Number;
      },
      result);
}

bool FastCode::run(VariableContext& variables, double& result) const {
  const int count = variables.hostCount();
  if (const TCalcItem* direct = variables.directValues()) return run(direct, count, result);
  if (variablesNeeded_ > static_cast<uint32_t>(count)) return false;
  return runWith(
      [&variables](uint32_t index, double& value) {
        const TCalcItem& v = variables.hostValue(static_cast<int>(index));
        value = v.number;
        return v.kind == CalcKind::Number;
      },
      result);
}

bool FastCode::run(Reader read, const void* context, uint32_t count, double& result) const {
  if (variablesNeeded_ > count) return false;
  return runWith(
      [read, context](uint32_t index, double& value) { return read(context, index, value); },
      result);
}

}  // namespace trel
