// The name the process was started by (argv[0]), for messages about the program itself: a built
// program reads its own file through /proc/self/exe, but the user knows it by the name they ran.
#pragma once

#include <string>

namespace trel {

inline std::string& programNameStorage() {
  static std::string name;
  return name;
}
inline void setProgramName(std::string name) {
  programNameStorage() = std::move(name);
}
// The name, or `fallback` when none was set.
inline std::string programName(const std::string& fallback) {
  return programNameStorage().empty() ? fallback : programNameStorage();
}

}  // namespace trel
