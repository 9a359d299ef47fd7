// The formula lexer: reads one token at a time, skipping blanks and comments, and replaces the
// names of the constants table by their texts as it meets them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "formula/code_format.h"
#include "formula/formula_source.h"

namespace trel {

class VariableContext;

// Token codes; a code equal to a character is that character ("(", ")", ",", "+", "[" ...).
namespace tok {
enum : uint8_t {
  kFail = 0x00,  // the scan failed; the error code says why
  kDollar = 0x24,
  kSub = 0xDC,
  kConst = 0xDD,
  kGlobal = 0xDE,
  kLike = 0xDF,  // "==" or LIKE
  kReturn = 0xE0,
  kBitNot = 0xE1,      // "!!"
  kBitAnd = 0xE2,      // "&&"
  kBitOr = 0xE3,       // "||"
  kBitXor = 0xE4,      // BXOR
  kShiftRight = 0xE5,  // ">>"
  kShiftLeft = 0xE6,   // "<<"
  kExtern = 0xE7,      // an identifier that names nothing, fetched from the host at run time
  kDecrement = 0xEC,   // "--"
  kIncrement = 0xED,   // "++"
  kSeries = 0xEE,
  kTill = 0xEF,
  kAssign = 0xF0,  // ":="
  kLoop = 0xF3,
  kCondition = 0xF4,
  kFunction = 0xF5,  // index(): the function's index
  kText = 0xF6,      // text(): the text
  kXor = 0xF7,
  kLessEqual = 0xF9,
  kGreaterEqual = 0xFA,
  kNotEqual = 0xFC,
  kVariable = 0xFD,  // index(): the host variable's index
  kNumber = 0xFE,    // number(): the value; also PI
  kEnd = 0xFF,
};
}

// An operator's token is its instruction (for the single characters fcode::kOperators checks
// this). So is the token of each operand or form that compiles to one instruction: a number, a
// text, a variable, an external variable, a call, RETURN (stop), CONDITION (conditional jump).
namespace tok {
constexpr bool equalsInstruction(uint8_t token, fcode::Op instruction) {
  return token == instruction;
}
}  // namespace tok
static_assert(tok::equalsInstruction(tok::kLike, fcode::kLike));
static_assert(tok::equalsInstruction(tok::kBitNot, fcode::kBitNot));
static_assert(tok::equalsInstruction(tok::kBitAnd, fcode::kBitAnd));
static_assert(tok::equalsInstruction(tok::kBitOr, fcode::kBitOr));
static_assert(tok::equalsInstruction(tok::kBitXor, fcode::kBitXor));
static_assert(tok::equalsInstruction(tok::kShiftRight, fcode::kShiftRight));
static_assert(tok::equalsInstruction(tok::kShiftLeft, fcode::kShiftLeft));
static_assert(tok::equalsInstruction(tok::kXor, fcode::kXor));
static_assert(tok::equalsInstruction(tok::kLessEqual, fcode::kLessEqual));
static_assert(tok::equalsInstruction(tok::kGreaterEqual, fcode::kGreaterEqual));
static_assert(tok::equalsInstruction(tok::kNotEqual, fcode::kNotEqual));
static_assert(tok::equalsInstruction(tok::kReturn, fcode::kStop));
static_assert(tok::equalsInstruction(tok::kExtern, fcode::kExternVar));
static_assert(tok::equalsInstruction(tok::kCondition, fcode::kJumpIfZero));
static_assert(tok::equalsInstruction(tok::kFunction, fcode::kCall));
static_assert(tok::equalsInstruction(tok::kText, fcode::kText));
static_assert(tok::equalsInstruction(tok::kVariable, fcode::kVariable));
static_assert(tok::equalsInstruction(tok::kNumber, fcode::kNumber));

// Error codes of a compilation; the compiler holds their messages.
enum FormulaError : uint8_t {
  kNoError = 0,
  kIllegalCharacter = 1,
  kUnknownIdentifier = 2,
  kCloseExpected = 3,
  kOpenExpected = 4,
  kSyntaxError = 5,
  kVariableNotUsed = 6,
  kNotEnoughParameters = 7,
  kTooComplex = 8,
};

// Nesting beyond this (brackets, calls, forms, runs of operator characters) is refused with
// "Expression too complex" instead of exhausting the native stack.
inline constexpr int kMaxNesting = 400;

struct LexerSettings {
  const std::array<bool, 256>* alphabet = nullptr;  // the identifier characters
  bool externGetVar = false;
  bool unquotedString = false;
  bool noLeadingZero = false;
};

class FormulaLexer {
 public:
  void start(std::string_view text, const LexerSettings& settings, VariableContext* variables);

