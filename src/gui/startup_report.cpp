#include "gui/startup_report.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace trel::gui {

namespace {

// Taken when the program's static objects are made, just before main.
const auto kMainClock = std::chrono::steady_clock::now();

}  // namespace

StartupReport::StartupReport(QWidget& window) : window_(window) {
  const char* wanted = std::getenv("TREL_REPORT_STARTUP");
  if (!wanted || !*wanted || *wanted == '0') return;
  window_.installEventFilter(this);
}

bool StartupReport::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &window_ && event->type() == QEvent::Paint && !painted_) {
    painted_ = true;
    window_.removeEventFilter(this);
    // The window's paint is part of one update that ends with the frame going to the X server;
    // a zero timer fires after it.
    QTimer::singleShot(0, this, &StartupReport::report);
  }
  return QObject::eventFilter(watched, event);
}

void StartupReport::report() {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  const double epoch = std::chrono::duration<double>(now).count();
  const double sinceMain =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - kMainClock)
          .count();
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  auto ms = [](const timeval& t) { return static_cast<double>(t.tv_sec) * 1e3 + t.tv_usec / 1e3; };
  std::fprintf(stderr,
               "trel: main window painted at %.6f s (real-time clock), %.1f ms after main, "
               "%.1f ms of processor time\n",
               epoch, sinceMain, ms(usage.ru_utime) + ms(usage.ru_stime));
  std::fflush(stderr);
}

}  // namespace trel::gui
