// qn: the headless command line for Trel's core.
#include <cstdio>
#include <cstring>
#include <string>

#include "app/qn/qn_commands.h"
#include "rtl/decimal_separator.h"
#include "rtl/errors.h"
#include "rtl/random.h"
#include "rtl/text.h"

namespace trel::qn {

namespace {

const char kUsage[] =
    "usage:\n"
    "  qn run FILE [OPTIONS]        translate FILE and run it (the Run command)\n"
    "  qn exec FILE [OPTIONS]       run FILE as low-level code, untranslated\n"
    "  qn translate FILE            print the low-level code translated from FILE\n"
    "  qn build FILE -o OUT [--stub PATH]   translate FILE and build a standalone program\n"
    "  qn export FILE               export FILE's translation as a library into exported/\n"
    "  qn unpack EXE                print the low-level program embedded in a built program\n"
    "  qn eval FORMULA              compute a formula and print the result\n"
    "  qn debug FILE [--seed N] [--answers FILE]   debug FILE with commands read from standard\n"
    "                               input (help lists them)\n"
    "options of run and exec:\n"
    "  --log FILE         write the assembly log there when the run ends\n"
    "  --code FILE        write the code list there before the run\n"
    "  --only-translate   run with \"Only translate\" checked\n"
    "  -i, --interactive  afterwards run each line of standard input as a console line\n"
    "  --max-steps N      stop after N steps with \"Step limit reached\" (exit status 3)\n"
    "  --max-memory MB    stop when the run holds more than MB megabytes (exit status 3;\n"
    "                     default 1024, 0 for no limit)\n"
    "  --log-lines N      keep at most N lines of the assembly log (oldest dropped)\n"
    "  --seed N           seed the random generator\n"
    "  --answers FILE     answers for dialogs, one per line, used in order\n";

struct CommandEntry {
  const char* name;
  int (*run)(const Args&);
};

const CommandEntry kCommands[] = {
    {"run", runCommand},     {"exec", execCommand},     {"translate", translateCommand},
    {"build", buildCommand}, {"export", exportCommand}, {"unpack", unpackCommand},
    {"eval", evalCommand},   {"debug", debugCommand},
};

}  // namespace

int usageError(const std::string& message) {
  std::string line = "qn: " + message + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
  return 2;
}

bool readInputFile(const std::string& path, std::string& text) {
  try {
    text = readWholeFile(path);
    return true;
  } catch (const Error& e) {
    usageError(errorText(e));
    return false;
  }
}

}  // namespace trel::qn

int main(int argc, char** argv) {
  using namespace trel::qn;
  if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
    std::fputs(kUsage, argc < 2 ? stderr : stdout);
    return argc < 2 ? 2 : 0;
  }
  trel::initDecimalSeparatorFromEnvironment();
  trel::seedRandomFromEnvironment();
  Args args(argv + 2, argv + argc);
  for (const CommandEntry& c : kCommands)
    if (std::strcmp(argv[1], c.name) == 0) {
      try {
        return c.run(args);
      } catch (const std::exception& e) {
        return usageError(trel::errorText(e));
      }
    }
  std::fputs(kUsage, stderr);
  return usageError(std::string("unknown command \"") + argv[1] + "\"");
}
