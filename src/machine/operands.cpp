// Operand rules shared by the instruction groups.
#include "machine/instructions.h"
#include "rtl/integer_text.h"

namespace trel {

std::string_view valueOrLiteral(const Machine& m, std::string_view operand) {
  int slot = m.table.findSlot(operand);
  return slot >= 0 ? std::string_view(m.table.valueAt(slot)) : operand;
}

std::string_view textBefore(std::string_view s, std::string_view separator) {
  size_t p = s.find(separator);
  return p == std::string_view::npos ? std::string_view() : s.substr(0, p);
}

std::string_view textAfter(std::string_view s, std::string_view separator) {
  size_t p = s.find(separator);
  return p == std::string_view::npos ? s : s.substr(p + separator.size());
}

uint32_t VariableAddress(Machine& m, std::string_view name) {
  int slot = m.table.findSlot(name);
  // A name no slot bears has no storage; it answers the null address.
  uint32_t address = slot < 0 ? 0 : VariableTable::addressOfSlot(slot);
  m.debug.append("POINTER " + std::string(name) + " >> 0x" + hexText(address, 1));
  return address;
}

std::string int32Bytes(int32_t value) {
  uint32_t bits = static_cast<uint32_t>(value);
  std::string b(4, '\0');
  for (int i = 0; i < 4; ++i)
    b[static_cast<size_t>(i)] = static_cast<char>((bits >> (8 * i)) & 0xFF);
  return b;
}

std::string storeMachineForm(Machine& m, std::string_view name, int32_t value) {
  std::string bytes = int32Bytes(value);
  uint32_t address = VariableAddress(m, name);
  m.debug.append(hexText(address, 2) + ">>" + hexText(static_cast<uint32_t>(value), 8));
  m.table.SetVariable(name, bytes);
  m.outp.push_back(bytes);
  return bytes;
}

}  // namespace trel
