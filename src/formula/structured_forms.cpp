// Compiling the structured forms: the conditional, the three loops and RETURN become jumps, so
// that only the chosen branch runs and loop bodies run again; "$" addresses a variable by a name
// computed at run time. Every loop keeps its counter on the value stack below its condition: the
// "+" at the loop head adds one to it, and after the last test it is the loop's result.
#include "formula/code_format.h"
#include "formula/compiler.h"
#include "formula/function_table.h"

namespace trel {

// CONDITION(c, a, b):  [c] F4->E [a] F2->X  E: [b]  X:
bool FormulaCompiler::parseCondition(uint8_t& t) {
  if (!open() || !partEndingWith(',')) return false;
  size_t toElse = emitJump(fcode::kJumpIfZero);
  if (!partEndingWith(',')) return false;
  size_t toEnd = emitJump(fcode::kJump);
  patchHere(toElse);
  if (!partEndingWith(')')) return false;
  patchHere(toEnd);
  close(t);
  return true;
}

// A loop's counter: `start` below the loop, then the head every round comes back to, which adds 1
// to it. Answers the head's position.
size_t FormulaCompiler::emitLoopCounter(double start) {
  emitNumber(start);
  size_t head = out_.size();
  emitNumber(1);
  emit(fcode::kAdd);
  return head;
}

// LOOP(c, body):  FE(-1)  L: FE(1) + [c] F4->X [body] F1 F2->L  X:
bool FormulaCompiler::parseLoop(uint8_t& t) {
  if (!open()) return false;
  size_t head = emitLoopCounter(-1);
  if (!partEndingWith(',')) return false;
  size_t toEnd = emitJump(fcode::kJumpIfZero);
  if (!partEndingWith(')')) return false;
  emit(fcode::kDrop);
  emitJumpTo(fcode::kJump, head);
  patchHere(toEnd);
  close(t);
  return true;
}

// TILL(body, c):  FE(0)  L: FE(1) + [body] F1 [c] F4->L
bool FormulaCompiler::parseTill(uint8_t& t) {
  if (!open()) return false;
  size_t head = emitLoopCounter(0);
  if (!partEndingWith(',')) return false;
  emit(fcode::kDrop);
  if (!partEndingWith(')')) return false;
  emitJumpTo(fcode::kJumpIfZero, head);
  close(t);
  return true;
}

// SERIES(init, c, step, body):
//   [init] F1 FE(-1)  L: FE(1) + [c] F4->X F2->B  S: [step] F1 F2->L  B: [body] F1 F2->S  X:
bool FormulaCompiler::parseSeries(uint8_t& t) {
  if (!open() || !partEndingWith(',')) return false;
  emit(fcode::kDrop);
  size_t head = emitLoopCounter(-1);
  if (!partEndingWith(',')) return false;
  size_t toEnd = emitJump(fcode::kJumpIfZero);
  size_t toBody = emitJump(fcode::kJump);
  size_t step = out_.size();
  if (!partEndingWith(',')) return false;
  emit(fcode::kDrop);
  emitJumpTo(fcode::kJump, head);
  patchHere(toBody);
  if (!partEndingWith(')')) return false;
  emit(fcode::kDrop);
  emitJumpTo(fcode::kJump, step);
  patchHere(toEnd);
  close(t);
  return true;
}

// RETURN(e):  [e] E0
bool FormulaCompiler::parseReturn(uint8_t& t) {
  if (!open() || !partEndingWith(')')) return false;
  emit(fcode::kStop);
  close(t);
  return true;
}

// $name, $'name', $(e), each optionally followed by [e1, e2, ...] (the name, then e1, then "_"
// and e2 ...), then "++", "--", ":=" e, or nothing: calls of INC, DEC, SET or VAL on that name.
bool FormulaCompiler::parseDollar(uint8_t& t) {
  t = lex_.next(/*namesAsText=*/true);
  if (t == tok::kText || t == tok::kVariable || t == tok::kExtern) {
    emitText(fcode::kText, lex_.text());
  } else if (t == '(') {
    ops_.push('(');
    if (parse() != ')') {
      lex_.setError(kCloseExpected);
      return false;
    }
    emitDownTo('(');
    ops_.pop();
  } else {
    lex_.setError(kSyntaxError);
    return false;
  }
  t = lex_.next();
  if (t == '[') {
    uint8_t r = part();
    emit(fcode::kJoin);
    while (r == ',') {
      emitText(fcode::kText, "_");
      emit(fcode::kJoin);
      r = part();
      emit(fcode::kJoin);
    }
    if (r != ']') {
      lex_.setError(kSyntaxError);
      return false;
    }
    t = lex_.next();
  }
  if (t == tok::kIncrement) {
    emitCall(fn::kInc, 1);
    t = lex_.next();
  } else if (t == tok::kDecrement) {
    emitCall(fn::kDec, 1);
    t = lex_.next();
  } else if (t == tok::kAssign) {
    t = part();
    if (t == tok::kFail) return false;
    emitCall(fn::kSet, 2);
  } else {
    emitCall(fn::kVal, 1);
  }
  return true;
}

}  // namespace trel
