// A standalone run without a display: the embedded program on the terminal host.
#pragma once

#include <string>
#include <vector>

namespace trel {

// Answers the exit status: 0 when the run ended normally, 1 after an error. In IDE mode ("base.exe")
// without a display it explains that the IDE needs one and answers 2.
int runStandaloneOnTerminal(const std::vector<std::string>& arguments);

}  // namespace trel
