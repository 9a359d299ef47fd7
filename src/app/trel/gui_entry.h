// The IDE's entry, built into trel when Qt is available (src/gui).
#pragma once

namespace trel {

// Runs the application with Qt windows: the IDE (first argument "base.exe") or a standalone
// program with its console window. Answers the process's exit status.
int runQtApplication(int argc, char** argv);

}  // namespace trel
