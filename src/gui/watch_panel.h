// The Watch list: formulas the user types, each shown with its result on the program's current
// values, or with the error that computing it met.
#pragma once

#include <QDockWidget>
#include <QLineEdit>
#include <QTreeWidget>

#include <functional>
#include <string>
#include <vector>

#include "gui/watch_formula.h"

namespace trel::gui {

class WatchPanel : public QDockWidget {
  Q_OBJECT
 public:
  using Evaluate = std::function<WatchResult(const std::string& formula)>;
  explicit WatchPanel(QWidget* parent = nullptr);

  // What computes a formula; refresh() and every added formula use it.
  void setEvaluator(Evaluate evaluate) { evaluate_ = std::move(evaluate); }
  void addFormula(const std::string& formula);
  // Computes every formula again.
  void refresh();

  QLineEdit& input() { return *input_; }
  QTreeWidget& list() { return *list_; }
  std::vector<std::string> formulas() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void compute(QTreeWidgetItem& item);

  QTreeWidget* list_;
  QLineEdit* input_;
  Evaluate evaluate_;
};

}  // namespace trel::gui
