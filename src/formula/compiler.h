// The formula compiler: an operator-precedence parser that emits formula code (code_format.h)
// while the lexer reads, without building a tree. The operators, their precedence classes and
// associativity are those of fcode::kOperators.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "formula/lexer.h"
#include "formula/operator_stack.h"

namespace trel {

class VariableContext;

class FormulaCompiler {
 public:
  // Puts the code, ending with the stop instruction, into `code` (whose room the next
  // compilation reuses). Raises FormulaException with the error's message when the text does not
  // compile.
  void compile(std::string_view text, const LexerSettings& settings, VariableContext& variables,
               bool testUsedVars, std::string& code);

 private:
  // Parses an operand and the operators and operands after it; returns the token that ended
  // the expression (tok::kEnd, ")", "," ...) or tok::kFail.
  uint8_t parse();
  uint8_t parseChain();
  bool parseCall(int index, uint8_t& t);
  // One part of a bracket, call or form: a "," marker, an expression, its pending operators.
  uint8_t part();
  // The next part must end with `expected` ("," or ")"), else the error for a missing part or a
  // missing ")".
  bool partEndingWith(uint8_t expected);
  bool open();
  void close(uint8_t& t);
  void emitDownTo(uint8_t marker);

  // structured_forms.cpp
  bool parseCondition(uint8_t& t);
  bool parseLoop(uint8_t& t);
  bool parseTill(uint8_t& t);
  bool parseSeries(uint8_t& t);
  bool parseReturn(uint8_t& t);
  bool parseDollar(uint8_t& t);

  // Emitting code.
  void emit(uint8_t op) { out_.push_back(static_cast<char>(op)); }
  void emitNumber(double v);
  size_t emitLoopCounter(double start);
  void emitText(uint8_t op, std::string_view text);
  void emitCall(int index, uint8_t count);
  // A jump whose target is filled in later; returns where its operand is.
  size_t emitJump(uint8_t op);
  void emitJumpTo(uint8_t op, size_t target);
  void patchHere(size_t operand);

  FormulaLexer lex_;
  TFormulaStack ops_;
  std::string out_;
  int nesting_ = 0;
};

}  // namespace trel
