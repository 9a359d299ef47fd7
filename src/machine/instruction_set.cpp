#include "machine/instruction_set.h"

#include "machine/instruction_table.h"

#include <array>
#include <string>

#include "rtl/text.h"

namespace trel {

std::string_view instructionKeyword(Instruction instruction) {
  return kInstructionTable[static_cast<size_t>(instruction)].keyword;
}

uint64_t instructionMask(std::string_view line) {
  uint64_t mask = 0;
  if (line.find("//") != std::string_view::npos) mask |= uint64_t{1} << kCommentBit;
  if (line.find('"') != std::string_view::npos) return mask;
  std::string upper = upperCase(line);
  for (int i = 0; i < kInstructionCount; ++i)
    if (upper.find(kInstructionTable[static_cast<size_t>(i)].keyword) != std::string::npos)
      mask |= uint64_t{1} << i;
  return mask;
}

}  // namespace trel
