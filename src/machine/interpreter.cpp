// compile: the interpreter's step loop.
//
// Per step: show the execution point, serve events, read the line, log it, blank comments, run
// the 38 instruction tests in their fixed order (machine/instruction_table.h; some re-read the
// line first), serve events again, stop when "Only translate" is checked, advance, and end when
// the program counter passes the last line.
#include <array>
#include <bit>

#include "machine/debugger.h"
#include "machine/formula_instruction.h"
#include "machine/instruction_table.h"
#include "machine/machine.h"
#include "rtl/errors.h"
#include "rtl/integer_text.h"

namespace trel {

namespace {

constexpr size_t kFirstOutputTest = static_cast<size_t>(Instruction::Echo);
constexpr uint64_t kTestBits = (uint64_t{1} << kInstructionCount) - 1;
constexpr size_t kTextBuffer = 64;

}  // namespace

// Mutes the assembly log for the steps of a run without a trace, as it was afterwards.
struct StepTraceScope {
  AssemblyLog& log;
  bool was;
  StepTraceScope(AssemblyLog& l, bool trace) : log(l), was(l.muted()) {
    if (!trace) log.setMuted(true);
  }
  ~StepTraceScope() { log.setMuted(was); }
};

// Keeps Machine::frame pointing at the innermost call, also when an error leaves the call.
struct RunFrameScope {
  Machine& m;
  RunFrame& f;
  RunFrameScope(Machine& machine, RunFrame& frame) : m(machine), f(frame) {
    f.outer = m.frame;
    m.frame = &f;
  }
  ~RunFrameScope() {
    m.frame = f.outer;
    if (!m.frame) m.lastRunSteps = f.stepCounter - 1;
  }
};

class Interpreter {
 public:
  // Reads the current line into the working text. A read that would give the same text the
  // working text already holds is skipped.
  static inline void readLine(Machine& m, RunFrame& f, bool force) {
    WorkingText& w = f.work;
    // A step's own read of a program line with decoded steps on: the line stays in the list.
    if (force && m.decodedSteps && f.mode != RunMode::ConsoleLine && m.pc >= 0 &&
        m.pc < m.ListBox1.size()) {
      w.inList = true;
      w.mask = m.ListBox1.maskAt(m.pc);
      w.modified = false;
      w.sourceIndex = m.pc;
      w.sourceGeneration = m.ListBox1.generation();
      return;
    }
    readLineSlowly(m, f, force);
  }

  [[gnu::noinline]] static void readLineSlowly(Machine& m, RunFrame& f, bool force) {
    WorkingText& w = f.work;
    if (f.mode == RunMode::ConsoleLine) {
      if (!force && !w.modified) return;
      w.text = m.console.Edit1;
      w.inList = false;
      w.mask = instructionMask(w.text);
      w.modified = false;
      w.sourceIndex = -1;
      return;
    }
    if (!force && !w.modified && w.sourceIndex == m.pc &&
        w.sourceGeneration == m.ListBox1.generation())
      return;
    if (m.pc < 0 || m.pc >= m.ListBox1.size())
      throw Error("List index out of bounds (" + std::to_string(m.pc) + ")");
    // The reads between the instruction tests, and every read without decoded steps, copy it.
    w.text.assign(m.ListBox1.line(m.pc));
    w.inList = false;
    w.mask = m.ListBox1.maskAt(m.pc);
    w.modified = false;
    w.sourceIndex = m.pc;
    w.sourceGeneration = m.ListBox1.generation();
  }

  // True while the working text is exactly the line the last read gave.
  static bool workIsLine(const Machine& m, const RunFrame& f) {
    const WorkingText& w = f.work;
    if (w.modified) return false;
    return f.mode == RunMode::ConsoleLine ||
           (w.sourceIndex == m.pc && w.sourceGeneration == m.ListBox1.generation());
  }

  static bool matches(Machine& m, RunFrame& f, Instruction id) {
    const WorkingText& w = f.work;
    if (!maskHas(w.mask, id)) return false;
    if (w.modified && !maskHas(instructionMask(w.text), id)) return false;
    m.debug.appendInterpreting(w.text);
    return true;
  }

  static void startProgramRun(Machine& m, RunFrame& f) {
    m.table.ClearVariables();
    m.InitRegisters();
    m.table.SetVariable("FL2", "");
    m.debug.clear();
    SourceMap map = m.codeMap.locations.size() == m.code.size()
                        ? m.codeMap
                        : SourceMap::identity(m.sourceName, m.code.size());
    m.ListBox1.assign(m.code, std::move(map));
    m.lineCache_.clear();
    f.lastLine = m.ListBox1.size() - 1;
    m.outp.clear();
    m.ListBox1.removeCharacter(';');
    m.console.show();
    if (m.debugger) m.debugger->runStarted();
  }

