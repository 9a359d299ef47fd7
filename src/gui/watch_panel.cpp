#include "gui/watch_panel.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "gui/text_bytes.h"
#include "gui/value_text.h"

namespace trel::gui {

WatchPanel::WatchPanel(QWidget* parent) : QDockWidget(QStringLiteral("Watch"), parent) {
  setObjectName(QStringLiteral("WatchPanel"));
  auto* body = new QWidget(this);
  auto* layout = new QVBoxLayout(body);
  layout->setContentsMargins(2, 2, 2, 2);
  list_ = new QTreeWidget(body);
  list_->setObjectName(QStringLiteral("WatchList"));
  list_->setColumnCount(2);
  list_->setHeaderLabels({QStringLiteral("Formula"), QStringLiteral("Value")});
  list_->setRootIsDecorated(false);
  list_->header()->setStretchLastSection(true);
  list_->setColumnWidth(0, 110);
  list_->installEventFilter(this);
  input_ = new QLineEdit(body);
  input_->setObjectName(QStringLiteral("WatchInput"));
  input_->setPlaceholderText(QStringLiteral("Add a formula to watch, then Enter"));
  layout->addWidget(list_);
  layout->addWidget(input_);
  setWidget(body);
  setMinimumWidth(280);
  connect(input_, &QLineEdit::returnPressed, this, [this] {
    std::string formula = toBytes(input_->text().trimmed());
    if (formula.empty()) return;
    addFormula(formula);
    input_->clear();
  });
}

void WatchPanel::addFormula(const std::string& formula) {
  auto* item = new QTreeWidgetItem(list_, {fromBytes(formula)});
  compute(*item);
}

void WatchPanel::refresh() {
  for (int i = 0; i < list_->topLevelItemCount(); ++i) compute(*list_->topLevelItem(i));
}

void WatchPanel::compute(QTreeWidgetItem& item) {
  if (!evaluate_) return;
  WatchResult r = evaluate_(toBytes(item.text(0)));
  item.setText(1, r.ok ? readableValue(r.text) : QStringLiteral("error: ") + fromBytes(r.text));
  item.setForeground(1, r.ok ? QBrush() : QBrush(QColor(200, 0, 0)));
}

std::vector<std::string> WatchPanel::formulas() const {
  std::vector<std::string> all;
  for (int i = 0; i < list_->topLevelItemCount(); ++i)
    all.push_back(toBytes(list_->topLevelItem(i)->text(0)));
  return all;
}

bool WatchPanel::eventFilter(QObject* watched, QEvent* event) {
  // Delete removes the selected formula.
  if (watched == list_ && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
    delete list_->currentItem();
    return true;
  }
  return QDockWidget::eventFilter(watched, event);
}

}  // namespace trel::gui
