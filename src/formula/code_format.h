// Formula code: the byte string the compiler emits and the evaluator runs, in postfix order.
//
// Every instruction is one byte, some followed by operands; multi-byte operands are
// little-endian. A jump target is the index (from 0) of the instruction execution continues with.
//
//   byte  operands                 action
//   21 !  -                        logical not            FB    -          negate
//   25 %  -                        integer remainder      5C \  -          integer division
//   26 &  -                        logical and            7C |  -          logical or
//   F7    -                        logical exclusive or
//   2A *  2B +  2D -  2F /  5E ^   arithmetic ("+" joins texts when an operand is no number)
//   3C <  3D =  3E >  F9 <=  FA >=  FC <>                  comparisons (as texts when no numbers)
//   40 @  -                        join texts             DF    -          mask match (LIKE)
//   E1 E2 E3 E4                    bitwise not, and, or, exclusive or
//   E5 E6                          shift right (zero fill), shift left
//   E0    -                        stop
//   E7    u32 length, name         push a reference to an external variable
//   F1    -                        drop the top value
//   F2    u32 target               jump
//   F4    u32 target               pop; jump when it is zero
//   F5    u8 function, u8 count    call a built-in function (count FF: the count is the top value)
//   F6    u32 length, text         push a text
//   FD    u32 index                push a copy of the host's variable at the index
//   FE    f64                      push a number
//
// The variable operand holds the whole index, so every one of the host's variables can be named.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

namespace trel::fcode {

enum Op : uint8_t {
  kNot = 0x21,
  kMod = 0x25,
  kAnd = 0x26,
  kMul = 0x2A,
  kAdd = 0x2B,
  kSub = 0x2D,
  kDiv = 0x2F,
  kLess = 0x3C,
  kEqual = 0x3D,
  kGreater = 0x3E,
  kJoin = 0x40,
  kIntDiv = 0x5C,
  kPower = 0x5E,
  kOr = 0x7C,
  kLike = 0xDF,
  kStop = 0xE0,
  kBitNot = 0xE1,
  kBitAnd = 0xE2,
  kBitOr = 0xE3,
  kBitXor = 0xE4,
  kShiftRight = 0xE5,
  kShiftLeft = 0xE6,
  kExternVar = 0xE7,
  kDrop = 0xF1,
  kJump = 0xF2,
  kJumpIfZero = 0xF4,
  kCall = 0xF5,
  kText = 0xF6,
  kXor = 0xF7,
  kLessEqual = 0xF9,
  kGreaterEqual = 0xFA,
  kNegate = 0xFB,
  kNotEqual = 0xFC,
  kVariable = 0xFD,
  kNumber = 0xFE,
};

// The count byte of a call whose argument count is the top value.
inline constexpr uint8_t kVariableCount = 0xFF;

inline void putU32(std::string& code, uint32_t v) {
  char b[4] = {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
               static_cast<char>(v >> 24)};
  code.append(b, 4);
}

inline void patchU32(std::string& code, size_t at, uint32_t v) {
  for (int k = 0; k < 4; ++k) code[at + k] = static_cast<char>(v >> (8 * k));
}

inline uint32_t getU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

inline void putF64(std::string& code, double v) {
  uint64_t bits;
  std::memcpy(&bits, &v, 8);
  for (int k = 0; k < 8; ++k) code.push_back(static_cast<char>(bits >> (8 * k)));
}

inline double getF64(const uint8_t* p) {
  uint64_t bits = 0;
  for (int k = 7; k >= 0; --k) bits = bits << 8 | p[k];
  double v;
  std::memcpy(&v, &bits, 8);
  return v;
}

}  // namespace trel::fcode
