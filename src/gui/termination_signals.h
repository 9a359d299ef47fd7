// SIGTERM, SIGHUP and SIGINT (a logout, kill, Ctrl+C in the terminal that started the IDE) end the
// application the way closing its main window does, so the editor text is written first. The
// signal handler only writes the signal's number into a pipe; the event loop reads it, also while
// a program runs and serves events, and passes it on.
#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <functional>
#include <memory>

namespace trel::gui {

class TerminationSignals : public QObject {
  Q_OBJECT
 public:
  explicit TerminationSignals(std::function<void(int signal)> onSignal);
  ~TerminationSignals() override;

 private:
  std::function<void(int)> onSignal_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace trel::gui
