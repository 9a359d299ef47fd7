#include "gui/run_control.h"

#include <QEventLoop>

namespace trel::gui {

RunControl::RunControl(Machine& machine) : machine_(machine) {
  machine_.debugger = &debugger_;
}

RunControl::~RunControl() {
  if (machine_.debugger == &debugger_) machine_.debugger = nullptr;
}

void RunControl::resume(Resume how) {
  if (pauses_.empty()) {
    if (how == Resume::Stop)
      machine_.stopRequested = machine_.frame != nullptr;
    else
      debugger_.setResume(how);
    return;
  }
  answer(pauses_.back(), how);
}

void RunControl::answer(Pause& pause, Resume how) {
  pause.answer = how;
  pause.answered = true;
  pause.loop->exit();
}

void RunControl::stopAll() {
  if (machine_.frame) machine_.stopRequested = true;
  for (Pause& p : pauses_) answer(p, Resume::Stop);
}

Resume RunControl::paused(Machine&, const PausePoint& point) {
  // A stop asked for while the run was between pumps ends it here rather than pausing.
  if (machine_.stopRequested) return Resume::Stop;
  QEventLoop loop;
  pauses_.push_back({point, &loop, Resume::Continue, false});
  emit pauseBegan();
  if (!pauses_.back().answered) loop.exec();
  Resume answer = pauses_.back().answer;
  pauses_.pop_back();
  emit pauseEnded();
  return answer;
}

}  // namespace trel::gui
