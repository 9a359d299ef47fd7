// Run control: breakpoints on source lines, stepping by source line or by low-level line, and a
// pause between two steps, where whoever drives the debugger (the IDE, qn debug) decides how the
// run goes on.
//
// The interpreter asks watching() at the start of every step; only while it answers true does the
// debugger look at the step, so a run without breakpoints or stepping costs one test per step.
// A step "begins a source line" when its source line differs from the previous step's, or when
// the program counter did not simply move on to the next line (a loop back onto the same line).
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "machine/source_map.h"

namespace trel {

class Machine;

// How the run goes on after a pause.
enum class Resume {
  Continue,  // to the next breakpoint or the end
  Step,      // until a source line begins (into procedures)
  Next,      // until a source line begins outside any procedure called meanwhile
  Finish,    // until the current procedure has returned
  StepLine,  // one low-level step
  Stop,      // end the run between two steps
};

struct PausePoint {
  enum class Reason { Breakpoint, Step, Start };
  Reason reason;
  int32_t pc;               // the program-list line about to run
  SourceLocation location;  // where it came from
};

class PauseHandler {
 public:
  virtual ~PauseHandler() = default;
  // Called with the run paused between two steps; answers how it goes on. May serve events,
  // read commands, inspect the machine; it must not start another program run.
  virtual Resume paused(Machine& machine, const PausePoint& point) = 0;
};

class Debugger {
 public:
  explicit Debugger(PauseHandler& handler) : handler_(handler) {}

  // Breakpoints on lines (from 1) of the program's own source, file 0 of the map.
  void setBreakpoint(int32_t line);
  void clearBreakpoint(int32_t line);
  bool hasBreakpoint(int32_t line) const { return breakpoints_.count(line) != 0; }
  const std::set<int32_t>& breakpoints() const { return breakpoints_; }
  void setBreakpoints(std::set<int32_t> lines);
  // Pause once when `line` begins (run to cursor); 0 for none.
  void runToLine(int32_t line) {
    targetLine_ = line;
    ++version_;
  }

  // The next run pauses before its first step (qn debug's step before run).
  void pauseAtStart() { resume_ = Resume::StepLine; }
  // How the run goes on from now (also before a run starts, or from outside a pause).
  void setResume(Resume resume) { resume_ = resume; }

  bool watching() const {
    return resume_ != Resume::Continue || !breakpoints_.empty() || targetLine_ != 0;
  }
  // Called by the interpreter at the start of a step, before the line is read; may pause.
  void beforeStep(Machine& m);
  // A new program run begins: forget where the last one was.
  void runStarted();

 private:
  bool breakpointAt(Machine& m, int32_t pc);

  PauseHandler& handler_;
  std::set<int32_t> breakpoints_;
  int32_t targetLine_ = 0;
  Resume resume_ = Resume::Continue;
  // Where the last step was and the call depth when the current step command began.
  SourceLocation lastLocation_{-1, -1};
  int32_t lastPc_ = -2;
  size_t startDepth_ = 0;
  // Per program-list line: whether its source line holds a breakpoint, valid for one version of
  // the list and of the breakpoints.
  std::vector<uint8_t> lineFlags_;
  uint64_t flagsGeneration_ = ~uint64_t{0};
  uint64_t flagsVersion_ = ~uint64_t{0};
  uint64_t version_ = 0;
};

// The number of pending CALLs (FL2 holds their return points, four digits each).
size_t callDepth(const Machine& m);
// The program-list lines of the pending CALLs, innermost first.
std::vector<int32_t> pendingCalls(const Machine& m);
// The text of a source line (file 0: the editor lines; a library: its file); empty when unknown.
std::string sourceLineText(const Machine& m, const SourceMap& map, SourceLocation location);

}  // namespace trel
