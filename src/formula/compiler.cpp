#include "formula/compiler.h"

#include <array>

#include "formula/code_format.h"
#include "formula/formula_exception.h"
#include "formula/function_table.h"
#include "formula/variable_context.h"

namespace trel {

namespace {

// Classes of the entries of the operator stack: an operator's is its precedence class. A pending
// call counts as class 1; the markers "(" and "," and the empty stack as 100, so no operator is
// ever popped past a marker.
constexpr uint8_t kCallClass = 1;
constexpr uint8_t kMarkerClass = 100;

constexpr std::array<uint8_t, 256> makeClasses() {
  std::array<uint8_t, 256> c{};
  c.fill(kMarkerClass);
  c[fcode::kCall] = kCallClass;
  for (const fcode::OperatorInfo& o : fcode::kOperators) c[o.code] = o.precedence;
  return c;
}
constexpr std::array<uint8_t, 256> kClass = makeClasses();

// For a token that is an infix operator: the stack's operators of this class and below are
// emitted before it is pushed (of its own class too when it associates to the left). 0 for any
// other token, which ends the expression.
constexpr std::array<uint8_t, 256> makeInfixPops() {
  std::array<uint8_t, 256> p{};
  for (const fcode::OperatorInfo& o : fcode::kOperators)
    if (o.fixity == fcode::Fixity::Infix)
      p[o.token] = o.assoc == fcode::Assoc::Left ? o.precedence : o.precedence - 1;
  return p;
}
constexpr std::array<uint8_t, 256> kInfixPops = makeInfixPops();

// For a token that is a prefix operator where an operand is due: its instruction; else 0.
constexpr std::array<uint8_t, 256> makePrefixCodes() {
  std::array<uint8_t, 256> p{};
  for (const fcode::OperatorInfo& o : fcode::kOperators)
    if (o.fixity == fcode::Fixity::Prefix) p[o.token] = o.code;
  return p;
}
constexpr std::array<uint8_t, 256> kPrefixCodes = makePrefixCodes();

constexpr bool classesFit() {
  for (const fcode::OperatorInfo& o : fcode::kOperators)
    if (o.precedence <= kCallClass || o.precedence >= kMarkerClass) return false;
  return kClass['('] == kMarkerClass && kClass[','] == kMarkerClass && kClass[0] == kMarkerClass;
}
static_assert(classesFit(), "operators lie between a pending call and the markers");
static_assert(kPrefixCodes['+'] == 0, "a prefix \"+\" is skipped, not compiled");

// The tokens that are no operator's: after an operand they end the expression.
constexpr bool othersAreNoOperators() {
  for (uint8_t t :
       {tok::kFail, tok::kDollar, tok::kSub, tok::kConst, tok::kGlobal, tok::kReturn, tok::kExtern,
        tok::kDecrement, tok::kIncrement, tok::kSeries, tok::kTill, tok::kAssign, tok::kLoop,
        tok::kCondition, tok::kFunction, tok::kText, tok::kVariable, tok::kNumber, tok::kEnd})
    if (kInfixPops[t] != 0 || kPrefixCodes[t] != 0) return false;
  for (char c : {'(', ')', ',', '.', '[', ']'})
    if (kInfixPops[static_cast<uint8_t>(c)] != 0 || kPrefixCodes[static_cast<uint8_t>(c)] != 0)
      return false;
  return true;
}
static_assert(othersAreNoOperators());

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

void FormulaCompiler::compile(std::string_view text, const LexerSettings& settings,
                              VariableContext& variables, bool testUsedVars, std::string& code) {
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
    throw FormulaException(errorMessage(lex_.error(), lex_.errorSubject()), lex_.offset());
  }
  emit(fcode::kStop);
  code.swap(out_);
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
        fcode::putOpU32(out_, fcode::kVariable, static_cast<uint32_t>(lex_.index()));
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
        // A prefix operator applies to the operand that follows it.
        if (kPrefixCodes[t] == 0) return tok::kFail;
        ops_.push(kPrefixCodes[t]);
        continue;
    }
    const uint8_t pops = kInfixPops[t];
    if (pops == 0) return t;  // the end, or what follows the expression
    while (kClass[ops_.top()] <= pops) ops_.popCodeInto(out_);
    ops_.push(t);  // an infix operator's token is its instruction
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
  fcode::putOpF64(out_, fcode::kNumber, v);
}

void FormulaCompiler::emitText(uint8_t op, std::string_view text) {
  fcode::putOpU32(out_, op, static_cast<uint32_t>(text.size()));
  out_.append(text);
}

void FormulaCompiler::emitCall(int index, uint8_t count) {
  const char call[3] = {static_cast<char>(fcode::kCall), static_cast<char>(index),
                        static_cast<char>(count)};
  out_.append(call, 3);
}

size_t FormulaCompiler::emitJump(uint8_t op) {
  size_t at = out_.size() + 1;
  fcode::putOpU32(out_, op, 0);
  return at;
}

void FormulaCompiler::emitJumpTo(uint8_t op, size_t target) {
  fcode::putOpU32(out_, op, static_cast<uint32_t>(target));
}

void FormulaCompiler::patchHere(size_t operand) {
  fcode::patchU32(out_, operand, static_cast<uint32_t>(out_.size()));
}

}  // namespace trel
