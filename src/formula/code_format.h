// Formula code: the byte string the compiler emits and the evaluator runs, in postfix order.
//
// Every instruction is one byte, some followed by operands; multi-byte operands are
// little-endian. A jump target is the index (from 0) of the instruction execution continues with.
//
//   byte  operands                 action
//   op    -                        an operator of kOperators below: takes its one or two
//                                  operands from the stack, pushes its result
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

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

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

// --- The operators: one table for the compiler, the evaluator and the fast path.

enum class Fixity : uint8_t { Prefix, Infix };
enum class Assoc : uint8_t { Left, Right };

// What an operator takes its operands as; the evaluator's and the fast path's cases follow it.
enum class Operands : uint8_t {
  Numbers,         // numbers, a text converted (numericInfix, numericPrefix compute them)
  NumbersOrTexts,  // two numbers as numbers, else as texts: "+" adds or joins, comparisons
  Texts,           // texts ("@", LIKE); so never on the fast path
};

struct OperatorInfo {
  Op code;
  // As the formula writes it. LIKE is also "=="; the words AND, MOD, SHL ... are constants that
  // stand for a spelling here.
  std::string_view spelling;
  // The lexer's token for the spelling: the character itself, or a code of its own that equals
  // the instruction. An infix operator's token is its instruction: the compiler emits it as is.
  uint8_t token;
  // Precedence class: a lower class binds more tightly. Comparisons bind most loosely of all, so
  // x > 1 & x < 5 is (x > (1 & x)) < 5.
  uint8_t precedence;
  Fixity fixity;
  Assoc assoc;
  Operands operands;
};

inline constexpr OperatorInfo kOperators[] = {
    // clang-format off
    // code         spelling token        class fixity, associativity, operands
    {kPower,        "^",    '^',           2, Fixity::Infix, Assoc::Left, Operands::Numbers},
    {kNot,          "!",    '!',           3, Fixity::Prefix, Assoc::Right, Operands::Numbers},
    {kBitNot,       "!!",   kBitNot,       3, Fixity::Prefix, Assoc::Right, Operands::Numbers},
    {kNegate,       "-",    '-',           3, Fixity::Prefix, Assoc::Right, Operands::Numbers},
    {kMul,          "*",    '*',           4, Fixity::Infix, Assoc::Left, Operands::Numbers},
    {kDiv,          "/",    '/',           4, Fixity::Infix, Assoc::Left, Operands::Numbers},
    {kIntDiv,       "\\",   '\\',          4, Fixity::Infix, Assoc::Left, Operands::Numbers},
    {kMod,          "%",    '%',           4, Fixity::Infix, Assoc::Left, Operands::Numbers},
    {kAnd,          "&",    '&',           4, Fixity::Infix, Assoc::Left, Operands::Numbers},
    {kBitAnd,       "&&",   kBitAnd,       4, Fixity::Infix, Assoc::Left, Operands::Numbers},
    {kShiftRight,   ">>",   kShiftRight,   4, Fixity::Infix, Assoc::Left, Operands::Numbers},
    {kShiftLeft,    "<<",   kShiftLeft,    4, Fixity::Infix, Assoc::Left, Operands::Numbers},
    {kAdd,          "+",    '+',           5, Fixity::Infix, Assoc::Left, Operands::NumbersOrTexts},
    {kSub,          "-",    '-',           5, Fixity::Infix, Assoc::Left, Operands::Numbers},
    {kJoin,         "@",    '@',           5, Fixity::Infix, Assoc::Left, Operands::Texts},
    {kOr,           "|",    '|',           6, Fixity::Infix, Assoc::Left, Operands::Numbers},
    {kBitOr,        "||",   kBitOr,        6, Fixity::Infix, Assoc::Left, Operands::Numbers},
    {kXor,          "XOR",  kXor,          6, Fixity::Infix, Assoc::Left, Operands::Numbers},
    {kBitXor,       "BXOR", kBitXor,       6, Fixity::Infix, Assoc::Left, Operands::Numbers},
    {kEqual,        "=",    '=',           7, Fixity::Infix, Assoc::Left, Operands::NumbersOrTexts},
    {kNotEqual,     "<>",   kNotEqual,     7, Fixity::Infix, Assoc::Left, Operands::NumbersOrTexts},
    {kLess,         "<",    '<',           7, Fixity::Infix, Assoc::Left, Operands::NumbersOrTexts},
    {kGreater,      ">",    '>',           7, Fixity::Infix, Assoc::Left, Operands::NumbersOrTexts},
    {kLessEqual,    "<=",   kLessEqual,    7, Fixity::Infix, Assoc::Left, Operands::NumbersOrTexts},
    {kGreaterEqual, ">=",   kGreaterEqual, 7, Fixity::Infix, Assoc::Left, Operands::NumbersOrTexts},
    {kLike,         "LIKE", kLike,         7, Fixity::Infix, Assoc::Left, Operands::Texts},
    // clang-format on
};

