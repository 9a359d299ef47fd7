// Whether the X server named by DISPLAY answers. Qt aborts the process when it cannot reach the
// display it was told to use, so the application asks first and can explain itself instead.
#pragma once

#include <string>

namespace trel::gui {

// True when Qt will not need an X server (another platform is chosen, or Wayland is set), or
// when the one DISPLAY names accepts a connection. `why` receives the reason it does not.
bool displayReachable(std::string& why);

}  // namespace trel::gui
