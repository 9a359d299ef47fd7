#include "gui/debugging.h"

#include <QAction>

#include "rtl/errors.h"
#include "rtl/text.h"
#include "shell/commands.h"
#include "translator/translator.h"

#include "gui/run_status.h"
#include "gui/text_bytes.h"

namespace trel::gui {

namespace {

constexpr int kIconBits = 0xF0;  // of a message box's style flags

// A panel the user has open, also while another panel's tab covers it.
bool isOpen(QDockWidget& panel) {
  return panel.toggleViewAction()->isChecked();
}

}  // namespace

Debugging::Debugging(TForm1& form, MainWindow& main, LowLevelWindow& lowLevel, Command command,
                     std::function<void()> refresh)
    : form_(form),
      main_(main),
      lowLevel_(lowLevel),
      command_(std::move(command)),
      refresh_(std::move(refresh)),
      control_(form.machine) {
  runRefresh_.setInterval(kRunRefreshMilliseconds);
  connect(&runRefresh_, &QTimer::timeout, this, &Debugging::onRunRefresh);
  connect(&control_, &RunControl::pauseBegan, this, &Debugging::onPauseBegan);
  connect(&control_, &RunControl::pauseEnded, this, &Debugging::onPauseEnded);
  connect(&main_.editor(), &SourceEditor::breakpointsChanged, this, [this] {
    if (isRunning()) control_.debugger().setBreakpoints(main_.editor().breakpointLines());
  });
  connect(&main_.callStackPanel(), &CallStackPanel::lineClicked, this, [this](int line) {
    main_.editor().setCursorPosition(line, 0);
    main_.editor().ensureLineVisible(line);
    main_.editor().setFocus();
  });
  main_.watchPanel().setEvaluator([this](const std::string& f) { return evaluate(f); });
}

int Debugging::caretLine() const {
  int line = 0, index = 0;
  main_.editor().getCursorPosition(&line, &index);
  return line;
}

void Debugging::run(Resume first, int32_t toLine) {
  if (isPaused()) {
    control_.resume(Resume::Continue);
    return;
  }
  Machine& m = form_.machine;
  const bool onlyTranslate = m.CheckBox1;
  main_.editor().clearDiagnosticMarks();
  main_.showWarnings({});
  Debugger& debugger = control_.debugger();
  debugger.setBreakpoints(main_.editor().breakpointLines());
  debugger.runToLine(toLine);
  debugger.setResume(first);
  if (runs_++ == 0) {
    main_.variablesPanel().forget();
    runRefresh_.start();
  }
  errorShown_ = false;
  main_.showRunState(true, false);
  main_.showRunStatus(runningStatus(0));
  std::string error;
  bool ok = command_([&] {
    try {
      Button1Click(m, [&] {
        lintTranslation(m);
        showWarnings();
      });
    } catch (const std::exception& e) {
      error = errorText(e);
      throw;
    }
  });
  if (--runs_ == 0) {
    runRefresh_.stop();
    debugger.runToLine(0);
    debugger.setResume(Resume::Continue);
    main_.showRunState(false, false);
  }
  main_.editor().markCurrentLine(-1);
  const int32_t pc = m.pc;
  const bool pcInList = pc >= 0 && pc < m.ListBox1.size();
  if (!ok || m.translationStopped) {
    if (!errorShown_ && !error.empty()) main_.showRunStatus(fromBytes("Error: " + error));
  } else if (onlyTranslate) {
    main_.showRunStatus(onlyTranslateStatus());
  } else if ((m.stopRequested || m.CheckBox1) && pcInList) {
    main_.showRunStatus(stoppedStatus(m.ListBox1.sourceMap(), m.ListBox1.origin(pc)));
  } else if (!errorShown_) {  // an error the run survived (a formula's) stays in sight
    main_.showRunStatus(endedStatus(m.lastRunSteps));
  }
  if (runs_ == 0) refreshPanels();
}

void Debugging::handle(MainCommand command) {
  const bool paused = isPaused();
  const bool running = isRunning();
  // Stepping with no program running starts one, paused before its first line.
  auto step = [&](Resume how) {
    if (paused)
      control_.resume(how);
    else if (running)
      control_.resume(Resume::Step);  // pause the running program at its next source line
    else
      run(Resume::StepLine);
  };
  switch (command) {
    case MainCommand::Stop:
      control_.stopAll();
      break;
    case MainCommand::Continue:
      if (paused)
        control_.resume(Resume::Continue);
      else if (!running)
        run();
      break;
    case MainCommand::Step:
      step(Resume::Step);
      break;
    case MainCommand::StepOver:
      step(Resume::Next);
      break;
    case MainCommand::StepOut:
      if (paused && callDepth(form_.machine) == 0)
        main_.showRunStatus(noProcedureToLeaveStatus());
      else
        step(Resume::Finish);
      break;
    case MainCommand::RunToCursor: {
      const int32_t line = caretLine() + 1;
      if (paused) {
        control_.debugger().runToLine(line);
        control_.resume(Resume::Continue);
      } else if (running) {
        control_.debugger().runToLine(line);
      } else {
        run(Resume::Continue, line);
      }
      break;
    }
    case MainCommand::ToggleBreakpoint:
      main_.editor().toggleBreakpoint(caretLine());
      break;
    default:
      break;
  }
}

void Debugging::diagnostic(const Diagnostic& d) {
  const bool here = inEditor(d.file);
  if (d.severity == Diagnostic::Severity::Warning) {
    if (here) main_.editor().markWarning(d.line - 1);
    return;
  }
  errorShown_ = true;
  main_.showRunStatus(diagnosticStatus(d, here));
  if (!here || d.line < 1) return;
  SourceEditor& editor = main_.editor();
  editor.markError(d.line - 1);
  editor.setCursorPosition(d.line - 1, 0);
  editor.ensureLineVisible(d.line - 1);
}

void Debugging::messageBoxShown(const std::string& text, int flags) {
  const Machine& m = form_.machine;
  if ((flags & kIconBits) != mb::kIconError || !m.frame || m.frame->mode != RunMode::Program)
    return;
  if (m.pc < 0 || m.pc >= m.ListBox1.size()) return;
  diagnostic(diagnosticAt(m.ListBox1.sourceMap(), m.ListBox1.origin(m.pc), text));
}

void Debugging::editorEdited() {
  main_.editor().clearDiagnosticMarks();
  main_.showWarnings({});
}

void Debugging::showWarnings() {
  const std::vector<Diagnostic>& warnings = form_.machine.translationWarnings;
  for (const Diagnostic& w : warnings)
    if (inEditor(w.file)) main_.editor().markWarning(w.line - 1);
  main_.showWarnings(warningsStatus(warnings, !warnings.empty() && inEditor(warnings[0].file)));
}

void Debugging::onPauseBegan() {
  Machine& m = form_.machine;
  const PausePoint& point = control_.pausePoint();
  if (point.location.file == 0) main_.editor().markCurrentLine(point.location.line - 1);
  main_.showRunState(true, true);
  main_.showRunStatus(pausedStatus(m.ListBox1.sourceMap(), point.location));
  refresh_();
  if (lowLevel_.isVisible() && static_cast<size_t>(point.pc) < lowLevel_.memo1().lineCount())
    lowLevel_.memo1().selectLine(static_cast<size_t>(point.pc));
  if (!panelsShown_) {
    panelsShown_ = true;
    main_.showDebugPanels();
  }
  refreshPanels();
  emit paused();
}

void Debugging::onPauseEnded() {
  main_.editor().markCurrentLine(-1);
  if (isPaused()) return;  // an inner pause ended; the outer one holds on
  main_.showRunState(true, false);
  main_.showRunStatus(runningStatus(0));
}

void Debugging::onRunRefresh() {
  if (isPaused()) return;
  const RunFrame* frame = form_.machine.frame;
  main_.showRunStatus(runningStatus(frame ? static_cast<uint64_t>(frame->stepCounter - 1) : 0));
  if (isOpen(main_.variablesPanel())) main_.variablesPanel().refresh(form_.machine.table);
}

void Debugging::refreshPanels() {
  if (isOpen(main_.variablesPanel())) main_.variablesPanel().refresh(form_.machine.table);
  if (isOpen(main_.watchPanel())) main_.watchPanel().refresh();
  if (isOpen(main_.callStackPanel())) showCallStack();
}

void Debugging::showCallStack() {
  const Machine& m = form_.machine;
  std::vector<CallStackEntry> entries;
  if (isPaused()) {
    const SourceMap& map = m.ListBox1.sourceMap();
    for (int32_t call : pendingCalls(m)) {
      if (call < 0 || call >= m.ListBox1.size()) continue;
      SourceLocation at = m.ListBox1.origin(call);
      Diagnostic place;
      place.file = map.fileName(at.file);
      place.line = at.line;
      place.message = trim(sourceLineText(m, map, at));
      entries.push_back({diagnosticStatus(place, at.file == 0), at.file == 0 ? at.line - 1 : -1});
    }
  }
  main_.callStackPanel().showCalls(entries);
}

WatchResult Debugging::evaluate(const std::string& formula) {
  Machine& m = form_.machine;
  // Between two steps of a running program the values are in motion; they are computed at the
  // next pause or when the run ends.
  if (m.frame && !isPaused()) return {true, {}};
  return computeWatch(m, formula);
}

}  // namespace trel::gui
