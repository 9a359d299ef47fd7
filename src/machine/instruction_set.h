// The 38 instruction keywords in the order the interpreter tests them, and the keyword test.
//
// A keyword matches when it occurs anywhere in the upper-cased line and the line holds no double
// quote; so keywords match inside longer words ("returnvalue" holds RETURN, "%ECHO variable" holds
// VAR). Keywords with a trailing blank include it in the test, which keeps "ARRAYLOAD " lines from
// also matching "ARRAY ".
#pragma once

#include <cstdint>
#include <string_view>

namespace trel {

enum class Instruction : uint8_t {
  Formula,     // "@FORMULA"
  Assign,      // ":="
  StdHandles,  // "%stdhndl"
  Var,         // "VAR"
  Open,        // "__OPEN@@"
  Native,      // "__NATIVE@@ "
  ArrayLoad,   // "ARRAYLOAD "
  ArraySave,   // "ARRAYSAVE "
  Array,       // "ARRAY "
  Int,         // "__INT@@"
  Add,         // "+"
  Subtract,    // "-"
  Multiply,    // "*"
  BeginClass,  // "__BEGINCLASS@@"
  EndClass,    // "__ENDCLASS@@"
  Property,    // "__PROPERTY@@"
  Method,      // "__METHOD@@"
  Inherit,     // "__INHERIT@@"
  Divide,      // "/"
  Return,      // "RETURN"
  Call,        // "CALL"
  Jump,        // "JUMP"
  Compare,     // "CMP"
  IfEqual,     // "IF ="
  IfNotEqual,  // "IF !="
  IfGreater,   // "IF >"
  IfLess,      // "IF <"
  Echo,        // "%ECHO"
  OutFile,     // "%OUTF"
  NoOut,       // "%NO_OUT"
  Halt,        // "HALT"
  ExtS,        // "EXTS"
  ExtL,        // "EXTL"
  Xor,         // "XOR"
  MakeForm,    // "%MAKE_FORM"
  MakeLabel,   // "%MAKE_LABEL"
  Round,       // "__ROUND@@"
  DrawForm,    // "%DRAW_FORM"
};

inline constexpr int kInstructionCount = 38;

// The keyword as the test looks for it (upper case).
std::string_view instructionKeyword(Instruction instruction);

// Bit i is set when instruction i's keyword matches the line; 0 for a line with a double quote.
// Bit kCommentBit is set when the line contains "//" (the comment rule ignores double quotes).
inline constexpr int kCommentBit = 63;
uint64_t instructionMask(std::string_view line);
inline bool maskHas(uint64_t mask, Instruction i) {
  return (mask >> static_cast<int>(i)) & 1u;
}

// The keyword test on its own, as the interpreter applies it (without the log line).
bool MatchInstruction(std::string_view keyword, std::string_view line);

}  // namespace trel
