#include "gui/recent_files.h"

#include <QFile>
#include <QStringList>

#include <algorithm>
#include <filesystem>

#include "gui/ide_settings.h"

namespace trel::gui {

namespace {

const char kRecentKey[] = "files/recent";

}  // namespace

std::vector<std::string> withRecentFile(std::vector<std::string> list, const std::string& path) {
  list.erase(std::remove(list.begin(), list.end(), path), list.end());
  list.insert(list.begin(), path);
  if (list.size() > kRecentFileLimit) list.resize(kRecentFileLimit);
  return list;
}

RecentFiles checkRecentFiles(const std::vector<std::string>& list) {
  RecentFiles result;
  for (const std::string& path : list) {
    std::error_code ec;
    (std::filesystem::is_regular_file(path, ec) ? result.kept : result.dropped).push_back(path);
  }
  return result;
}

std::vector<std::string> loadRecentFiles() {
  std::vector<std::string> list;
  for (const QString& path : openSettings()->value(QLatin1String(kRecentKey)).toStringList()) {
    QByteArray bytes = QFile::encodeName(path);
    if (!bytes.isEmpty()) list.emplace_back(bytes.constData(), static_cast<size_t>(bytes.size()));
    if (list.size() == kRecentFileLimit) break;
  }
  return list;
}

void storeRecentFiles(const std::vector<std::string>& list) {
  QStringList paths;
  for (const std::string& path : list) paths << QFile::decodeName(path.c_str());
  openSettings()->setValue(QLatin1String(kRecentKey), paths);
}

}  // namespace trel::gui
