// The entry of the Qt application, built into trel when Qt is available.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace trel {

// What runs a standalone program when no display can be reached after all: it gets the
// command-line arguments after the program name and answers the exit status.
using TerminalFallback = std::function<int(const std::vector<std::string>& arguments)>;

// Runs the application with Qt windows: the IDE (first argument "base.exe") or a standalone
// program with its console window. Answers the process's exit status.
int runQtApplication(int argc, char** argv, const TerminalFallback& runWithoutDisplay);

}  // namespace trel
