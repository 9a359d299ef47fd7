// The 38 low-level instructions, one row each, in the order the interpreter tries them on a line.
//
// A row gives the instruction's keyword as the keyword test looks for it (upper case), whether
// the line is read again before the test, the handler, and what the handler takes from the
// working text. Rows without a fresh read see the working text as the instructions before them
// left it, so one line can run several instructions ("CALL ::jump2" also runs JUMP on " ::jump2").
//
// Operands: "drop" removes the keyword's characters after the working text's leading blanks;
// "trim" removes characters of code 32 and below at both ends; "value" is a variable's value when
// the text names a declared variable, else the text itself.
#pragma once

#include <array>
#include <string_view>

#include "machine/instruction_set.h"
#include "machine/instructions.h"

namespace trel {

struct InstructionRow {
  Instruction id;
  std::string_view keyword;
  bool freshRead;
  Outcome (*run)(Machine&, RunFrame&);
  std::string_view operands;
};

// clang-format off
inline constexpr std::array<InstructionRow, kInstructionCount> kInstructionTable = {{
  {Instruction::Formula,    "@FORMULA",       false, runFormula,     "@FORMULA text: computes the formula (the rest of the line) into RG0"},
  {Instruction::Assign,     ":=",             true,  runAssign,      "dest := source: declares dest; source is a variable, RND, @@name, ^^name, !AH or text"},
  {Instruction::StdHandles, "%STDHNDL",       true,  runStdHandles,  "%stdhndl: declares stdhndl1 and stdhndl2 as the standard input and output handles"},
  {Instruction::Var,        "VAR",            true,  runVar,         "VAR name: declares the variable"},
  {Instruction::Open,       "__OPEN@@",       false, runOpen,        "__OPEN@@: the open dialog; the chosen path into OpenDialog1.filename"},
  {Instruction::Native,     "__NATIVE@@ ",    false, runNative,      "__NATIVE@@ name: runs the source file whose path the variable holds, then ends"},
  {Instruction::ArrayLoad,  "ARRAYLOAD ",     true,  runArrayLoad,   "ARRAYLOAD index array: RG2 := array[value of index]"},
  {Instruction::ArraySave,  "ARRAYSAVE ",     true,  runArraySave,   "ARRAYSAVE index array value: array[value of index] := value of value"},
  {Instruction::Array,      "ARRAY ",         true,  runArray,       "ARRAY count array: declares array[0] to array[count]"},
  {Instruction::Int,        "__INT@@",        true,  runInt,         "__INT@@ name: the variable's integer as its four bytes, lowest first"},
  {Instruction::Add,        "+",              true,  runAdd,         "dest+source: integer addition into dest"},
  {Instruction::Subtract,   "-",              false, runSubtract,    "dest-source: integer subtraction into dest, logs the result"},
  {Instruction::Multiply,   "*",              false, runMultiply,    "dest*source: integer multiplication into dest"},
  {Instruction::BeginClass, "__BEGINCLASS@@", false, runBeginClass,  "__BEGINCLASS@@ class: RG8 := class"},
  {Instruction::EndClass,   "__ENDCLASS@@",   false, runEndClass,    "__ENDCLASS@@: RG8 := 00"},
  {Instruction::Property,   "__PROPERTY@@",   false, runProperty,    "__PROPERTY@@ member: declares RG8.member"},
  {Instruction::Method,     "__METHOD@@",     false, runMethod,      "__METHOD@@ method: declares RG8.method and gives ::method the label ::RG8.method"},
  {Instruction::Inherit,    "__INHERIT@@",    false, runInherit,     "__INHERIT@@ parent child: copies the parent's members and method labels to child"},
  {Instruction::Divide,     "/",              false, runDivide,      "DIV dest/source: drops three characters; dest := dest / source rounded to even"},
  {Instruction::Return,     "RETURN",         false, runReturn,      "RETURN: back to the line after the newest pending CALL (popped from FL2)"},
  {Instruction::Call,       "CALL",           false, runCall,        "CALL label: pushes the return point onto FL2 and jumps to the label"},
  {Instruction::Jump,       "JUMP",           false, runJump,        "JUMP label: goes on after the label line"},
  {Instruction::Compare,    "CMP",            false, runCompare,     "CMP a,b: FL1 := =, <>, < or > (as integers when one is integer text)"},
  {Instruction::IfEqual,    "IF =",           false, runIfEqual,     "IF = label: jumps when FL1 is ="},
  {Instruction::IfNotEqual, "IF !=",          false, runIfNotEqual,  "IF != label: jumps when FL1 is not ="},
  {Instruction::IfGreater,  "IF >",           false, runIfGreater,   "IF > label: jumps when FL1 is >"},
  {Instruction::IfLess,     "IF <",           false, runIfLess,      "IF < label: jumps when FL1 is <"},
  {Instruction::Echo,       "%ECHO",          true,  runEcho,        "%ECHO operand: prints the value of the operand on the console"},
  {Instruction::OutFile,    "%OUTF",          false, runOutFile,     "%OUTF path: saves the console lines to the file"},
  {Instruction::NoOut,      "%NO_OUT",        false, runNoOut,       "%NO_OUT: hides the console"},
  {Instruction::Halt,       "HALT",           false, runHalt,        "HALT: ends the run (a standalone program: the process)"},
  {Instruction::ExtS,       "EXTS",           false, runExtS,        "EXTS library,function: calls a native function with RG1-RG5; its text into RGSTR"},
  {Instruction::ExtL,       "EXTL",           false, runExtL,        "EXTL library,function: calls a native function with RG1-RG5; its integer into RG0"},
  {Instruction::Xor,        "XOR",            false, runXor,         "XOR a,b: a := a xor value of b"},
  {Instruction::MakeForm,   "%MAKE_FORM",     false, runMakeForm,    "%MAKE_FORM: a window with caption RG1, width RG2, height RG3"},
  {Instruction::MakeLabel,  "%MAKE_LABEL",    false, runMakeLabel,   "%MAKE_LABEL: a label with caption RG1 at left RG2, top RG3 on the current window"},
  {Instruction::Round,      "__ROUND@@",      false, runRound,       "__ROUND@@ name: the variable's number rounded to an integer, ties to even"},
  {Instruction::DrawForm,   "%DRAW_FORM",     false, runDrawForm,    "%DRAW_FORM colour x y: one pixel on the current window"},
}};
// clang-format on

constexpr bool rowsFollowTheEnumeration() {
  for (size_t i = 0; i < kInstructionTable.size(); ++i)
    if (static_cast<size_t>(kInstructionTable[i].id) != i) return false;
  return true;
}
static_assert(rowsFollowTheEnumeration(), "row i of the table must be instruction i");

}  // namespace trel
