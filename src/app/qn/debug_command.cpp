// qn debug: the debugger driven by commands on standard input, one a line, so that it can be
// scripted, tested and used over ssh. The program's console goes to standard output as with
// qn run; the debugger's answers go there too, in order with it; mistakes in commands go to
// standard error.
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>

#include "app/qn/qn_commands.h"
#include "machine/debugger.h"
#include "machine/formula_instruction.h"
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

const char kDebugHelp[] =
    "commands:\n"
    "  break LINE     set a breakpoint on source line LINE\n"
    "  delete LINE    remove it\n"
    "  run            start (or restart) the program\n"
    "  continue       run to the next breakpoint or the end\n"
    "  step           run until the next source line begins (into procedures)\n"
    "  next           the same, but a call runs its whole procedure\n"
    "  finish         run to the RETURN of the current procedure\n"
    "  stepi          one low-level step\n"
    "  print NAME     the variable's value\n"
    "  eval FORMULA   a formula on the current values\n"
    "  vars           every variable of the program\n"
    "  where          the current source line and the lines of the pending calls\n"
    "  quit\n";

// Leaves the run in progress: `run` starts it again, `quit` and the end of input end qn debug.
struct RestartRun {};
struct QuitDebugger {};

void out(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

void complain(const std::string& text) {
  std::fflush(stdout);
  std::string line = text + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
}

// A value as the user reads it, quoted: control characters, the quote and the backslash escaped.
std::string quotedValue(std::string_view value) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string q = "\"";
  for (unsigned char c : value) {
    if (c == '"' || c == '\\') {
      q += '\\';
      q += static_cast<char>(c);
    } else if (c < 32 || c == 127) {
      q += "\\x";
      q += kHex[c >> 4];
      q += kHex[c & 15];
    } else {
      q += static_cast<char>(c);
    }
  }
  return q + "\"";
}

bool isRegister(const std::string& name) {
  if (name == "RGSTR" || name == "FL1" || name == "FL2") return true;
  int32_t n = 0;
  return name.size() > 2 && name.compare(0, 2, "RG") == 0 && tryTextToInt(name.substr(2), n) &&
         n >= 0 && n <= 10 && name == "RG" + std::to_string(n);
}

class DebugSession : public PauseHandler {
 public:
  DebugSession(TerminalHost& host, std::string file)
      : host_(host), m_(host, sourceTranslator()), file_(std::move(file)) {
    m_.sourceName = file_;
    m_.debugger = &debugger_;
    std::error_code ec;
    m_.startupDirectory = std::filesystem::current_path(ec).string();
  }

  int run() {
    try {
      for (;;) {
        std::optional<std::string> line = readCommand();
        if (!line) return 0;
        topLevel(*line);
      }
    } catch (const QuitDebugger&) {
      return 0;
    }
  }

  Resume paused(Machine&, const PausePoint& point) override {
    reportStop(point.pc, stepInstruction_);
    for (;;) {
      std::optional<std::string> line = readCommand();
      if (!line) throw QuitDebugger{};
      if (std::optional<Resume> resume = whilePaused(*line)) return *resume;
    }
  }

 private:
  std::optional<std::string> readCommand() {
    std::string line;
    if (!std::getline(std::cin, line)) return std::nullopt;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return trim(line);
  }

  static std::string word(const std::string& line) { return line.substr(0, line.find(' ')); }
  static std::string argument(const std::string& line) {
    size_t blank = line.find(' ');
    return blank == std::string::npos ? std::string() : trim(line.substr(blank + 1));
  }

  // Commands that mean the same whether or not a program is paused. Answers false for the
  // commands it does not know.
  bool common(const std::string& line) {
    const std::string command = word(line), arg = argument(line);
    if (command.empty()) return true;
    if (command == "break" || command == "delete") {
      int32_t n = 0;
      if (!tryTextToInt(arg, n) || n < 1) {
        complain(command + " needs a source line number from 1: " + (arg.empty() ? "none" : arg));
      } else if (command == "break") {
        debugger_.setBreakpoint(n);
        out("breakpoint at " + file_ + ":" + std::to_string(n));
      } else if (!debugger_.hasBreakpoint(n)) {
        complain("no breakpoint at line " + std::to_string(n));
      } else {
        debugger_.clearBreakpoint(n);
        out("deleted breakpoint at " + file_ + ":" + std::to_string(n));
      }
    } else if (command == "print") {
      if (arg.empty())
        complain("print needs a variable name");
      else if (!m_.table.VariableExists(arg))
        complain(arg + " is not a variable of the program");
      else
        out(arg + " = " + quotedValue(m_.table.GetVariable(arg)));
    } else if (command == "eval") {
      if (arg.empty()) {
        complain("eval needs a formula");
      } else {
        try {
          out(computeOnMachine(m_, arg));
        } catch (const std::exception& e) {
          out("error: " + errorText(e));
        }
      }
    } else if (command == "vars") {
      for (int slot : m_.table.namedSlots()) {
        const std::string& name = m_.table.nameAt(slot);
        if (!isRegister(name) && m_.table.findSlot(name) == slot)
          out(name + " = " + quotedValue(m_.table.valueAt(slot)));
      }
    } else if (command == "where") {
      where();
    } else if (command == "help") {
      std::fputs(kDebugHelp, stdout);
    } else if (command == "quit") {
      throw QuitDebugger{};
    } else {
      return false;
    }
    return true;
  }

