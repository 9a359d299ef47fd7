// File > Open recent: the last files opened or saved, newest first, at most ten, kept in the
// IDE's settings. Files that no longer exist are dropped when the list is shown.
#pragma once

#include <string>
#include <vector>

namespace trel::gui {

inline constexpr size_t kRecentFileLimit = 10;

// The list with `path` in front (moved there when it was already in it), cut to the limit.
std::vector<std::string> withRecentFile(std::vector<std::string> list, const std::string& path);

struct RecentFiles {
  std::vector<std::string> kept;
  std::vector<std::string> dropped;  // listed, but no longer a file
};
// Splits the list into the files that still exist and the ones that do not.
RecentFiles checkRecentFiles(const std::vector<std::string>& list);

std::vector<std::string> loadRecentFiles();
void storeRecentFiles(const std::vector<std::string>& list);

}  // namespace trel::gui
