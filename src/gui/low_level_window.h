// The low-level viewer "Low level": the program list of the last run on the left, the variable
// dump on the right, both snapshots taken by the Show Low-level command.
#pragma once

#include <QWidget>

#include <string>
#include <vector>

#include "gui/line_view.h"

namespace trel::gui {

class LowLevelWindow : public QWidget {
  Q_OBJECT
 public:
  LowLevelWindow();
  // The two memos' texts (lines each ended by CR LF); `selectedLine` is a line of the left memo
  // to select and scroll to, -1 for none.
  void showSnapshot(const std::string& memo1, const std::string& memo2, int selectedLine);
  LineView& memo1() { return *memo1_; }
  LineView& memo2() { return *memo2_; }
  const std::vector<std::string>& memo1Lines() const { return lines1_; }
  const std::vector<std::string>& memo2Lines() const { return lines2_; }

 signals:
  void closed();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  std::vector<std::string> lines1_{"Memo1"}, lines2_{"Memo2"};
  LineView* memo1_;
  LineView* memo2_;
};

}  // namespace trel::gui
