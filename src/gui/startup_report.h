// TREL_REPORT_STARTUP=1 in the environment: once the main window has been shown and painted for
// the first time, one line on stderr tells when, so that a script can time the start-up from the
// moment it started the process:
//
//     trel: main window painted at 1733692800.123456 s (real-time clock), 52.3 ms after main,
//     61.0 ms of processor time
//
// (one line; the processor time is the process's own, start-up included, which a busy machine
// stretches less than the wall clock)
//
// Without the variable nothing is watched or printed.
#pragma once

#include <QObject>

class QWidget;

namespace trel::gui {

class StartupReport : public QObject {
  Q_OBJECT
 public:
  // Watches `window` when the environment asks for the report; does nothing otherwise.
  explicit StartupReport(QWidget& window);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void report();

  QWidget& window_;
  bool painted_ = false;
};

}  // namespace trel::gui
