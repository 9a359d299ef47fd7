// The Variables panel: the running program's own variables in slot order and, in a group of
// their own, the registers; each with its value as text or, on demand, as hexadecimal bytes.
// Values that changed since the last look are highlighted, so a step shows what it did.
#pragma once

#include <QCheckBox>
#include <QDockWidget>
#include <QTreeWidget>

#include <string>
#include <unordered_map>
#include <vector>

#include "machine/variable_table.h"

namespace trel::gui {

class VariablesPanel : public QDockWidget {
  Q_OBJECT
 public:
  explicit VariablesPanel(QWidget* parent = nullptr);

  // Shows the table's values, highlighting those that differ from the last call's.
  void refresh(const VariableTable& table);
  // A new run began: its first look highlights nothing.
  void forget();

  QTreeWidget& tree() { return *tree_; }
  QTreeWidgetItem& variablesGroup() { return *variables_; }
  QTreeWidgetItem& registersGroup() { return *registers_; }
  QCheckBox& hexView() { return *hex_; }
  // How many times refresh() ran (the benchmark shows that the panel followed the run).
  uint64_t refreshCount() const { return refreshes_; }
  // The names shown highlighted.
  std::vector<std::string> changedNames() const;

 private:
  struct Row {
    std::string name;
    std::string value;
  };
  // `recolour`: compare with the last refresh; otherwise keep the highlights shown.
  void fill(QTreeWidgetItem& group, const std::vector<Row>& rows, bool recolour);
  void showValues(bool recolour);

  QTreeWidget* tree_;
  QTreeWidgetItem* variables_;
  QTreeWidgetItem* registers_;
  QCheckBox* hex_;
  std::vector<Row> variableRows_, registerRows_;
  std::unordered_map<std::string, std::string> lastSeen_;
  bool haveLastSeen_ = false;
  uint64_t refreshes_ = 0;
};

}  // namespace trel::gui
