// The fast path for formulas that compute numbers only: numbers, variables, the operators that
// take numbers (fcode::kOperators), the pure functions of one number, MAX, MIN and IFF, without
// texts, jumps or side effects. Such code is translated once, after Compile, into operations on a
// plain stack of doubles, run as threaded code. A run that meets a variable whose value is no
// number, or a result that is no longer finite, gives up, and the general evaluator runs the code
// instead (the fast path has no side effects); so the fast path never changes what a formula
// computes or which error it raises.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "formula/calc_item.h"
#include "formula/numeric_operators.h"

namespace trel {

class VariableContext;

class FastCode {
 public:
  // Translates formula code; false (and unusable) when it holds anything beyond the above.
  bool translate(const std::string& code);
  void reset() {
    ops_.clear();
    constant_ = false;
  }
  bool usable() const { return !ops_.empty(); }
  // False when the general evaluator must compute: a variable's value is no number or lies
  // beyond the variables, a result is no longer finite (or NaN), or an operation raised an
  // error (the general evaluator raises the first error the formula meets). Never throws.
  bool run(VariableContext& variables, double& result) const;
  // The same on `count` values held in an array.
  bool run(const TCalcItem* values, int count, double& result) const {
    if (variablesNeeded_ > static_cast<uint32_t>(count)) return false;
    if (constant_) {
      result = ops_.front().number;
      return true;
    }
    result = runOn(values);
    return result == result;
  }
  // The same on `count` values that `read(context, index, value)` gives (false: no number).
  using Reader = bool (*)(const void* context, uint32_t index, double& value);
  bool run(Reader read, const void* context, uint32_t count, double& result) const;

 private:
  // An infix operation takes its right operand from the stack, or (after a number or variable
  // was folded into it) from the operation itself: AddNumber is "+ number", AddVariable "+ x".
  // LoadAdd pushes "x + y" of two variables, LoadAddNumber "x + number", LoadUnary a function of
  // a variable.
  enum Kind : uint8_t {
    Number,
    Variable,
    Prefix,
    Unary,
    Max,
    Min,
    Iff,
    Square,
    Add,
    Sub,
    Mul,
    Div,
    Infix,
    AddNumber,
    SubNumber,
    MulNumber,
    DivNumber,
    InfixNumber,
    AddVariable,
    SubVariable,
    MulVariable,
    DivVariable,
    InfixVariable,
    LoadAdd,
    LoadSub,
    LoadMul,
    LoadDiv,
    LoadInfix,
    LoadAddNumber,
    LoadSubNumber,
    LoadMulNumber,
    LoadDivNumber,
    LoadInfixNumber,
    LoadUnary,
    // Add, Sub, Mul, Square and their folded forms without the check of the result, for a result
    // that only flows into another + - * (dropInnerChecks keeps the order in a table).
    AddUnchecked,
    SubUnchecked,
    MulUnchecked,
    SquareUnchecked,
    AddNumberUnchecked,
    SubNumberUnchecked,
    MulNumberUnchecked,
    AddVariableUnchecked,
    SubVariableUnchecked,
    MulVariableUnchecked,
    LoadAddUnchecked,
    LoadSubUnchecked,
    LoadMulUnchecked,
    LoadAddNumberUnchecked,
    LoadSubNumberUnchecked,
    LoadMulNumberUnchecked,
    Stop,  // the last operation
  };
  struct Op {
    Kind kind;
    uint8_t code;    // operators: the instruction
    uint32_t index;  // variables: where its value lies (slotOf); Max, Min: the argument count
    union {
      double number;    // numbers (also of LoadAddNumber ...)
      UnaryMath unary;  // Unary, LoadUnary
      uint32_t second;  // LoadAdd ...: where the right operand's value lies
    };
  };
  // A variable's value lies at this byte offset in an array of values, so that reading it from
  // the array takes no multiplication.
  static constexpr uint32_t slotOf(uint32_t index) { return index * sizeof(TCalcItem); }
  static constexpr uint32_t indexOf(uint32_t slot) { return slot / sizeof(TCalcItem); }
  // `read(slot, number)` reads a variable; false when it is no number. The result is NaN when
  // the run gave up: then (or when the result is NaN indeed) the general evaluator computes.
  template <typename Value>
  double runWith(Value read) const;
  template <typename Value>
  double runThreaded(Value read) const;
  double runOn(const TCalcItem* values) const;
  // Appends an operation, computing operations on numbers alone at once (when they raise no
  // error) and folding a number or variable operand into the infix operation after it.
  void add(const Op& o);
  // Turns the + - * operations whose result only flows into another + - * into their unchecked
  // kinds.
  void dropInnerChecks();
  static constexpr int kMaxDepth = 64;
  // Variables beyond this many are left to the general evaluator, so that every slot fits.
  static constexpr uint32_t kMaxVariables = 1u << 24;
  std::vector<Op> ops_;
  uint32_t variablesNeeded_ = 0;  // the highest variable index read, plus one
  bool constant_ = false;         // the code is one number
};

}  // namespace trel
