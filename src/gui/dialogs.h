// The Qt forms of the host's dialogs: message boxes with style flags, the input box and the file
// dialogs with "Name|*.ext|Name|*.ext" filters.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

#include <optional>
#include <string>

#include "machine/host.h"

namespace trel::gui {

// "Source|*.qn|Icon file|*.exe" as Qt's name filters: "Source (*.qn)", "Icon file (*.exe)".
QStringList nameFilters(const std::string& filter);

// A message box built from style flags (buttons in the low four bits, icon in the next four);
// answers the number of the button pressed (trel::mb ids).
int runMessageBox(QWidget* parent, const std::string& text, const std::string& caption, int flags);

std::optional<std::string> runInputBox(QWidget* parent, const std::string& caption,
                                       const std::string& prompt, const std::string& value);

// A file dialog that remembers its folder and the filter chosen last (one per dialog).
class FileDialogMemory {
 public:
  std::optional<std::string> open(QWidget* parent, const FileDialogRequest& request);
  std::optional<std::string> save(QWidget* parent, const FileDialogRequest& request);

 private:
  std::optional<std::string> run(QWidget* parent, const FileDialogRequest& request, bool save);
  QString folder_;
  QString filter_;
};

}  // namespace trel::gui