  void topLevel(const std::string& line) {
    const std::string command = word(line);
    if (command == "run") {
      startRun(Resume::Continue);
    } else if (command == "step" || command == "next" || command == "stepi") {
      // Before a run, stepping starts one and stops at its first line.
      startRun(Resume::StepLine);
    } else if (command == "continue" || command == "finish") {
      complain("the program is not running; start it with run");
    } else if (!common(line)) {
      complain("unknown command: " + command + " (help lists the commands)");
    }
  }

  std::optional<Resume> whilePaused(const std::string& line) {
    const std::string command = word(line);
    stepInstruction_ = command == "stepi";
    if (command == "continue") return Resume::Continue;
    if (command == "step") return Resume::Step;
    if (command == "next") return Resume::Next;
    if (command == "stepi") return Resume::StepLine;
    if (command == "finish") {
      if (callDepth(m_) == 0) {
        complain("finish: no procedure is running here");
        return std::nullopt;
      }
      return Resume::Finish;
    }
    if (command == "run") throw RestartRun{};
    if (!common(line)) complain("unknown command: " + command + " (help lists the commands)");
    return std::nullopt;
  }

  void startRun(Resume first) {
    for (;;) {
      try {
        runOnce(first);
        return;
      } catch (const RestartRun&) {
        first = Resume::Continue;
      }
    }
  }

  void runOnce(Resume first) {
    std::string text;
    if (!readInputFile(file_, text)) return;
    m_.highlvl = splitFileLines(text);
    m_.CheckBox1 = false;
    m_.maxSteps = maxSteps;
    m_.stepsTaken = 0;
    debugger_.setResume(first);
    running_ = true;
    int status = 0;
    try {
      Button1Click(m_);
      if (m_.translationStopped) status = 1;
    } catch (const LimitError& e) {
      showError(m_, e);
      status = 3;
    } catch (const std::exception& e) {
      showError(m_, e);
      status = 1;
    }
    running_ = false;
    host_.flush();
    out("program ended with status " + std::to_string(status));
  }

  void reportStop(int32_t pc, bool lowLevel) {
    const SourceMap& map = m_.ListBox1.sourceMap();
    SourceLocation at = m_.ListBox1.origin(pc);
    host_.flush();
    out("stopped at " + place(map, at) + ": " + sourceLineText(m_, map, at));
    if (lowLevel) out("  [" + std::to_string(pc + 1) + "] " + m_.ListBox1.line(pc));
  }

  static std::string place(const SourceMap& map, SourceLocation at) {
    return map.fileName(at.file) + ":" + std::to_string(at.line);
  }

  void where() {
    const SourceMap& map = m_.ListBox1.sourceMap();
    int32_t pc = m_.pc;
    if (!running_ && m_.errorPoint.location.line > 0) pc = m_.errorPoint.pc;
    if (pc < 0 || pc >= m_.ListBox1.size() || (!running_ && m_.errorPoint.location.line < 1)) {
      complain("the program is not running");
      return;
    }
    SourceLocation at = m_.ListBox1.origin(pc);
    out("at " + place(map, at) + ": " + sourceLineText(m_, map, at));
    for (int32_t call : pendingCalls(m_)) {
      if (call < 0 || call >= m_.ListBox1.size()) continue;
      SourceLocation from = m_.ListBox1.origin(call);
      out("called from " + place(map, from) + ": " + sourceLineText(m_, map, from));
    }
  }

  TerminalHost& host_;
  Machine m_;
  Debugger debugger_{*this};
  std::string file_;
  bool running_ = false;
  bool stepInstruction_ = false;

 public:
  uint64_t maxSteps = 0;
};

}  // namespace

int debugCommand(const Args& args) {
  std::string file;
  TerminalHost host;
  host.printDiagnostics = true;
  uint64_t maxSteps = 0;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--seed" || a == "--answers" || a == "--max-steps") {
      if (i + 1 >= args.size()) return usageError(a + " needs a value");
      const std::string& v = args[++i];
      if (a == "--seed") {
        int32_t seed = 0;
        if (!tryTextToInt(v, seed)) return usageError("--seed needs an integer");
        seedRandom(static_cast<uint32_t>(seed));
      } else if (a == "--max-steps") {
        int32_t n = 0;
        if (!tryTextToInt(v, n) || n < 1) return usageError("--max-steps needs a positive number");
        maxSteps = static_cast<uint64_t>(n);
      } else {
        std::string text;
        if (!readInputFile(v, text)) return 2;
        for (auto& line : splitFileLines(text)) host.answers.push_back(line);
      }
    } else if (!a.empty() && a[0] == '-') {
      return usageError("unknown option " + a);
    } else if (file.empty()) {
      file = a;
    } else {
      return usageError("more than one file given: " + a);
    }
  }
  if (file.empty()) return usageError("usage: qn debug FILE [--seed N] [--answers FILE]");
  std::string text;
  if (!readInputFile(file, text)) return 2;
  DebugSession session(host, file);
  session.maxSteps = maxSteps;
  return session.run();
}

}  // namespace trel::qn