  // Scans the next token. With `namesAsText` an identifier that names nothing is a text.
  // (Inline: the compiler asks for every token.)
  uint8_t next(bool namesAsText = false) {
    if (gaveUp_) {
      error_ = kTooComplex;
      return tok::kFail;
    }
    if (depth_ == 0) floor_ = pos_;
    // The pairs "++", "!!" and the dropped "," look at the next token with a scan of their own.
    if (depth_ >= kMaxNesting) {
      giveUp();
      return tok::kFail;
    }
    if (ahead_.valid && ahead_.from == pos_ && ahead_.substitutions == substitutions_ &&
        !namesAsText) {
      // The token was looked at from here, and nothing has been scanned since: a scan would find
      // it again and leave the state the look-ahead left.
      ahead_.valid = false;
      pos_ = ahead_.to;
      error_ = ahead_.error;
      number_ = ahead_.number;
      index_ = ahead_.index;
      return ahead_.token;
    }
    ahead_.valid = false;
    ++depth_;
    uint8_t t = scan(namesAsText);
    --depth_;
    return t;
  }
  // Looks at the next token without moving on; a substitution made meanwhile stays.
  uint8_t peek();

  const std::string& text() const { return text_; }
  double number() const { return number_; }
  int index() const { return index_; }

  FormulaError error() const { return error_; }
  // Where in the formula text (from 0) the scan stands now.
  size_t offset() const { return src_.originalOffset(pos_); }
  // The character or identifier the error names.
  const std::string& errorSubject() const { return errorSubject_; }
  // Sets the error code unless one is set already.
  void setError(FormulaError code) {
    if (error_ == kNoError) error_ = code;
  }
  // Nesting went too deep: from now on every scan fails with kTooComplex.
  void giveUp() {
    gaveUp_ = true;
    error_ = kTooComplex;
  }

 private:
  uint8_t scan(bool namesAsText);
  uint8_t scanText();
  uint8_t scanNumber();
  uint8_t scanHexNumber();
  uint8_t scanIdentifier(bool namesAsText, bool& substituted);
  uint8_t orPair(char single, uint8_t pair);
  // Scans the next token and goes back; the next scan from here takes the token as found.
  uint8_t lookAhead();
  // Moves past the token lookAhead found.
  void takeLookedAhead();
  char ch(size_t ahead = 0) const { return src_.at(pos_ + ahead); }
  static bool isDigit(char c) { return c >= '0' && c <= '9'; }

  FormulaSource src_;
  size_t pos_ = 0;
  // Start of the outermost scan under way: positions from here on stay readable.
  size_t floor_ = 0;
  int depth_ = 0;
  bool gaveUp_ = false;
  LexerSettings settings_;
  VariableContext* variables_ = nullptr;

  // The last look-ahead: its token, the state its scan left, and where the token lay. It holds
  // while no scan has happened since and no constant has been replaced in the text.
  struct LookedAhead {
    bool valid = false;
    uint8_t token = 0;
    FormulaError error = kNoError;
    size_t from = 0, to = 0;
    uint64_t substitutions = 0;
    double number = 0;
    int index = 0;
  };
  LookedAhead ahead_;
  uint64_t substitutions_ = 0;  // constants replaced so far

  std::string text_;
  double number_ = 0;
  int index_ = 0;
  FormulaError error_ = kNoError;
  std::string errorSubject_;
};

}  // namespace trel
