// One call of compile: its run mode, its last line index, its step counter and the working text the
// instructions take their operands from.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "machine/instruction_set.h"
#include "rtl/text.h"

namespace trel {

class Machine;

// The two ways compile runs: the program list from its first line on a fresh machine, or the
// console input box once on the state the last runs left.
enum class RunMode { Program = 1, ConsoleLine = 2 };

// The working text: the current line as read, shortened by the instructions that take operands
// from it. `mask` holds the instruction keywords of the line as read; a shortened text is a part
// of that line, so a keyword missing from the mask is missing from the text too.
//
// A program line as read is not copied at once: while `inList` is set, the working text is the
// program list's line sourceIndex (unchanged since, which the machine sees to by copying it
// before the list changes) and `text` holds nothing of it. Lines whose step is decoded never need
// the copy; everything else takes the text through Machine::workText.
struct WorkingText {
  std::string text;
  uint64_t mask = 0;
  bool modified = true;  // no longer exactly the line it was read from
  bool inList = false;
  int32_t sourceIndex = -1;
  uint64_t sourceGeneration = 0;
};

struct RunFrame {
  RunMode mode = RunMode::Program;
  int32_t lastLine = 0;
  int64_t stepCounter = 1;
  uint64_t currentWindow = 0;  // window made by %MAKE_FORM in this call, 0 for none
  bool jumped = false;         // a taken JUMP, CALL, RETURN or IF in this step
  WorkingText work;
  RunFrame* outer = nullptr;

  std::string_view text() const { return work.text; }
  // Drops the leading blanks and control characters, then n characters: an indented instruction
  // takes its operands as if its keyword stood at the start of the line.
  void dropKeyword(size_t n) { setText(dropFront(trimLeftView(work.text), n)); }
  // The same with as many characters as the instruction's keyword has.
  void dropKeyword(Instruction id) { dropKeyword(instructionKeyword(id).size()); }
  // Drops exactly n characters.
  void dropChars(size_t n) { setText(dropFront(work.text, n)); }
  void trimText() { setText(trimView(work.text)); }
  // `part` must lie within the current text (the text only ever gets shorter).
  void setText(std::string_view part) {
    if (part.size() == work.text.size()) return;
    size_t offset = static_cast<size_t>(part.data() - work.text.data());
    // In place, so the text keeps its buffer (see Interpreter::run).
    work.text.erase(offset + part.size());
    work.text.erase(0, offset);
    work.modified = true;
  }
};

enum class Outcome { Continue, EndRun };

}  // namespace trel
