// The interpreter's counting loop on three hosts, side by side in one run:
//
//     VAR i / i:=0 / ::top / i+1 / CMP i,N / IF < ::top / HALT
//
// the terminal host (qn, standalone without a display), the Qt host alone, and the Qt host serving
// the IDE's windows (main window with its log view, console) on the offscreen platform. Prints
// steps per second, best of several rounds, and each Qt case as a ratio of the terminal host.
#include <QApplication>

#include <chrono>
#include <cstdio>
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

double seconds(const std::function<void()>& run) {
  auto start = std::chrono::steady_clock::now();
  run();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
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
      {"Qt host serving the IDE's windows",
       [&] {
         session.form().machine.code = loopProgram(iterations);
         session.form().machine.compile(trel::RunMode::Program);
       }},
  };
  // Rounds interleave the cases, so a busy moment of the machine hits all of them alike.
  for (int r = 0; r < rounds; ++r)
    for (Case& c : cases) c.best = std::min(c.best, seconds(c.run));
  std::printf("Counting loop of %d iterations, best of %d rounds\n", iterations, rounds);
  for (const Case& c : cases)
    std::printf("  %-36s %7.2f million steps/s  (%.3f x the terminal host)\n", c.name,
                steps / c.best / 1e6, cases[0].best / c.best);
  std::printf("  pumps served in the IDE case: %llu\n",
              static_cast<unsigned long long>(sessionHost.pumpCount()));
  return 0;
}
