#include "gui/ide_settings.h"

#include <QStandardPaths>

namespace trel::gui {

QString settingsPath() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/trel/trel.conf");
}

std::unique_ptr<QSettings> openSettings() {
  return std::make_unique<QSettings>(settingsPath(), QSettings::IniFormat);
}

}  // namespace trel::gui
