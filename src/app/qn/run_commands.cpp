// qn run, exec, translate and export.
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>

#include "app/qn/qn_commands.h"
#include "machine/machine.h"
#include "rtl/errors.h"
#include "rtl/integer_text.h"
#include "rtl/random.h"
#include "rtl/text.h"
#include "shell/commands.h"
#include "shell/terminal_host.h"
#include "translator/translator.h"

namespace trel::qn {

namespace {

struct RunOptions {
  std::string file;
  std::string logFile;
  std::string codeFile;
  bool onlyTranslate = false;
  bool interactive = false;
  uint64_t maxSteps = 0;
  uint64_t maxMemory = Machine::kDefaultMaxMemory;
  size_t logLines = 0;
  bool noLog = false;
  std::deque<std::string> answers;
};

bool parseCount(const std::string& text, uint64_t& value) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
  try {
    value = std::stoull(text);
    return true;
  } catch (...) {
    return false;
  }
}

// Parses FILE and the options; answers an exit status when qn must stop, else nothing.
std::optional<int> parseRunOptions(const Args& args, RunOptions& o) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= args.size()) return false;
      out = args[++i];
      return true;
    };
    std::string v;
    if (a == "--log") {
      if (!value(o.logFile)) return usageError("--log needs a file name");
    } else if (a == "--code") {
      if (!value(o.codeFile)) return usageError("--code needs a file name");
    } else if (a == "--only-translate") {
      o.onlyTranslate = true;
    } else if (a == "-i" || a == "--interactive") {
      o.interactive = true;
    } else if (a == "--max-steps") {
      if (!value(v) || !parseCount(v, o.maxSteps) || o.maxSteps == 0)
        return usageError("--max-steps needs a positive number");
    } else if (a == "--max-memory") {
      uint64_t megabytes = 0;
      if (!value(v) || !parseCount(v, megabytes) || megabytes > (uint64_t{1} << 40))
        return usageError("--max-memory needs a number of megabytes (0: no limit)");
      o.maxMemory = megabytes << 20;
    } else if (a == "--log-lines") {
      uint64_t n = 0;
      if (!value(v) || !parseCount(v, n) || n == 0)
        return usageError("--log-lines needs a positive number");
      o.logLines = static_cast<size_t>(n);
    } else if (a == "--no-log") {
      o.noLog = true;
    } else if (a == "--seed") {
      int32_t seed;
      if (!value(v) || !tryTextToInt(v, seed)) return usageError("--seed needs an integer");
      seedRandom(static_cast<uint32_t>(seed));
    } else if (a == "--answers") {
      std::string text;
      if (!value(v)) return usageError("--answers needs a file name");
      if (!readInputFile(v, text)) return 2;
      for (auto& line : splitFileLines(text)) o.answers.push_back(line);
    } else if (!a.empty() && a[0] == '-' && a != "-") {
      return usageError("unknown option " + a);
    } else if (o.file.empty()) {
      o.file = a;
    } else {
      return usageError("more than one file given: " + a);
    }
  }
  if (o.file.empty()) return usageError("no file given");
  if (o.interactive && o.file == kStandardInputName)
    return usageError(
        "-i reads console lines from standard input, so the program cannot come from it");
  return std::nullopt;
}

void writeLines(const std::string& path, const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& l : lines) text += l + "\n";
  writeWholeFile(path, text);
}

// Runs `body` and maps how it ended to qn's exit status, showing errors as message boxes
// followed by the source line they happened at.
int guarded(Machine& m, const std::function<void()>& body) {
  try {
    body();
    return 0;
  } catch (const LimitError& e) {
    showError(m, e);
    return 3;
  } catch (const std::exception& e) {
    showError(m, e);
    return 1;
  }
}

