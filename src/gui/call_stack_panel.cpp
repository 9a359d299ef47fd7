#include "gui/call_stack_panel.h"

namespace trel::gui {

CallStackPanel::CallStackPanel(QWidget* parent)
    : QDockWidget(QStringLiteral("Call stack"), parent) {
  setObjectName(QStringLiteral("CallStackPanel"));
  list_ = new QListWidget(this);
  list_->setObjectName(QStringLiteral("CallStackList"));
  setWidget(list_);
  setMinimumWidth(280);
  connect(list_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    int line = item->data(Qt::UserRole).toInt();
    if (line >= 0) emit lineClicked(line);
  });
}

void CallStackPanel::showCalls(const std::vector<CallStackEntry>& entries) {
  list_->clear();
  for (const CallStackEntry& e : entries) {
    auto* item = new QListWidgetItem(e.text, list_);
    item->setData(Qt::UserRole, e.editorLine);
  }
}

}  // namespace trel::gui
