#include "gui/console_window.h"

#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>

#include "gui/fonts.h"
#include "gui/text_bytes.h"

namespace trel::gui {

ConsoleWindow::ConsoleWindow(ConsoleModel& model) : QWidget(nullptr, Qt::Window), model_(model) {
  setWindowTitle(QStringLiteral("Trel"));
  auto* panel = new QFrame(this);
  panel->setObjectName(QStringLiteral("Panel1"));
  panel->setFrameShape(QFrame::Panel);
  panel->setFrameShadow(QFrame::Raised);
  panel->setGeometry(0, 0, 633, 369);

  const auto& lines = model_.lines();
  memo_ = new LineView(
      {[&lines] { return lines.size(); }, [&lines](size_t i) { return lines[i]; }, {}}, panel);
  memo_->setObjectName(QStringLiteral("Memo1"));
  memo_->setGeometry(8, 8, 617, 321);
  memo_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  memo_->setFont(consoleFont());
  QPalette pal = memo_->palette();
  pal.setColor(QPalette::Base, Qt::black);
  pal.setColor(QPalette::Text, Qt::white);
  memo_->setPalette(pal);

  input_ = new QPlainTextEdit(panel);
  input_->setObjectName(QStringLiteral("Edit1"));
  input_->setGeometry(8, 336, 553, 25);
  input_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  input_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  input_->setTabChangesFocus(true);

  button_ = new QPushButton(QStringLiteral(">>"), panel);
  button_->setObjectName(QStringLiteral("Button1"));
  button_->setGeometry(568, 336, 57, 25);
  button_->setDefault(true);
  connect(button_, &QPushButton::clicked, this, &ConsoleWindow::runInput);
  input_->installEventFilter(this);
  connect(input_, &QPlainTextEdit::textChanged, this, &ConsoleWindow::storeInput);
  setFixedSize(633, 369);
}

void ConsoleWindow::runInput() {
  storeInput();
  history_.add(model_.Edit1);
  emit runLineRequested();
}

void ConsoleWindow::recall(const std::string& text) {
  input_->setPlainText(fromBytes(text));
  input_->moveCursor(QTextCursor::End);
}

bool ConsoleWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched != input_ || event->type() != QEvent::KeyPress)
    return QWidget::eventFilter(watched, event);
  auto* key = static_cast<QKeyEvent*>(event);
  const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
  if (enter && (key->modifiers() & Qt::ControlModifier)) {
    runInput();
    return true;
  }
  if (key->modifiers() & ~Qt::KeypadModifier) return false;
  const QTextCursor cursor = input_->textCursor();
  std::string shown;
  if (key->key() == Qt::Key_Up && cursor.blockNumber() == 0 &&
      history_.back(toBytes(input_->toPlainText()), shown)) {
    recall(shown);
    return true;
  }
  if (key->key() == Qt::Key_Down && cursor.blockNumber() == input_->blockCount() - 1 &&
      history_.forward(shown)) {
    recall(shown);
    return true;
  }
  return false;
}

void ConsoleWindow::storeInput() {
  model_.Edit1 = toBytes(input_->toPlainText());
}

void ConsoleWindow::clearInput() {
  if (!input_->toPlainText().isEmpty()) input_->clear();
}

void ConsoleWindow::closeEvent(QCloseEvent* event) {
  QWidget::closeEvent(event);
  emit closedByUser();
}

}  // namespace trel::gui
