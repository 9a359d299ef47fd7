#include "machine/instruction_set.h"

#include <array>
#include <string>

#include "rtl/text.h"

namespace trel {

namespace {
constexpr std::array<std::string_view, kInstructionCount> kKeywords = {"@FORMULA",
                                                                       ":=",
                                                                       "%STDHNDL",
                                                                       "VAR",
                                                                       "__OPEN@@",
                                                                       "__NATIVE@@ ",
                                                                       "ARRAYLOAD ",
                                                                       "ARRAYSAVE ",
                                                                       "ARRAY ",
                                                                       "__INT@@",
                                                                       "+",
                                                                       "-",
                                                                       "*",
                                                                       "__BEGINCLASS@@",
                                                                       "__ENDCLASS@@",
                                                                       "__PROPERTY@@",
                                                                       "__METHOD@@",
                                                                       "__INHERIT@@",
                                                                       "/",
                                                                       "RETURN",
                                                                       "CALL",
                                                                       "JUMP",
                                                                       "CMP",
                                                                       "IF =",
                                                                       "IF !=",
                                                                       "IF >",
                                                                       "IF <",
                                                                       "%ECHO",
                                                                       "%OUTF",
                                                                       "%NO_OUT",
                                                                       "HALT",
                                                                       "EXTS",
                                                                       "EXTL",
                                                                       "XOR",
                                                                       "%MAKE_FORM",
                                                                       "%MAKE_LABEL",
                                                                       "__ROUND@@",
                                                                       "%DRAW_FORM"};
}  // namespace

std::string_view instructionKeyword(Instruction instruction) {
  return kKeywords[static_cast<size_t>(instruction)];
}

uint64_t instructionMask(std::string_view line) {
  uint64_t mask = 0;
  if (line.find("//") != std::string_view::npos) mask |= uint64_t{1} << kCommentBit;
  if (line.find('"') != std::string_view::npos) return mask;
  std::string upper = upperCase(line);
  for (int i = 0; i < kInstructionCount; ++i)
    if (upper.find(kKeywords[static_cast<size_t>(i)]) != std::string::npos)
      mask |= uint64_t{1} << i;
  return mask;
}

bool MatchInstruction(std::string_view keyword, std::string_view line) {
  if (line.find('"') != std::string_view::npos) return false;
  return upperCase(line).find(upperCase(keyword)) != std::string::npos;
}

}  // namespace trel
