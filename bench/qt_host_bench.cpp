// The interpreter's counting loop on three hosts, side by side in one run:
//
//     VAR i / i:=0 / ::top / i+1 / CMP i,N / IF < ::top / HALT
//
// the terminal host (qn, standalone without a display), the Qt host alone, and the Qt host serving
// the IDE's windows (main window with its log view, console) on the offscreen platform: without
// the IDE's debugger, with it attached and no breakpoints, and with ten set on lines the loop never
// reaches (every step is then looked at). Then the IDE's Run command on the same loop (translation
// and closing lines included), with the console and the main window's log view open, and the
// Variables panel closed and open (it follows the run a few times a second). Prints steps per
// second, best of several rounds, and each case as a ratio of the terminal host; the last as a
// ratio of the one before it.
#include <QApplication>

#include <cstdio>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "gui/qt_host.h"
#include "gui/session.h"
#include "machine/machine.h"
#include "shell/terminal_host.h"
#include "translator/translator.h"

namespace {

std::vector<std::string> loopProgram(int iterations) {
  return {"VAR i",      "i:=0", "::top", "i+1", "CMP i," + std::to_string(iterations),
          "IF < ::top", "HALT"};
}

// The loop followed by ten lines it never reaches, each holding a breakpoint.
std::vector<std::string> loopWithUnreachedLines(int iterations) {
  std::vector<std::string> code = loopProgram(iterations);
  for (int i = 0; i < 10; ++i) code.push_back("%ECHO never " + std::to_string(i));
  return code;
}

// CPU seconds of this thread, which does all the work: on a machine shared with other jobs, wall
// time measures them as much as the run.
double threadSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double seconds(const std::function<void()>& run) {
  double start = threadSeconds();
  run();
  return threadSeconds() - start;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  int iterations = argc > 1 ? std::stoi(argv[1]) : 1000000;
  int rounds = argc > 2 ? std::stoi(argv[2]) : 5;
  const double steps = 3 + 4.0 * iterations;

  trel::gui::QtHost sessionHost;
  trel::gui::Session session(sessionHost, {"base.exe"});
  session.mainWindow().show();
  session.form().machine.console.show();  // as when a program has printed
  trel::Machine& ide = session.form().machine;
  trel::gui::MainWindow& main = session.mainWindow();
  auto runCommand = [&](bool panelOpen) {
    main.variablesPanel().setVisible(panelOpen);
    ide.highlvl = loopProgram(iterations);
    session.debugging().run();
  };

  struct Case {
    const char* name;
    std::function<void()> run;
    double best = 1e30;
  };
  std::vector<Case> cases = {
      {"terminal host",
       [&] {
         trel::TerminalHost host;
         trel::Machine m(host, trel::sourceTranslator());
         m.code = loopProgram(iterations);
         m.compile(trel::RunMode::Program);
       }},
      {"Qt host, no windows",
       [&] {
         trel::gui::QtHost host;
         trel::Machine m(host, trel::sourceTranslator());
         m.code = loopProgram(iterations);
         m.compile(trel::RunMode::Program);
       }},
      {"IDE, no debugger attached",
       [&] {
         trel::Debugger* attached = ide.debugger;
         ide.debugger = nullptr;
         ide.code = loopProgram(iterations);
         ide.codeMap = {};
         ide.compile(trel::RunMode::Program);
         ide.debugger = attached;
       }},
      {"IDE, debugger without breakpoints",
       [&] {
         session.debugging().debugger().setBreakpoints({});
         ide.code = loopProgram(iterations);
         ide.codeMap = {};
         ide.compile(trel::RunMode::Program);
       }},
      {"IDE, ten breakpoints set",
       [&] {
         session.debugging().debugger().setBreakpoints({8, 9, 10, 11, 12, 13, 14, 15, 16, 17});
         ide.code = loopWithUnreachedLines(iterations);
         ide.codeMap = {};
         ide.compile(trel::RunMode::Program);
         session.debugging().debugger().setBreakpoints({});
       }},
      {"IDE Run command, Variables closed", [&] { runCommand(false); }},
      {"IDE Run command, Variables open", [&] { runCommand(true); }},
  };
  // Rounds interleave the cases, so a busy moment of the machine hits all of them alike.
  for (int r = 0; r < rounds; ++r)
    for (Case& c : cases) c.best = std::min(c.best, seconds(c.run));
  std::printf("Counting loop of %d iterations, best of %d rounds (thread CPU time)\n", iterations,
              rounds);
  for (size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    std::printf("  %-36s %7.2f million steps/s  (%.3f x the terminal host)", c.name,
                steps / c.best / 1e6, cases[0].best / c.best);
    if (i + 1 == cases.size())
      std::printf("  (%.3f x the panel closed)", cases[i - 1].best / c.best);
    std::printf("\n");
  }
  std::printf("  open during the Run command: console %s, log view %s, Variables panel %s\n",
              session.consoleWindow().isVisible() ? "yes" : "NO",
              main.debugView().isVisible() ? "yes" : "NO",
              main.variablesPanel().isVisible() ? "yes" : "NO");
  std::printf("  Variables panel refreshes over all rounds: %llu\n",
              static_cast<unsigned long long>(main.variablesPanel().refreshCount()));
  std::printf("  pumps served in the IDE case: %llu\n",
              static_cast<unsigned long long>(sessionHost.pumpCount()));
  return 0;
}