namespace detail {
// Entry number + 1 of every operator's instruction; 0 for the other bytes.
constexpr std::array<uint8_t, 256> makeOperatorIndex() {
  std::array<uint8_t, 256> index{};
  for (size_t k = 0; k < std::size(kOperators); ++k)
    index[kOperators[k].code] = static_cast<uint8_t>(k + 1);
  return index;
}
inline constexpr std::array<uint8_t, 256> kOperatorIndex = makeOperatorIndex();
}  // namespace detail

// The entry of kOperators an instruction stands for, or -1 when it is no operator. (Compile-time
// checks use this: GCC's sanitizers keep comparisons of addresses out of constant expressions.)
constexpr int operatorIndex(uint8_t code) {
  return detail::kOperatorIndex[code] - 1;
}

// The operator an instruction stands for, or null when it is none.
inline const OperatorInfo* findOperator(uint8_t code) {
  int k = operatorIndex(code);
  return k < 0 ? nullptr : &kOperators[k];
}

namespace detail {
constexpr bool operatorTableIsSound() {
  for (size_t k = 0; k < std::size(kOperators); ++k) {
    const OperatorInfo& o = kOperators[k];
    if (operatorIndex(o.code) != static_cast<int>(k)) return false;  // in two entries
    if (o.fixity == Fixity::Infix && o.token != o.code) return false;
    if (o.spelling.empty()) return false;
    for (size_t j = 0; j < k; ++j)
      if (kOperators[j].fixity == o.fixity && kOperators[j].token == o.token) return false;
  }
  return true;
}
}  // namespace detail
static_assert(detail::operatorTableIsSound(),
              "every operator once; an infix operator's token is its instruction; no token twice "
              "in one fixity");

// An instruction and its operand are appended in one piece; operands are read in one piece where
// the machine's byte order is the code's.
// The instruction `op` and the u32 after it.
inline void putOpU32(std::string& code, uint8_t op, uint32_t v) {
  char b[5] = {static_cast<char>(op), static_cast<char>(v), static_cast<char>(v >> 8),
               static_cast<char>(v >> 16), static_cast<char>(v >> 24)};
  code.append(b, 5);
}

inline void patchU32(std::string& code, size_t at, uint32_t v) {
  for (int k = 0; k < 4; ++k) code[at + k] = static_cast<char>(v >> (8 * k));
}

inline uint32_t getU32(const uint8_t* p) {
  if constexpr (std::endian::native == std::endian::little) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
  }
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

// The instruction `op` and the number after it.
inline void putOpF64(std::string& code, uint8_t op, double v) {
  uint64_t bits;
  std::memcpy(&bits, &v, 8);
  char b[9];
  b[0] = static_cast<char>(op);
  for (int k = 0; k < 8; ++k) b[1 + k] = static_cast<char>(bits >> (8 * k));
  code.append(b, 9);
}

inline double getF64(const uint8_t* p) {
  uint64_t bits = 0;
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(&bits, p, 8);
  } else {
    for (int k = 7; k >= 0; --k) bits = bits << 8 | p[k];
  }
  double v;
  std::memcpy(&v, &bits, 8);
  return v;
}

}  // namespace trel::fcode
