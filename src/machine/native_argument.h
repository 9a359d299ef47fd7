// The arguments of a native call (EXTS, EXTL): each register's value turned into the byte text
// the called function receives.
//
// Value prefixes:
//   plain text   the value itself
//   "##" + int   the integer's 4 bytes, lowest first; the register then holds those bytes
//   "@@" ...     the decimal digits of the register's address, one byte per digit (0 to 9)
//   "^^" + int   the value of the variable the integer text names, up to its first zero byte
// The rules apply one after the other to the text the previous rule left, so "##16448" (bytes
// "@@\0\0") goes on to the "@@" rule.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "machine/machine.h"

namespace trel {

struct NativeArgument {
  std::string bytes;
  // The bytes are the register's own value: what the called function writes into them goes back
  // to the register after the call.
  bool registerValue = false;
};

// Resolves one register with its side effects on the register, the trace memo `outp` and the log.
// Throws trel::Error when a "##" or "^^" value is not integer text.
NativeArgument ResolveNativeArgument(Machine& m, std::string_view registerName);

// The five buffers handed to a native function. Each holds its argument's bytes and a zero, padded
// with zeros to at least kMinimumBufferSize bytes, so a function that reads a 4-byte or
// pointer-sized number from any argument stays inside the buffer. An empty argument is passed as a
// null pointer.
class NativeArgumentBuffers {
 public:
  static constexpr size_t kArgumentCount = 5;
  static constexpr size_t kMinimumBufferSize = 8;

  explicit NativeArgumentBuffers(std::array<NativeArgument, kArgumentCount> arguments);

  char* pointer(size_t index);
  // Copies what the function left within each register argument's length back into RG1 to RG5.
  void writeBack(Machine& m) const;

 private:
  std::array<NativeArgument, kArgumentCount> arguments_;
  std::array<std::vector<char>, kArgumentCount> buffers_;
};

// Resolves RG1 to RG8 in order (all with their side effects) and keeps the first five.
NativeArgumentBuffers resolveNativeRegisters(Machine& m);

}  // namespace trel
