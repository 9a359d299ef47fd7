#include "formula/compiler.h"

#include <array>

#include "formula/code_format.h"
#include "formula/formula_exception.h"
#include "formula/function_table.h"
#include "formula/variable_context.h"

namespace trel {

namespace {

// Classes of the operators on the operator stack and of the incoming infix operators. A pending
// call counts as class 1; the markers "(" and "," and the empty stack as 100, so no operator is
// ever popped past a marker.
constexpr int kMarkerClass = 100;

constexpr std::array<uint8_t, 256> makeClasses() {
  std::array<uint8_t, 256> c{};
  for (auto& x : c) x = kMarkerClass;
  c[fcode::kCall] = 1;
  c[fcode::kPower] = 2;
  for (uint8_t op : {fcode::kNot, fcode::kBitNot, fcode::kNegate}) c[op] = 3;
  for (uint8_t op : {fcode::kMul, fcode::kDiv, fcode::kIntDiv, fcode::kMod, fcode::kAnd,
                     fcode::kBitAnd, fcode::kShiftRight, fcode::kShiftLeft})
    c[op] = 4;
  for (uint8_t op : {fcode::kAdd, fcode::kSub, fcode::kJoin}) c[op] = 5;
  for (uint8_t op : {fcode::kOr, fcode::kBitOr, fcode::kXor, fcode::kBitXor}) c[op] = 6;
  for (uint8_t op : {fcode::kEqual, fcode::kNotEqual, fcode::kLess, fcode::kGreater,
                     fcode::kLessEqual, fcode::kGreaterEqual, fcode::kLike})
    c[op] = 7;
  return c;
}
constexpr std::array<uint8_t, 256> kClass = makeClasses();

// Infix operators are those of classes 2 and 4 to 7; their token codes are their instructions.
bool isInfix(uint8_t t) {
  return kClass[t] == 2 || (kClass[t] >= 4 && kClass[t] <= 7);
}

std::string errorMessage(FormulaError code, const std::string& subject) {
  switch (code) {
    case kIllegalCharacter:
      return "Illegal character '" + subject + "'";
    case kUnknownIdentifier:
      return "Unknown identifier '" + subject + "'";
    case kCloseExpected:
      return "\")\" expected";
    case kOpenExpected:
      return "\"(\" expected";
    case kVariableNotUsed:
      return "Variable not used";
    case kNotEnoughParameters:
      return "Not enough parameters";
    case kTooComplex:
      return "Expression too complex";
    case kSyntaxError:
    case kNoError:
      break;
  }
  return "Syntax error";
}

}  // namespace

std::string FormulaCompiler::compile(std::string_view text, const LexerSettings& settings,
                                     VariableContext& variables, bool testUsedVars) {
  ops_.reset();
  out_.clear();
  nesting_ = 0;
  lex_.start(text, settings, &variables);
  uint8_t r = parse();
  bool ok = r == tok::kEnd || r == tok::kGlobal || r == tok::kSub || r == tok::kConst;
  if (ok) {
    while (!ops_.empty()) ops_.popCodeInto(out_);
    if (testUsedVars && !variables.allUsed()) {
      ok = false;
      lex_.setError(kVariableNotUsed);
    }
  } else {
    lex_.setError(kSyntaxError);
  }
  if (!ok) {
    out_.clear();
    throw FormulaException(errorMessage(lex_.error(), lex_.errorSubject()));
  }
  emit(fcode::kStop);
  return std::move(out_);
}

uint8_t FormulaCompiler::parse() {
  if (nesting_ >= kMaxNesting) {
    lex_.giveUp();
    return tok::kFail;
  }
  ++nesting_;
  uint8_t r = parseChain();
  --nesting_;
  return r;
}

uint8_t FormulaCompiler::parseChain() {
  // After a prefix or infix operator the rest of the expression is parsed as a new operand with
  // what follows it; that step comes last, so it is this loop rather than a recursion, and only
  // brackets, calls and forms nest.
  for (;;) {
    uint8_t t = lex_.next();
    if (t == tok::kEnd) return tok::kFail;
    if (t == '+') t = lex_.next();
    switch (t) {
      case '!':
      case tok::kBitNot:
        ops_.push(t);
        continue;
      case '-':
        ops_.push(fcode::kNegate);
        continue;
      case tok::kNumber:
        emitNumber(lex_.number());
        t = lex_.next();
        break;
      case tok::kText:
        emitText(fcode::kText, lex_.text());
        t = lex_.next();
        break;
      case tok::kExtern:
        emitText(fcode::kExternVar, lex_.text());
        t = lex_.next();
        break;
      case tok::kVariable:
        emit(fcode::kVariable);
        fcode::putU32(out_, static_cast<uint32_t>(lex_.index()));
        t = lex_.next();
        break;
      case '(':
        ops_.push('(');
        if (parse() != ')') {
          lex_.setError(kCloseExpected);
          return tok::kFail;
        }
        emitDownTo('(');
        ops_.pop();
        t = lex_.next();
        break;
      case tok::kFunction:
        if (!parseCall(lex_.index(), t)) return tok::kFail;
        break;
      case tok::kCondition:
        if (!parseCondition(t)) return tok::kFail;
        break;
      case tok::kLoop:
        if (!parseLoop(t)) return tok::kFail;
        break;
      case tok::kTill:
        if (!parseTill(t)) return tok::kFail;
        break;
      case tok::kSeries:
        if (!parseSeries(t)) return tok::kFail;
        break;
      case tok::kReturn:
        if (!parseReturn(t)) return tok::kFail;
        break;
      case tok::kDollar:
        if (!parseDollar(t)) return tok::kFail;
        break;
      default:
        return tok::kFail;
    }
    if (t == tok::kEnd) return tok::kEnd;
    if (!isInfix(t)) return t;
    while (kClass[ops_.top()] <= kClass[t]) ops_.popCodeInto(out_);
    ops_.push(t);
  }
}

bool FormulaCompiler::parseCall(int index, uint8_t& t) {
  const int count = kFunctionTable[index].count;
  const uint8_t countByte = count < 0 ? fcode::kVariableCount : static_cast<uint8_t>(count);
  t = lex_.next();
  if (count == 0) {
    // RND, RND() and NOW all call.
    if (t == '(') {
      if (lex_.next() != ')') {
        lex_.setError(kCloseExpected);
        return false;
      }
      t = lex_.next();
    }
    emitCall(index, 0);
    return true;
  }
  if (t != '(') {
    lex_.setError(kOpenExpected);
    return false;
  }
  ops_.pushCall(countByte, static_cast<uint8_t>(index));
  ops_.push('(');
  if (count > 0) {
    for (int i = 1; i <= count; ++i) {
      uint8_t r = part();
      if (i < count && r != ',') {
        lex_.setError(kNotEnoughParameters);
        return false;
      }
      if (i == count && r != ')') {
        lex_.setError(kCloseExpected);
        return false;
      }
    }
  } else {
    int arguments = 0;
    if (lex_.peek() == ')') {
      lex_.next();
    } else {
      for (;;) {
        ++arguments;
        uint8_t r = part();
        if (r == ')') break;
        if (r != ',') return false;
      }
    }
    emitNumber(arguments);
  }
  emitDownTo('(');
  ops_.pop();
  ops_.popCodeInto(out_);  // the call
  t = lex_.next();
  return true;
}

uint8_t FormulaCompiler::part() {
  ops_.push(',');
  uint8_t r = parse();
  emitDownTo(',');
  ops_.pop();
  return r;
}

bool FormulaCompiler::partEndingWith(uint8_t expected) {
  if (part() == expected) return true;
  lex_.setError(expected == ')' ? kCloseExpected : kNotEnoughParameters);
  return false;
}

bool FormulaCompiler::open() {
  if (lex_.next() != '(') {
    lex_.setError(kOpenExpected);
    return false;
  }
  ops_.push('(');
  return true;
}

void FormulaCompiler::close(uint8_t& t) {
  emitDownTo('(');
  ops_.pop();
  t = lex_.next();
}

void FormulaCompiler::emitDownTo(uint8_t marker) {
  while (!ops_.empty() && ops_.top() != marker) ops_.popCodeInto(out_);
}

void FormulaCompiler::emitNumber(double v) {
  emit(fcode::kNumber);
  fcode::putF64(out_, v);
}

void FormulaCompiler::emitText(uint8_t op, std::string_view text) {
  emit(op);
  fcode::putU32(out_, static_cast<uint32_t>(text.size()));
  out_.append(text);
}

void FormulaCompiler::emitCall(int index, uint8_t count) {
  emit(fcode::kCall);
  emit(static_cast<uint8_t>(index));
  emit(count);
}

size_t FormulaCompiler::emitJump(uint8_t op) {
  emit(op);
  size_t at = out_.size();
  fcode::putU32(out_, 0);
  return at;
}

void FormulaCompiler::emitJumpTo(uint8_t op, size_t target) {
  emit(op);
  fcode::putU32(out_, static_cast<uint32_t>(target));
}

void FormulaCompiler::patchHere(size_t operand) {
  fcode::patchU32(out_, operand, static_cast<uint32_t>(out_.size()));
}

}  // namespace trel
