// trel: the IDE when the first argument is exactly "base.exe"; otherwise the runtime of the
// program embedded in this executable (the stub itself also answers --version and --help). Without
// a display, a standalone program runs on the terminal host.
#include <cstdlib>
#include <string>
#include <vector>

#include "app/trel/own_options.h"
#include "app/trel/standalone.h"
#include "rtl/program_name.h"
#if TREL_WITH_GUI
#include "gui/gui_entry.h"
#endif

#if TREL_WITH_GUI
namespace {

bool displayAvailable() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform && (std::string(platform).find("offscreen") != std::string::npos ||
                   std::string(platform).find("minimal") != std::string::npos))
    return true;
  const char* x = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x && *x) || (wayland && *wayland);
}

}  // namespace
#endif

int main(int argc, char** argv) {
  if (argc > 0) trel::setProgramName(argv[0]);
  if (trel::answerOwnOption({argv + 1, argv + argc}, "/proc/self/exe")) return 0;
#if TREL_WITH_GUI
  if (displayAvailable()) return trel::runQtApplication(argc, argv, trel::runStandaloneOnTerminal);
#endif
  std::vector<std::string> arguments(argv + 1, argv + argc);
  return trel::runStandaloneOnTerminal(arguments);
}
