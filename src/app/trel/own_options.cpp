#include "app/trel/own_options.h"

#include <cstdio>

#include "app/version_line.h"
#include "resources/embedded_code.h"
#include "resources/stub_resources.h"

namespace trel {

namespace {

const char kHelp[] =
    "usage:\n"
    "  trel base.exe     start the IDE in the current directory, the start-up directory that "
    "holds\n"
    "                    base.exe, halp.rtf, lib/, projects/ and the editor text code.qn\n"
    "  trel-ide [FILE]   prepare a start-up directory of your own and start the IDE there\n"
    "A program built with Build exe (or qn build) is a copy of trel that runs its own program\n"
    "instead. See trel(1) and qn(1).\n";

bool carriesNoProgram(const std::string& executablePath) {
  try {
    std::string entry = readEmbeddedEntry(executablePath);
    return entry.empty() || entry == kStubPlaceholder;
  } catch (...) {
    return true;  // no resources at all: a trel built without the stub step
  }
}

}  // namespace

bool answerOwnOption(const std::vector<std::string>& arguments, const std::string& executablePath) {
  if (arguments.size() != 1) return false;
  const std::string& option = arguments[0];
  if (option != "--version" && option != "--help") return false;
  if (!carriesNoProgram(executablePath)) return false;
  std::fputs(option == "--version" ? versionLine("trel").c_str() : kHelp, stdout);
  return true;
}

}  // namespace trel
