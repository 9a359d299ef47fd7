#include "formula/fast_code.h"

#include <array>
#include <iterator>
#include <limits>

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
// True unless the value is infinite or NaN, in a few instructions and without constants from
// memory: x - x is a number (0) exactly when x is finite.
inline bool finite(double x) {
  const double zero = x - x;
  return zero == zero;
}
// The quotient; division by zero raises its error, which makes the run give up.
inline double divide(double a, double b) {
  if (b == 0) throwRealDivisionByZero(a);
  return a / b;
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
        ops_.push_back(o);  // an operand: nothing to compute or fold yet
        continue;
      case fcode::kVariable:
        if (n - pos < 5 || !take(0, 1)) return fail();
        o.kind = Variable;
        o.index = fcode::getU32(c + pos + 1);
        if (o.index >= kMaxVariables) return fail();
        if (o.index >= variablesNeeded_) variablesNeeded_ = o.index + 1;
        o.index = slotOf(o.index);
        pos += 5;
        ops_.push_back(o);
        continue;
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
      case fcode::kStop: {
        // Only as the last instruction: anything after it belongs to RETURN and its jumps.
        if (pos + 1 != n || depth != 1) return fail();
        constant_ = ops_.size() == 1 && ops_[0].kind == Number;
        dropInnerChecks();
        Op stop{};
        stop.kind = Stop;
        ops_.push_back(stop);
        return true;
      }
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

// Inlined into translate, its one caller.
[[gnu::always_inline]] inline void FastCode::add(const Op& o) {
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

void FastCode::dropInnerChecks() {
  // A value that is no longer finite stays so through + - *, so the check of the last one in a
  // chain finds it. The run then gives up, and the general evaluator raises the error of the
  // operation where it arose.
  // The kinds whose unchecked kinds are AddUnchecked ... LoadMulNumberUnchecked, in that order.
  static constexpr Kind kChecked[] = {
      Add,       Sub,           Mul,           Square,        AddNumber, SubNumber,
      MulNumber, AddVariable,   SubVariable,   MulVariable,   LoadAdd,   LoadSub,
      LoadMul,   LoadAddNumber, LoadSubNumber, LoadMulNumber,
  };
  static_assert(std::size(kChecked) == Stop - AddUnchecked);
  // Every kind's unchecked kind (the kind itself when it has none), looked up by the kind.
  static constexpr auto kUncheckedOf = [] {
    std::array<Kind, Stop + 1> of{};
    for (size_t k = 0; k < of.size(); ++k) of[k] = static_cast<Kind>(k);
    for (size_t i = 0; i < std::size(kChecked); ++i)
      of[kChecked[i]] = static_cast<Kind>(AddUnchecked + i);
    return of;
  }();
  // How many values an operation of each kind takes from the stack (the top one included); Max
  // and Min take their argument count.
  static constexpr auto kTaken = [] {
    std::array<uint8_t, Stop + 1> taken{};
    for (size_t k = 0; k < taken.size(); ++k)
      taken[k] = k == Number || k == Variable || (k >= LoadAdd && k <= LoadUnary) ? 0 : 1;
    for (Kind k : {Add, Sub, Mul, Div, Infix}) taken[k] = 2;
    taken[Iff] = 3;
    return taken;
  }();
  // The operation that pushed each value of the stack; translate keeps the depth within
  // kMaxDepth. An operation is examined before any later one can change its kind.
  std::array<uint32_t, kMaxDepth + 1> pushedBy;
  uint32_t depth = 0;
  Op* const ops = ops_.data();
  const uint32_t count = static_cast<uint32_t>(ops_.size());
  for (uint32_t i = 0; i < count; ++i) {
    const Kind kind = ops[i].kind;
    const uint32_t n = kind == Max || kind == Min ? ops[i].index : kTaken[kind];
    if (n > depth) return;  // not code that translate made: every check stays
    depth -= n;
    if (kUncheckedOf[kind] != kind)
      for (uint32_t k = depth; k < depth + n; ++k)
        ops[pushedBy[k]].kind = kUncheckedOf[ops[pushedBy[k]].kind];
    pushedBy[depth++] = i;
  }
}

template <typename Value>
double FastCode::runWith(Value read) const {
  // An error gives up too: an unchecked + - * before the operation that raised it may have left
  // a value no longer finite, whose error comes first. The general evaluator raises the first.
  try {
    return runThreaded(read);
  } catch (const std::exception&) {
    return std::numeric_limits<double>::quiet_NaN();
  }
}

template <typename Value>
double FastCode::runThreaded(Value read) const {
  // Threaded code: every handler ends by jumping straight to the next operation's handler, and
  // Stop, the last operation, ends the run. The handlers follow the order of Kind.
  static const void* const kHandlers[] = {
      &&number,
      &&variable,
      &&prefix,
      &&unary,
      &&max,
      &&min,
      &&iff,
      &&square,
      &&add,
      &&sub,
      &&mul,
      &&div,
      &&infix,
      &&addNumber,
      &&subNumber,
      &&mulNumber,
      &&divNumber,
      &&infixNumber,
      &&addVariable,
      &&subVariable,
      &&mulVariable,
      &&divVariable,
      &&infixVariable,
      &&loadAdd,
      &&loadSub,
      &&loadMul,
      &&loadDiv,
      &&loadInfix,
      &&loadAddNumber,
      &&loadSubNumber,
      &&loadMulNumber,
      &&loadDivNumber,
      &&loadInfixNumber,
      &&loadUnary,
      &&addUnchecked,
      &&subUnchecked,
      &&mulUnchecked,
      &&squareUnchecked,
      &&addNumberUnchecked,
      &&subNumberUnchecked,
      &&mulNumberUnchecked,
      &&addVariableUnchecked,
      &&subVariableUnchecked,
      &&mulVariableUnchecked,
      &&loadAddUnchecked,
      &&loadSubUnchecked,
      &&loadMulUnchecked,
      &&loadAddNumberUnchecked,
      &&loadSubNumberUnchecked,
      &&loadMulNumberUnchecked,
      &&stop,
  };
  static_assert(std::size(kHandlers) == Stop + 1);
  // The top value is kept in x, the values below it in below[0 .. sp - below - 1].
  double below[kMaxDepth];
  double* sp = below;
  double x = 0, r = 0;
  const Op* o = ops_.data();
#define TREL_NEXT goto* kHandlers[(++o)->kind]
  goto* kHandlers[o->kind];
number:
  *sp++ = x;
  x = o->number;
  TREL_NEXT;
variable:
  *sp++ = x;
  if (!read(o->index, x)) goto gaveUp;
  TREL_NEXT;
addNumber:
  x = x + o->number;
  if (!finite(x)) goto gaveUp;
  TREL_NEXT;
subNumber:
  x = x - o->number;
  if (!finite(x)) goto gaveUp;
  TREL_NEXT;
mulNumber:
  x = x * o->number;
  if (!finite(x)) goto gaveUp;
  TREL_NEXT;
divNumber:
  x = divide(x, o->number);
  if (!finite(x)) goto gaveUp;
  TREL_NEXT;
infixNumber:
  x = numericInfix(o->code, x, o->number);
  TREL_NEXT;
addVariable:
  if (!read(o->index, r)) goto gaveUp;
  x = x + r;
  if (!finite(x)) goto gaveUp;
  TREL_NEXT;
subVariable:
  if (!read(o->index, r)) goto gaveUp;
  x = x - r;
  if (!finite(x)) goto gaveUp;
  TREL_NEXT;
mulVariable:
  if (!read(o->index, r)) goto gaveUp;
  x = x * r;
  if (!finite(x)) goto gaveUp;
  TREL_NEXT;
divVariable:
  if (!read(o->index, r)) goto gaveUp;
  x = divide(x, r);
  if (!finite(x)) goto gaveUp;
  TREL_NEXT;
infixVariable:
  if (!read(o->index, r)) goto gaveUp;
  x = numericInfix(o->code, x, r);
  TREL_NEXT;
  // A Load operation pushes its left operand as x and reads its right one into r.
loadAdd:
  *sp++ = x;
  if (!read(o->index, x) || !read(o->second, r)) goto gaveUp;
  x = x + r;
  if (!finite(x)) goto gaveUp;
  TREL_NEXT;
loadSub:
  *sp++ = x;
  if (!read(o->index, x) || !read(o->second, r)) goto gaveUp;
  x = x - r;
  if (!finite(x)) goto gaveUp;
  TREL_NEXT;
loadMul:
  *sp++ = x;
  if (!read(o->index, x) || !read(o->second, r)) goto gaveUp;
  x = x * r;
  if (!finite(x)) goto gaveUp;
  TREL_NEXT;
loadDiv:
  *sp++ = x;
  if (!read(o->index, x) || !read(o->second, r)) goto gaveUp;
  x = divide(x, r);
  if (!finite(x)) goto gaveUp;
  TREL_NEXT;
loadInfix:
  *sp++ = x;
  if (!read(o->index, x) || !read(o->second, r)) goto gaveUp;
  x = numericInfix(o->code, x, r);
  TREL_NEXT;
loadAddNumber:
  *sp++ = x;
  if (!read(o->index, x)) goto gaveUp;
  x = x + o->number;
  if (!finite(x)) goto gaveUp;
  TREL_NEXT;
loadSubNumber:
  *sp++ = x;
  if (!read(o->index, x)) goto gaveUp;
  x = x - o->number;
  if (!finite(x)) goto gaveUp;
  TREL_NEXT;
loadMulNumber:
  *sp++ = x;
  if (!read(o->index, x)) goto gaveUp;
  x = x * o->number;
  if (!finite(x)) goto gaveUp;
  TREL_NEXT;
loadDivNumber:
  *sp++ = x;
  if (!read(o->index, x)) goto gaveUp;
  x = divide(x, o->number);
  if (!finite(x)) goto gaveUp;
  TREL_NEXT;
loadInfixNumber:
  *sp++ = x;
  if (!read(o->index, x)) goto gaveUp;
  x = numericInfix(o->code, x, o->number);
  TREL_NEXT;
loadUnary:
  *sp++ = x;
  if (!read(o->index, x)) goto gaveUp;
  x = o->unary(x);
  if (!finite(x)) goto gaveUp;
  TREL_NEXT;
add:
  x = *--sp + x;
  if (!finite(x)) goto gaveUp;
  TREL_NEXT;
sub:
  x = *--sp - x;
  if (!finite(x)) goto gaveUp;
  TREL_NEXT;
mul:
  x = *--sp * x;
  if (!finite(x)) goto gaveUp;
  TREL_NEXT;
square:
  x = x * x;
  if (!finite(x)) goto gaveUp;
  TREL_NEXT;
div:
  r = *--sp;
  x = divide(r, x);
  if (!finite(x)) goto gaveUp;
  TREL_NEXT;
infix:
  r = *--sp;
  x = numericInfix(o->code, r, x);
  TREL_NEXT;
prefix:
  x = numericPrefix(o->code, x);
  TREL_NEXT;
unary:
  x = o->unary(x);
  if (!finite(x)) goto gaveUp;
  TREL_NEXT;
iff:
  sp -= 2;
  x = sp[0] != 0 ? sp[1] : x;
  TREL_NEXT;
max:
  // Visited from the last argument to the first, as the statistics functions do.
  for (const double* first = sp - o->index + 1; sp != first;)
    if (*--sp > x) x = *sp;
  TREL_NEXT;
min:
  for (const double* first = sp - o->index + 1; sp != first;)
    if (*--sp < x) x = *sp;
  TREL_NEXT;
addUnchecked:
  x = *--sp + x;
  TREL_NEXT;
subUnchecked:
  x = *--sp - x;
  TREL_NEXT;
mulUnchecked:
  x = *--sp * x;
  TREL_NEXT;
squareUnchecked:
  x = x * x;
  TREL_NEXT;
addNumberUnchecked:
  x = x + o->number;
  TREL_NEXT;
subNumberUnchecked:
  x = x - o->number;
  TREL_NEXT;
mulNumberUnchecked:
  x = x * o->number;
  TREL_NEXT;
addVariableUnchecked:
  if (!read(o->index, r)) goto gaveUp;
  x = x + r;
  TREL_NEXT;
subVariableUnchecked:
  if (!read(o->index, r)) goto gaveUp;
  x = x - r;
  TREL_NEXT;
mulVariableUnchecked:
  if (!read(o->index, r)) goto gaveUp;
  x = x * r;
  TREL_NEXT;
loadAddUnchecked:
  *sp++ = x;
  if (!read(o->index, x) || !read(o->second, r)) goto gaveUp;
  x = x + r;
  TREL_NEXT;
loadSubUnchecked:
  *sp++ = x;
  if (!read(o->index, x) || !read(o->second, r)) goto gaveUp;
  x = x - r;
  TREL_NEXT;
loadMulUnchecked:
  *sp++ = x;
  if (!read(o->index, x) || !read(o->second, r)) goto gaveUp;
  x = x * r;
  TREL_NEXT;
loadAddNumberUnchecked:
  *sp++ = x;
  if (!read(o->index, x)) goto gaveUp;
  x = x + o->number;
  TREL_NEXT;
loadSubNumberUnchecked:
  *sp++ = x;
  if (!read(o->index, x)) goto gaveUp;
  x = x - o->number;
  TREL_NEXT;
loadMulNumberUnchecked:
  *sp++ = x;
  if (!read(o->index, x)) goto gaveUp;
  x = x * o->number;
  TREL_NEXT;
#undef TREL_NEXT
stop:
  return x;
gaveUp:
  return std::numeric_limits<double>::quiet_NaN();
}

double FastCode::runOn(const TCalcItem* values) const {
  const auto* bytes = reinterpret_cast<const char*>(values);
  return runWith([bytes](uint32_t slot, double& value) {
    const auto& v = *reinterpret_cast<const TCalcItem*>(bytes + slot);
    value = v.number;
    return v.kind == CalcKind::Number;
  });
}

bool FastCode::run(VariableContext& variables, double& result) const {
  const int count = variables.hostCount();
  if (const TCalcItem* direct = variables.directValues()) return run(direct, count, result);
  if (variablesNeeded_ > static_cast<uint32_t>(count)) return false;
  result = runWith([&variables](uint32_t slot, double& value) {
    const TCalcItem& v = variables.hostValue(static_cast<int>(indexOf(slot)));
    value = v.number;
    return v.kind == CalcKind::Number;
  });
  return result == result;
}

bool FastCode::run(Reader read, const void* context, uint32_t count, double& result) const {
  if (variablesNeeded_ > count) return false;
  result = runWith([read, context](uint32_t slot, double& value) {
    return read(context, static_cast<uint32_t>(indexOf(slot)), value);
  });
  return result == result;
}

}  // namespace trel
