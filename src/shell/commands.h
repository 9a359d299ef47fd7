// The commands that use both the translator and the interpreter: Run, the console window's ">>"
// button, and Export.
#pragma once

#include <functional>

#include "machine/machine.h"

namespace trel {

// The Run command: clear the console, translate, run the program, closing lines. `afterTranslate`
// runs between the translation and the run (qn --code writes the code list there).
void Button1Click(Machine& m, const std::function<void()>& afterTranslate = {});
// The console window's ">>" button: run the input box as one line, then empty it.
void ConsoleButton1Click(Machine& m);
// The Export command: the translated program written to exported/ as a library file.
void Button7Click(Machine& m);

}  // namespace trel
