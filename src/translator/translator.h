// The translator's entry: rewrites the editor lines (highlvl) of a machine into its low-level code
// (code). An error stop shows its message, checks "Only translate" and sets translationStopped.
#pragma once

#include "machine/machine.h"
#include "machine/source_translator.h"

namespace trel {

void translate(Machine& machine);

// Adds to machine.translationWarnings what the last translation left that cannot work as written:
// jumps and calls to labels no line defines, %import of libraries that do not exist.
void lintTranslation(Machine& machine);

// The translator as the machine's nested runs use it.
const SourceTranslator& sourceTranslator();

}  // namespace trel
