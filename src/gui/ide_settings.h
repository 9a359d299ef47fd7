// What the IDE remembers between starts (window places, recent files, the whitespace display): an
// INI file in the user's XDG configuration folder, $XDG_CONFIG_HOME/trel/trel.conf
// (~/.config/trel/trel.conf by default), looked up afresh each time.
#pragma once

#include <QSettings>
#include <QString>

#include <memory>

namespace trel::gui {

QString settingsPath();
std::unique_ptr<QSettings> openSettings();

}  // namespace trel::gui
