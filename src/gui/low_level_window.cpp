#include "gui/low_level_window.h"

#include <QGroupBox>

#include "rtl/text.h"

namespace trel::gui {

namespace {

LineSource sourceOf(const std::vector<std::string>& lines) {
  return {[&lines] { return lines.size(); }, [&lines](size_t i) { return lines[i]; }, {}};
}

void whiteMemo(LineView& view) {
  QPalette pal = view.palette();
  pal.setColor(QPalette::Base, Qt::white);
  pal.setColor(QPalette::Text, Qt::black);
  view.setPalette(pal);
}

}  // namespace

LowLevelWindow::LowLevelWindow() : QWidget(nullptr, Qt::Window) {
  setWindowTitle(QStringLiteral("Low level"));
  setAttribute(Qt::WA_QuitOnClose, false);
  auto* left = new QGroupBox(QStringLiteral("Low level"), this);
  left->setGeometry(0, 0, 353, 465);
  memo1_ = new LineView(sourceOf(lines1_), left);
  memo1_->setObjectName(QStringLiteral("Memo1"));
  memo1_->setGeometry(8, 16, 337, 441);
  auto* right = new QGroupBox(QStringLiteral("Variables:"), this);
  right->setGeometry(360, 0, 329, 465);
  memo2_ = new LineView(sourceOf(lines2_), right);
  memo2_->setObjectName(QStringLiteral("Memo2"));
  memo2_->setGeometry(8, 16, 313, 441);
  whiteMemo(*memo1_);
  whiteMemo(*memo2_);
  setFixedSize(689, 465);
}

void LowLevelWindow::showSnapshot(const std::string& memo1, const std::string& memo2,
                                  int selectedLine) {
  lines1_ = splitFileLines(memo1);
  lines2_ = splitFileLines(memo2);
  memo1_->reset();
  memo2_->reset();
  if (selectedLine >= 0 && static_cast<size_t>(selectedLine) < lines1_.size())
    memo1_->selectLine(static_cast<size_t>(selectedLine));
}

void LowLevelWindow::closeEvent(QCloseEvent* event) {
  QWidget::closeEvent(event);
  emit closed();
}

}  // namespace trel::gui
