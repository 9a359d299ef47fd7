// The 38 instructions in the order the interpreter tests them (their table, with keywords and
// handlers, is machine/instruction_table.h), and the keyword test.
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
  Formula,
  Assign,
  StdHandles,
  Var,
  Open,
  Native,
  ArrayLoad,
  ArraySave,
  Array,
  Int,
  Add,
  Subtract,
  Multiply,
  BeginClass,
  EndClass,
  Property,
  Method,
  Inherit,
  Divide,
  Return,
  Call,
  Jump,
  Compare,
  IfEqual,
  IfNotEqual,
  IfGreater,
  IfLess,
  Echo,
  OutFile,
  NoOut,
  Halt,
  ExtS,
  ExtL,
  Xor,
  MakeForm,
  MakeLabel,
  Round,
  DrawForm,
};

inline constexpr int kInstructionCount = 38;

// The keyword as the test looks for it (upper case).
std::string_view instructionKeyword(Instruction instruction);

// Bit i is set when instruction i's keyword matches the line; 0 for a line with a double quote.
// Bit kCommentBit is set when the line contains "//" (the comment rule ignores double quotes).
inline constexpr int kCommentBit = 63;
uint64_t instructionMask(std::string_view line);
constexpr uint64_t instructionBit(Instruction i) {
  return uint64_t{1} << static_cast<int>(i);
}
inline bool maskHas(uint64_t mask, Instruction i) {
  return (mask >> static_cast<int>(i)) & 1u;
}

}  // namespace trel
