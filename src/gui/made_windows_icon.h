// The icon every window of a built program carries: icon image 1 of its executable (the stub's
// own, or the one the Icon command gave it).
#pragma once

#include <QIcon>

#include <string>

namespace trel::gui {

// The executable's icon image 1 as a window icon; a null icon when it has none that reads.
QIcon programIcon(const std::string& executablePath);

}  // namespace trel::gui