int runOrExec(const Args& args, bool translateFirst) {
  RunOptions o;
  if (auto status = parseRunOptions(args, o)) return *status;
  std::string text;
  if (!readProgramFile(o.file, text)) return 2;

  TerminalHost host;
  host.answers = std::move(o.answers);
  host.printDiagnostics = true;
  Machine m(host, sourceTranslator());
  m.sourceName = sourceNameOf(o.file);
  std::error_code ec;
  m.startupDirectory = std::filesystem::current_path(ec).string();
  m.CheckBox1 = o.onlyTranslate;
  m.maxSteps = o.maxSteps;
  m.maxMemory = o.maxMemory;
  if (o.logLines) m.debug.setCapacity(o.logLines);
  m.traceSteps = !o.noLog;

  int status = guarded(m, [&] {
    if (translateFirst) {
      m.highlvl = splitFileLines(text);
      Button1Click(m, [&] {
        if (!o.codeFile.empty()) writeLines(o.codeFile, m.code);
      });
    } else {
      m.code = splitFileLines(text);
      if (!o.codeFile.empty()) writeLines(o.codeFile, m.code);
      m.compile(RunMode::Program);
    }
  });
  if (status == 0 && m.translationStopped) status = 1;

  if (o.interactive) {
    std::string line;
    while (std::getline(std::cin, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      m.console.Edit1 = line;
      guarded(m, [&] { ConsoleButton1Click(m); });
      host.flush();
    }
  }
  host.flush();
  if (!o.logFile.empty()) {
    int logStatus = guarded(m, [&] { writeLines(o.logFile, m.debug.lines()); });
    if (logStatus != 0 && status == 0) status = 2;
  }
  return status;
}

}  // namespace

int runCommand(const Args& args) {
  return runOrExec(args, true);
}
int execCommand(const Args& args) {
  return runOrExec(args, false);
}

int translateCommand(const Args& args) {
  std::string file;
  bool warnings = false;
  for (const std::string& a : args) {
    if (a == "--warnings")
      warnings = true;
    else if (!a.empty() && a[0] == '-' && a != "-")
      return usageError("unknown option " + a);
    else if (file.empty())
      file = a;
    else
      return usageError("usage: qn translate FILE [--warnings]");
  }
  if (file.empty()) return usageError("usage: qn translate FILE [--warnings]");
  std::string text;
  if (!readProgramFile(file, text)) return 2;
  TerminalHost host;
  host.printDiagnostics = true;
  Machine m(host, sourceTranslator());
  m.sourceName = sourceNameOf(file);
  m.highlvl = splitFileLines(text);
  int status = guarded(m, [&] { translate(m); });
  if (status != 0) return status;
  for (const auto& line : m.code) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
  }
  if (warnings) {
    lintTranslation(m);
    for (const Diagnostic& d : m.translationWarnings) host.diagnostic(d);
  }
  return m.translationStopped ? 1 : 0;
}

namespace {

// Export ends by telling where it wrote the library: that message is qn export's output. Any
// message before it (a translation error), and every message of an export that failed, is an
// error and goes to standard error. So each message waits until the next one comes or the command
// ends, which decides its stream.
class ExportHost : public TerminalHost {
 public:
  void showMessage(const std::string& text) override {
    release(stderr);
    pending_ = text;
  }
  void release(std::FILE* stream) {
    if (!pending_) return;
    messageStream = stream;
    TerminalHost::showMessage(*pending_);
    messageStream = stderr;
    pending_.reset();
  }

 private:
  std::optional<std::string> pending_;
};

}  // namespace

int exportCommand(const Args& args) {
  if (args.size() != 1) return usageError("usage: qn export FILE");
  std::string text;
  if (!readInputFile(args[0], text)) return 2;
  ExportHost host;
  Machine m(host, sourceTranslator());
  m.highlvl = splitFileLines(text);
  int status = guarded(m, [&] {
    Button7Click(m);
    host.release(stdout);
  });
  host.release(stderr);
  // The export goes on after a translation error stop, as the command does, but the exit status
  // says the translation stopped, as qn translate's does.
  if (status == 0 && m.translationStopped) status = 1;
  return status;
}

}  // namespace trel::qn
