// The call stack view: the running program's pending CALLs, innermost first, each shown as the
// source line that made it. A click on one asks to show that line.
#pragma once

#include <QDockWidget>
#include <QListWidget>

#include <vector>

namespace trel::gui {

struct CallStackEntry {
  QString text;         // "Line N: SOURCE TEXT"
  int editorLine = -1;  // the line in the editor's text (from 0), -1 when it is in a library
};

class CallStackPanel : public QDockWidget {
  Q_OBJECT
 public:
  explicit CallStackPanel(QWidget* parent = nullptr);
  void showCalls(const std::vector<CallStackEntry>& entries);
  QListWidget& list() { return *list_; }

 signals:
  void lineClicked(int editorLine);

 private:
  QListWidget* list_;
};

}  // namespace trel::gui