  static void run(Machine& m, RunMode mode) {
    if (m.CheckBox1) return;
    RunFrame f;
    f.mode = mode;
    RunFrameScope scope(m, f);
    if (mode == RunMode::Program) startProgramRun(m, f);
    m.pc = 0;
    f.stepCounter = 1;
    f.work.text.clear();
    f.work.modified = true;
    // Each step hands the working text to the caption by swapping the two strings: with both
    // held outside the string object (longer than its inner buffer) a swap is a pointer swap.
    f.work.text.reserve(kTextBuffer);
    m.label6Text_.reserve(kTextBuffer);
    StepTraceScope trace(m.debug, m.traceSteps);

    for (;;) {
      // The caption takes the working text the previous step left; the read below replaces the
      // working text anyway, so the two strings trade places instead of copying.
      m.label6Pc_ = m.pc;
      m.label6InList_ = f.work.inList;
      if (f.work.inList) {
        m.label6Line_ = f.work.sourceIndex;
        f.work.inList = false;
      } else {
        std::swap(m.label6Text_, f.work.text);
      }
      f.work.modified = true;
      m.label6Initial_ = false;
      if (m.debugger && m.debugger->watching()) {
        m.debugger->beforeStep(m);
        if (m.stopRequested) return;
      }
      m.host.processEvents();

      if (m.maxSteps != 0 && ++m.stepsTaken > m.maxSteps) throw StepLimitError();
      if (m.maxMemory != 0 && m.memoryInUse() > m.maxMemory) throw MemoryLimitError(m.maxMemory);
      readLine(m, f, true);
      m.debug.appendLineStep(m.pc, f.stepCounter);
      ++f.stepCounter;

      // A line holding "//" anywhere is a comment as a whole: blanked in the program list (also
      // in console mode, where the program counter is 0) and in the working text.
      if (f.work.mask >> kCommentBit) {
        if (m.pc < 0 || m.pc >= m.ListBox1.size())
          throw Error("List index out of bounds (" + std::to_string(m.pc) + ")");
        m.ListBox1.setLine(m.pc, "");
        f.work.text.clear();
        f.work.inList = false;
        f.work.mask = 0;
        f.work.modified = true;
      }

      f.jumped = false;
      size_t k = 0;
      // A program line as read starts with its first instruction, whose fresh read finds the
      // line already there; a line seen before has its log line (and, for the common one-
      // instruction lines, its whole instruction) worked out.
      if (mode == RunMode::Program && f.work.mask != 0 && m.decodedSteps) {
        const DecodedLine& d = m.lineCache_.at(m, f, m.pc, m.ListBox1, m.table);
        k = static_cast<size_t>(d.id);
        m.debug.append(d.interpreting);
        Outcome outcome;
        if (d.form == LineForm::Formula && runDecodedFormula(m, *d.formula)) {
          // The tests after it only log, and leave the working text the line as read.
          for (int n = 0; n < d.repeats; ++n) m.debug.appendAgain(d.interpreting);
          k = kInstructionTable.size();
          outcome = Outcome::Continue;
        } else if (d.form == LineForm::General || d.form == LineForm::Formula) {
          m.ownWorkText(f);
          outcome = kInstructionTable[k++].run(m, f);
        } else {
          outcome = runDecoded(m, f, d);
          ++k;
        }
        if (outcome == Outcome::EndRun) return;
      }
      while (k < kInstructionTable.size()) {
        // While the working text is still the line as read, the tests that can match are exactly
        // the keywords of its mask and the fresh reads in between change nothing: go straight
        // to the next one.
        if (workIsLine(m, f)) {
          uint64_t candidates = f.work.mask & (kTestBits >> k << k);
          if (candidates == 0) break;
          k = static_cast<size_t>(std::countr_zero(candidates));
        }
        if (k >= kFirstOutputTest && f.jumped) break;
        m.ownWorkText(f);
        const InstructionRow& t = kInstructionTable[k];
        if (t.freshRead) readLine(m, f, false);
        if (matches(m, f, t.id) && t.run(m, f) == Outcome::EndRun) return;
        ++k;
      }

      m.host.processEvents();
      if (m.CheckBox1 || m.stopRequested) return;
      ++m.pc;
      if (mode == RunMode::ConsoleLine) f.lastLine = 0;
      if (m.pc == f.lastLine + 1) {
        m.debug.setMuted(trace.was);
        m.debug.append("VAR_COUNT = " + std::to_string(m.table.NextSlotIndex()));
        m.table.SetVariable("FL2", "");
        return;
      }
    }
  }
};

void Machine::compile(RunMode mode) {
  // A stop ends every run in progress; the next run that starts from outside any other clears it.
  if (!frame) stopRequested = false;
  try {
    Interpreter::run(*this, mode);
  } catch (...) {
    // The innermost run an error leaves knows where it happened; the runs it passes through on
    // its way out leave that place as it is.
    std::exception_ptr error = std::current_exception();
    if (errorPoint.error != error) {
      errorPoint.error = error;
      errorPoint.mode = mode;
      errorPoint.pc = pc;
      errorPoint.location = mode == RunMode::Program && pc >= 0 && pc < ListBox1.size()
                                ? ListBox1.origin(pc)
                                : SourceLocation{};
    }
    throw;
  }
}

}  // namespace trel
