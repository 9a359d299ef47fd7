#include "app/trel/standalone.h"

#include <cstdio>

#include "rtl/decimal_separator.h"
#include "shell/main_form.h"
#include "shell/terminal_host.h"

namespace trel {

int runStandaloneOnTerminal(const std::vector<std::string>& arguments) {
  initDecimalSeparatorFromEnvironment();
  TerminalHost host;
  host.askOnStandardInput = true;
  TForm1 form(host, arguments);
  if (form.ideMode()) {
    std::fprintf(stderr, "trel: the IDE needs a display (DISPLAY or WAYLAND_DISPLAY is not set)\n");
    return 2;
  }
  form.FormCreate();
  try {
    form.Timer1Timer();
  } catch (const std::exception& e) {
    showError(host, e);
    return 1;
  }
  // The run ended without HALT; nothing is left to show, so the process ends here too.
  return form.startupReportedError ? 1 : 0;
}

}  // namespace trel
