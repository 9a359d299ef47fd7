// runQtApplication: the IDE or a standalone program with Qt windows.
#include "gui/gui_entry.h"

#include <QApplication>
#include <QIcon>
#include <QImage>

#include <clocale>
#include <cstdio>
#include <string>
#include <vector>

#include "gui/display_probe.h"
#include "gui/session.h"
#include "gui/startup_report.h"
#include "gui/termination_signals.h"
#include "resources/icon_image.h"
#include "rtl/decimal_separator.h"

namespace trel {

namespace {

// Icon image 1 of the running executable as the windows' icon.
void useProgramIcon() {
  std::optional<IconPicture> icon = loadProgramIcon("/proc/self/exe");
  if (!icon) return;
  QImage image;
  if (!icon->png.empty()) {
    image.loadFromData(reinterpret_cast<const uchar*>(icon->png.data()),
                       static_cast<int>(icon->png.size()), "PNG");
  } else if (icon->width > 0 && icon->height > 0 &&
             icon->argb.size() ==
                 static_cast<size_t>(icon->width) * static_cast<size_t>(icon->height)) {
    image = QImage(icon->width, icon->height, QImage::Format_ARGB32);
    for (int y = 0; y < icon->height; ++y)
      for (int x = 0; x < icon->width; ++x)
        image.setPixel(x, y,
                       icon->argb[static_cast<size_t>(y) * static_cast<size_t>(icon->width) +
                                  static_cast<size_t>(x)]);
  }
  if (!image.isNull()) QApplication::setWindowIcon(QIcon(QPixmap::fromImage(image)));
}

}  // namespace

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
  bool ide = !arguments.empty() && arguments[0] == "base.exe";
  if (!ide) useProgramIcon();

  gui::QtHost host;
  gui::Session session(host, std::move(arguments));
  gui::TerminationSignals terminations([&session](int signal) { session.endOnSignal(signal); });
  gui::StartupReport startupReport(session.mainWindow());
  session.start();
  return app.exec();
}

}  // namespace trel
