// A standalone run without a display: the embedded program on the terminal host.
#pragma once

#include <string>
#include <vector>

namespace trel {

// Answers the exit status: 0 when the program ran to its end, 1 when start-up or the run showed an
// error. HALT ends the process itself, with status 0. In IDE mode ("base.exe") without a display
// it explains that the IDE needs one and answers 2.
int runStandaloneOnTerminal(const std::vector<std::string>& arguments);

}  // namespace trel
