#include "machine/debugger.h"

#include "machine/machine.h"
#include "rtl/integer_text.h"
#include "rtl/text.h"

namespace trel {

void Debugger::setBreakpoint(int32_t line) {
  breakpoints_.insert(line);
  ++version_;
}

void Debugger::clearBreakpoint(int32_t line) {
  breakpoints_.erase(line);
  ++version_;
}

void Debugger::setBreakpoints(std::set<int32_t> lines) {
  breakpoints_ = std::move(lines);
  ++version_;
}

void Debugger::runStarted() {
  lastLocation_ = {-1, -1};
  lastPc_ = -2;
  startDepth_ = 0;
}

bool Debugger::breakpointAt(Machine& m, int32_t pc) {
  const ProgramList& list = m.ListBox1;
  if (flagsGeneration_ != list.generation() || flagsVersion_ != version_) {
    lineFlags_.assign(static_cast<size_t>(list.size()), 0);
    for (int32_t i = 0; i < list.size(); ++i) {
      SourceLocation at = list.origin(i);
      if (at.file == 0 && (breakpoints_.count(at.line) || at.line == targetLine_))
        lineFlags_[static_cast<size_t>(i)] = 1;
    }
    flagsGeneration_ = list.generation();
    flagsVersion_ = version_;
  }
  return pc >= 0 && static_cast<size_t>(pc) < lineFlags_.size() &&
         lineFlags_[static_cast<size_t>(pc)] != 0;
}

void Debugger::beforeStep(Machine& m) {
  // Console lines run on their own; they have no place in the program to stop at.
  if (!m.frame || m.frame->mode != RunMode::Program) return;
  const int32_t pc = m.pc;
  const bool inList = pc >= 0 && pc < m.ListBox1.size();
  const SourceLocation here = inList ? m.ListBox1.origin(pc) : SourceLocation{};
  const bool begins = !(here == lastLocation_) || pc != lastPc_ + 1;
  const bool first = lastPc_ == -2;
  lastLocation_ = here;
  lastPc_ = pc;
  if (!inList) return;

  PausePoint point{PausePoint::Reason::Step, pc, here};
  bool pause = false;
  switch (resume_) {
    case Resume::StepLine:
      pause = true;
      point.reason = first ? PausePoint::Reason::Start : PausePoint::Reason::Step;
      break;
    case Resume::Step:
      pause = begins;
      break;
    case Resume::Next:
      pause = begins && callDepth(m) <= startDepth_;
      break;
    case Resume::Finish:
      pause = callDepth(m) < startDepth_;
      break;
    case Resume::Continue:
    case Resume::Stop:
      break;
  }
  if (!pause && begins && breakpointAt(m, pc)) {
    pause = true;
    point.reason = PausePoint::Reason::Breakpoint;
  }
  if (!pause) return;
  if (targetLine_ != 0 && here.file == 0 && here.line == targetLine_) {
    targetLine_ = 0;
    ++version_;
  }

  resume_ = handler_.paused(m, point);
  startDepth_ = callDepth(m);
  if (resume_ == Resume::Stop) {
    m.stopRequested = true;
    resume_ = Resume::Continue;
  }
}

size_t callDepth(const Machine& m) {
  // Read without putting FL2 together, so stepping through deep recursion stays cheap.
  size_t size = m.table.valueSize("FL2");
  if (size == 2 && m.table.frontFour("FL2") == "-1") return 0;
  return (size + VariableTable::kPiece - 1) / VariableTable::kPiece;
}

std::vector<int32_t> pendingCalls(const Machine& m) {
  std::vector<int32_t> calls;
  const std::string& fl2 = m.table.GetVariable("FL2");
  for (size_t i = 0; i + 4 <= fl2.size(); i += 4) {
    int32_t point = 0;
    if (!tryTextToInt(fl2.substr(i, 4), point)) break;
    calls.push_back(point - 1000);
  }
  return calls;
}

std::string sourceLineText(const Machine& m, const SourceMap& map, SourceLocation location) {
  if (location.line < 1) return {};
  size_t index = static_cast<size_t>(location.line - 1);
  if (location.file == 0) return index < m.highlvl.size() ? m.highlvl[index] : std::string();
  const std::string& name = map.fileName(location.file);
  if (name.empty()) return {};
  try {
    std::vector<std::string> lines = splitFileLines(readWholeFile(name));
    return index < lines.size() ? lines[index] : std::string();
  } catch (...) {
    return {};
  }
}

}  // namespace trel
