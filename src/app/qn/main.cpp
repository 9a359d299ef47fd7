// qn: the headless command line for Trel's core.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <iterator>
#include <string>

#include "app/qn/qn_commands.h"
#include "app/version_line.h"
#include "rtl/decimal_separator.h"
#include "rtl/errors.h"
#include "rtl/random.h"
#include "rtl/replacement_file.h"
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
    "  qn lsp                       serve the language server protocol on standard input/output\n"
    "options of run and exec:\n"
    "  --log FILE         write the assembly log there when the run ends\n"
    "  --code FILE        write the code list there before the run\n"
    "  --only-translate   run with \"Only translate\" checked\n"
    "  -i, --interactive  afterwards run each line of standard input as a console line\n"
    "  --max-steps N      stop after N steps with \"Step limit reached\" (exit status 3)\n"
    "  --max-memory MB    stop when the run holds more than MB megabytes (exit status 3;\n"
    "                     default 1024, 0 for no limit)\n"
    "  --log-lines N      keep at most N lines of the assembly log (oldest dropped)\n"
    "  --no-log           keep no trace of the steps in the assembly log (faster)\n"
    "  --seed N           seed the random generator\n"
    "  --answers FILE     answers for dialogs, one per line, used in order\n"
    "A FILE of \"-\" (run, exec, translate) and a FORMULA of \"-\" are read from standard input.\n"
    "qn --version prints the version; qn COMMAND --help explains one command.\n";

const char kRunOptions[] =
    "options:\n"
    "  --log FILE         write the assembly log there when the run ends, also after an error\n"
    "  --code FILE        write the code list there before the run\n"
    "  --only-translate   run with \"Only translate\" checked\n"
    "  -i, --interactive  afterwards run each line of standard input as a console line\n"
    "  --max-steps N      stop after N steps with \"Step limit reached\" (exit status 3)\n"
    "  --log-lines N      keep at most N lines of the assembly log (oldest dropped)\n"
    "  --no-log           keep no trace of the steps in the assembly log (faster)\n"
    "  --seed N           seed the random generator\n"
    "  --answers FILE     answers for dialogs, one per line, used in order\n"
    "FILE \"-\" reads the program from standard input. Exit status: 0 done, 1 an error stopped\n"
    "the run or the translation, 2 a usage or file error, 3 the step limit was reached.\n";

struct CommandEntry {
  const char* name;
  int (*run)(const Args&);
  const char* synopsis;  // the help's first line, after "usage: "
  const char* details;   // the rest of the help
};

const CommandEntry kCommands[] = {
    {"run", runCommand, "qn run FILE [OPTIONS]",
     "Translates FILE and runs it as the IDE's Run command does: the console on standard output,\n"
     "then the closing lines; each message box is a line on standard error.\n"},
    {"exec", execCommand, "qn exec FILE [OPTIONS]",
     "Runs FILE as low-level code, untranslated, without the closing lines.\n"},
    {"translate", translateCommand, "qn translate FILE [--warnings]",
     "Prints the low-level code translated from FILE, one line per line. FILE \"-\" reads "
     "standard\n"
     "input. --warnings also reports, on standard error, jumps and calls to labels no line\n"
     "defines and %import of libraries that do not exist.\n"},
    {"build", buildCommand, "qn build FILE -o OUT [--stub PATH]",
     "Translates FILE and builds the standalone program OUT from a copy of the stub: --stub\n"
     "PATH, else ./base.exe, else the trel beside qn.\n"},
    {"export", exportCommand, "qn export FILE",
     "The Export command: writes FILE's translation as a library into exported/ and prints\n"
     "where.\n"},
    {"unpack", unpackCommand, "qn unpack EXE",
     "Prints the low-level program embedded in a built program.\n"},
    {"eval", evalCommand, "qn eval FORMULA [--answers FILE] [--max-steps N]",
     "Computes FORMULA with the IDE's formula settings and no variables and prints the result;\n"
     "an error goes to standard error (exit status 1). FORMULA \"-\" reads standard input.\n"},
    {"debug", debugCommand, "qn debug FILE [--seed N] [--answers FILE] [--max-steps N]",
     "Debugs FILE with commands read from standard input, one a line:\n"
     "  break LINE, delete LINE, run, continue, step, next, finish, stepi, print NAME,\n"
     "  eval FORMULA, vars, where, quit (help lists them). Answers go to standard output,\n"
     "  mistakes in commands to standard error.\n"},
    {"lsp", lspCommand, "qn lsp",
     "Serves the language server protocol over standard input and output for editors:\n"
     "diagnostics, document symbols, go to definition, hover and completion for QN+.\n"},
};

bool isHelpOption(const std::string& a) {
  return a == "--help" || a == "-h";
}

void printCommandHelp(const CommandEntry& c) {
  std::string text = std::string("usage: ") + c.synopsis + "\n" + c.details;
  if (c.run == runCommand || c.run == execCommand) text += kRunOptions;
  std::fputs(text.c_str(), stdout);
}

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

bool readProgramFile(const std::string& path, std::string& text) {
  if (path != kStandardInputName) return readInputFile(path, text);
  text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
  return true;
}

std::string sourceNameOf(const std::string& path) {
  return path == kStandardInputName ? "<stdin>" : path;
}

}  // namespace trel::qn

int main(int argc, char** argv) {
  using namespace trel::qn;
  if (argc < 2 || isHelpOption(argv[1])) {
    std::fputs(kUsage, argc < 2 ? stderr : stdout);
    return argc < 2 ? 2 : 0;
  }
  if (std::strcmp(argv[1], "--version") == 0) {
    std::fputs(trel::versionLine("qn").c_str(), stdout);
    return 0;
  }
  trel::initDecimalSeparatorFromEnvironment();
  trel::seedRandomFromEnvironment();
  // Interrupted while it builds or saves, qn leaves no temporary file behind.
  trel::removeReplacementsOnTermination();
  Args args(argv + 2, argv + argc);
  for (const CommandEntry& c : kCommands)
    if (std::strcmp(argv[1], c.name) == 0) {
      // eval takes one formula, which may itself read "-h"; only its first argument asks for help.
      bool help = c.run == evalCommand ? !args.empty() && isHelpOption(args[0])
                                       : std::any_of(args.begin(), args.end(), isHelpOption);
      if (help) {
        printCommandHelp(c);
        return 0;
      }
      try {
        return c.run(args);
      } catch (const std::exception& e) {
        return usageError(trel::errorText(e));
      }
    }
  std::fputs(kUsage, stderr);
  return usageError(std::string("unknown command \"") + argv[1] + "\"");
}
