// The line `--version` prints: the program, the version and, for a build from a git checkout,
// the commit it was built from.
#pragma once

#include <string>

#include "trel_version.h"

namespace trel {

inline std::string versionLine(const std::string& program) {
  std::string line = program + " (Trel) " + TREL_VERSION;
  if (*TREL_COMMIT) line += std::string(" (commit ") + TREL_COMMIT + ")";
  return line + "\n";
}

}  // namespace trel
