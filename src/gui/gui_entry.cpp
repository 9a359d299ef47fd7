// runQtApplication: the IDE or a standalone program with Qt windows.
#include "gui/gui_entry.h"

#include <QApplication>

#include <clocale>
#include <cstdio>
#include <string>
#include <vector>

#include "gui/display_probe.h"
#include "gui/session.h"
#include "gui/startup_report.h"
#include "gui/termination_signals.h"
#include "rtl/decimal_separator.h"

namespace trel {

int runQtApplication(int argc, char** argv, const TerminalFallback& runWithoutDisplay) {
  std::string why;
  if (!gui::displayReachable(why)) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    bool ide = !arguments.empty() && arguments[0] == "base.exe";
    std::fprintf(stderr, "trel: %s.\n", why.c_str());
    if (ide) {
      std::fprintf(
          stderr,
          "trel: the IDE needs a display: start it in a desktop session, or under a virtual "
          "X server (xvfb-run -a trel base.exe).\n");
      return 2;
    }
    std::fprintf(stderr, "trel: running the program on this terminal instead.\n");
    return runWithoutDisplay(arguments);
  }

  QApplication app(argc, argv);
  // Qt takes the environment's locale for the C library too; the core reads and writes numbers
  // with its own decimal separator and needs the C library's "C" rules underneath.
  std::setlocale(LC_NUMERIC, "C");
  initDecimalSeparatorFromEnvironment();
  QApplication::setApplicationName(QStringLiteral("Trel"));
  QApplication::setQuitOnLastWindowClosed(false);

  // Qt has taken its own options out of argc and argv; the rest are compared byte for byte.
  std::vector<std::string> arguments(argv + 1, argv + argc);

  gui::QtHost host;
  gui::Session session(host, std::move(arguments));
  gui::TerminationSignals terminations([&session](int signal) { session.endOnSignal(signal); });
  gui::StartupReport startupReport(session.mainWindow());
  session.start();
  return app.exec();
}

}  // namespace trel
