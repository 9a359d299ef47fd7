// `trel --version` and `trel --help`. A built program is a copy of trel and must run whatever its
// arguments are, so only the stub itself (an executable whose embedded entry is still the
// placeholder, or that carries none) answers them.
#pragma once

#include <string>
#include <vector>

namespace trel {

// Prints the answer to an option of trel's own and answers true when `arguments` ask for one and
// `executablePath` holds no program; answers false otherwise, printing nothing.
bool answerOwnOption(const std::vector<std::string>& arguments, const std::string& executablePath);

}  // namespace trel
