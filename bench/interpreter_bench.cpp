// The interpreter's counting loop, with the assembly log kept in memory:
//
//     VAR i / i:=0 / ::top / i+1 / CMP i,1000000 / IF < ::top / HALT
//
// run after declaring 10 and then 5,000 further variables, so the cost per step can be compared,
// and with a debugger attached (no breakpoints; ten breakpoints on lines the loop passes once).
// Prints steps per second for each, best of several rounds, side by side in one run.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "machine/debugger.h"
#include "machine/machine.h"
#include "shell/terminal_host.h"
#include "translator/translator.h"

namespace {

std::vector<std::string> loopProgram(int declared, int iterations) {
  std::vector<std::string> code;
  for (int k = 0; k < declared; ++k) code.push_back("VAR v" + std::to_string(k));
  code.insert(code.end(), {"VAR i", "i:=0", "::top", "i+1", "CMP i," + std::to_string(iterations),
                           "IF < ::top", "HALT"});
  return code;
}

struct Measure {
  double seconds;
  uint64_t steps;
};

// A breakpoint stops the run; the handler lets it go on at once.
struct GoOn : trel::PauseHandler {
  trel::Resume paused(trel::Machine&, const trel::PausePoint&) override {
    return trel::Resume::Continue;
  }
};

Measure runOnce(int declared, int iterations, size_t logCapacity, int breakpoints, bool trace) {
  trel::TerminalHost host;
  trel::Machine m(host, trel::sourceTranslator());
  GoOn goOn;
  trel::Debugger debugger(goOn);
  if (breakpoints >= 0) m.debugger = &debugger;
  for (int line = 1; line <= breakpoints; ++line) debugger.setBreakpoint(line);
  if (logCapacity) m.debug.setCapacity(logCapacity);
  m.traceSteps = trace;
  m.code = loopProgram(declared, iterations);
  auto start = std::chrono::steady_clock::now();
  m.compile(trel::RunMode::Program);
  auto end = std::chrono::steady_clock::now();
  // Steps: the declarations and the two set-up lines, four per iteration, and HALT.
  uint64_t steps = static_cast<uint64_t>(declared) + 3 + 4ull * iterations;
  return {std::chrono::duration<double>(end - start).count(), steps};
}

}  // namespace

int main(int argc, char** argv) {
  int iterations = argc > 1 ? std::stoi(argv[1]) : 1000000;
  int rounds = argc > 2 ? std::stoi(argv[2]) : 5;
  // A third argument runs only that case (from 1), for instruction counts under callgrind.
  int only = argc > 3 ? std::stoi(argv[3]) : 0;
  struct Case {
    const char* name;
    int declared;
    size_t logCapacity;
    int breakpoints;  // -1: no debugger attached
    bool trace = true;
  } cases[] = {
      {"10 variables, log kept (default capacity)", 10, 0, -1},
      {"5000 variables, log kept (default capacity)", 5000, 0, -1},
      {"10 variables, log capped at 1,000 lines", 10, 1000, -1},
      {"5000 variables, log capped at 1,000 lines", 5000, 1000, -1},
      {"10 variables, debugger, no breakpoints", 10, 0, 0},
      {"10 variables, debugger, ten breakpoints", 10, 0, 10},
      {"10 variables, no trace (--no-log)", 10, 0, -1, false},
  };
  std::printf("Counting loop of %d iterations (%d rounds each, best round shown)\n", iterations,
              rounds);
  double base = 0;
  int number = 0;
  for (const Case& c : cases) {
    if (++number != only && only != 0) continue;
    double best = 1e30;
    uint64_t steps = 0;
    for (int r = 0; r < rounds; ++r) {
      Measure m = runOnce(c.declared, iterations, c.logCapacity, c.breakpoints, c.trace);
      if (m.seconds < best) best = m.seconds;
      steps = m.steps;
    }
    double rate = steps / best;
    if (base == 0) base = rate;
    std::printf("  %-45s %10.2f million steps/s  (%.2f x the first case)\n", c.name, rate / 1e6,
                rate / base);
  }
  return 0;
}
