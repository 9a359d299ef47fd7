#include "machine/native_argument.h"

#include <algorithm>

#include "machine/instructions.h"
#include "rtl/integer_text.h"
#include "rtl/text.h"

namespace trel {

namespace {

constexpr size_t kResolvedRegisterCount = 8;

std::string argumentRegister(size_t number) {
  return "RG" + std::to_string(number);
}

// "##" + integer: the register's value becomes the integer's 4 bytes.
std::string resolveInteger(Machine& m, std::string_view registerName, std::string_view value) {
  return storeMachineForm(m, registerName, textToInt(dropFront(value, 2)));
}

// "@@": the register's address in decimal, each digit turned into the byte of its value.
std::string resolveAddress(Machine& m, std::string_view registerName) {
  std::string digits = intToText(VariableAddress(m, registerName));
  for (char& c : digits) c = static_cast<char>(c - '0');
  m.outp.push_back(digits);
  return digits;
}

// "^^" + integer text: the text also names a variable, whose value up to its first zero byte is
// the argument.
std::string resolveTextAt(const Machine& m, std::string_view value) {
  std::string_view name = dropFront(value, 2);
  textToInt(name);  // must be integer text; only the name is used
  const std::string& target = m.table.GetVariable(name);
  return target.substr(0, target.find('\0'));
}

}  // namespace

NativeArgument ResolveNativeArgument(Machine& m, std::string_view registerName) {
  NativeArgument argument;
  // A register that is not declared (a console line before the first run) reads as the
  // not-exists text, which is no storage of the register's own.
  argument.registerValue = m.table.VariableExists(registerName);
  argument.bytes = m.table.GetVariable(registerName);
  if (startsWith(argument.bytes, "##"))
    argument.bytes = resolveInteger(m, registerName, argument.bytes);
  if (startsWith(argument.bytes, "@@")) {
    argument.bytes = resolveAddress(m, registerName);
    argument.registerValue = false;
  }
  if (startsWith(argument.bytes, "^^")) {
    argument.bytes = resolveTextAt(m, argument.bytes);
    argument.registerValue = false;
  }
  return argument;
}

NativeArgumentBuffers::NativeArgumentBuffers(std::array<NativeArgument, kArgumentCount> arguments)
    : arguments_(std::move(arguments)) {
  for (size_t i = 0; i < kArgumentCount; ++i) {
    const std::string& bytes = arguments_[i].bytes;
    if (bytes.empty()) continue;
    std::vector<char>& buffer = buffers_[i];
    buffer.assign(std::max(bytes.size() + 1, kMinimumBufferSize), '\0');
    std::copy(bytes.begin(), bytes.end(), buffer.begin());
  }
}

char* NativeArgumentBuffers::pointer(size_t index) {
  std::vector<char>& buffer = buffers_[index];
  return buffer.empty() ? nullptr : buffer.data();
}

void NativeArgumentBuffers::writeBack(Machine& m) const {
  for (size_t i = 0; i < kArgumentCount; ++i) {
    const NativeArgument& argument = arguments_[i];
    if (!argument.registerValue || argument.bytes.empty()) continue;
    std::string_view written(buffers_[i].data(), argument.bytes.size());
    if (written != argument.bytes) m.table.SetVariable(argumentRegister(i + 1), written);
  }
}

NativeArgumentBuffers resolveNativeRegisters(Machine& m) {
  std::array<NativeArgument, NativeArgumentBuffers::kArgumentCount> passed;
  for (size_t number = 1; number <= kResolvedRegisterCount; ++number) {
    NativeArgument argument = ResolveNativeArgument(m, argumentRegister(number));
    if (number <= passed.size()) passed[number - 1] = std::move(argument);
  }
  return NativeArgumentBuffers(std::move(passed));
}

}  // namespace trel
