// Run control in the IDE: the debugger attached to the machine, and the pause between two steps.
//
// A pause serves the application's events in a nested event loop, so every window stays alive
// (the user reads the panels, edits, sets breakpoints, runs console lines) until a command says
// how the run goes on. Pauses can nest: a program run started from inside a pause (a click on a
// program-made window) may pause again; a command always answers the innermost one.
#pragma once

#include <QObject>

#include <cstdint>
#include <set>
#include <vector>

#include "machine/debugger.h"
#include "machine/machine.h"

class QEventLoop;

namespace trel::gui {

class RunControl : public QObject, public PauseHandler {
  Q_OBJECT
 public:
  explicit RunControl(Machine& machine);
  ~RunControl() override;

  Debugger& debugger() { return debugger_; }
  bool isPaused() const { return !pauses_.empty(); }
  // Where the innermost pause holds the run.
  const PausePoint& pausePoint() const { return pauses_.back().point; }

  // How the run goes on from the innermost pause. Outside a pause it tells the run in progress
  // (a step command then pauses it at the next source line) or the next run.
  void resume(Resume how);
  // Ends every run in progress between two steps; every pause answers Stop.
  void stopAll();

  Resume paused(Machine& machine, const PausePoint& point) override;

 signals:
  // A pause began; the windows show where.
  void pauseBegan();
  // The innermost pause ended; the run goes on (or ends, after Stop).
  void pauseEnded();

 private:
  struct Pause {
    PausePoint point;
    QEventLoop* loop;
    Resume answer;
    bool answered;  // also before its loop runs (an exit() before exec() is lost)
  };
  static void answer(Pause& pause, Resume how);

  Machine& machine_;
  Debugger debugger_{*this};
  std::vector<Pause> pauses_;
};

}  // namespace trel::gui
