#include "gui/help_window.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QShortcut>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>

#include "gui/text_bytes.h"

namespace trel::gui {

namespace {

constexpr int kTwipsPerPixel = 15;  // at 96 dots per inch

Qt::Alignment alignmentOf(RtfAlignment a) {
  switch (a) {
    case RtfAlignment::Centre:
      return Qt::AlignHCenter;
    case RtfAlignment::Right:
      return Qt::AlignRight;
    case RtfAlignment::Justify:
      return Qt::AlignJustify;
    case RtfAlignment::Left:
      break;
  }
  return Qt::AlignLeft;
}

QTextCharFormat formatOf(const RtfRun& run) {
  QTextCharFormat f;
  f.setFontWeight(run.bold ? QFont::Bold : QFont::Normal);
  f.setFontItalic(run.italic);
  f.setFontUnderline(run.underline);
  f.setFontPointSize(run.halfPoints / 2.0);
  if (run.fixedPitch) {
    f.setFontFamilies({QStringLiteral("Courier New"), QStringLiteral("DejaVu Sans Mono"),
                       QStringLiteral("monospace")});
    f.setFontFixedPitch(true);
  }
  if (run.colour)
    f.setForeground(QColor(static_cast<int>((*run.colour >> 16) & 0xFF),
                           static_cast<int>((*run.colour >> 8) & 0xFF),
                           static_cast<int>(*run.colour & 0xFF)));
  return f;
}

}  // namespace

void fillTextDocument(QTextDocument& target, const RtfDocument& source) {
  target.clear();
  QTextCursor cursor(&target);
  cursor.beginEditBlock();
  bool first = true;
  for (const RtfParagraph& p : source.paragraphs) {
    QTextBlockFormat block;
    block.setAlignment(alignmentOf(p.alignment));
    block.setLeftMargin(p.leftIndent / kTwipsPerPixel);
    block.setTopMargin(p.spaceBefore / kTwipsPerPixel);
    block.setBottomMargin(p.spaceAfter / kTwipsPerPixel);
    if (first)
      cursor.setBlockFormat(block);
    else
      cursor.insertBlock(block);
    first = false;
    for (const RtfRun& run : p.runs) {
      QString text = fromBytes(run.text);
      text.replace(QChar('\n'), QChar::LineSeparator);
      cursor.insertText(text, formatOf(run));
    }
  }
  cursor.endEditBlock();
}

HelpWindow::HelpWindow()
    : QWidget(nullptr, Qt::Window), richEdit_(new QTextEdit(this)), search_(new QLineEdit(this)) {
  setWindowTitle(QStringLiteral("HELP - Trel"));
  setAttribute(Qt::WA_QuitOnClose, false);
  richEdit_->setObjectName(QStringLiteral("RichEdit1"));
  richEdit_->setReadOnly(true);
  richEdit_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  richEdit_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  richEdit_->setPlainText(QStringLiteral("RichEdit1"));
  QPalette pal = richEdit_->palette();
  pal.setColor(QPalette::Base, Qt::white);
  pal.setColor(QPalette::Text, Qt::black);
  richEdit_->setPalette(pal);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(richEdit_);
  search_->setObjectName(QStringLiteral("HelpSearch"));
  search_->setPlaceholderText(
      QStringLiteral("Find in the guide (Enter: next, Shift+Enter: previous, Esc: close)"));
  search_->setClearButtonEnabled(true);
  search_->hide();
  layout->addWidget(search_);
  auto* find = new QShortcut(QKeySequence::Find, this);
  connect(find, &QShortcut::activated, this, [this] {
    search_->show();
    search_->setFocus();
    search_->selectAll();
  });
  auto* next = new QShortcut(QKeySequence::FindNext, this);
  connect(next, &QShortcut::activated, this, [this] { findNext(); });
  connect(search_, &QLineEdit::returnPressed, this,
          [this] { findNext(QGuiApplication::keyboardModifiers() & Qt::ShiftModifier); });
  search_->installEventFilter(this);
  resize(617, 369);
}

bool HelpWindow::findNext(bool backwards) {
  const QString text = search_->text();
  if (text.isEmpty()) return false;
  QTextDocument::FindFlags flags;
  if (backwards) flags |= QTextDocument::FindBackward;
  if (richEdit_->find(text, flags)) return true;
  // Wrap around once.
  richEdit_->moveCursor(backwards ? QTextCursor::End : QTextCursor::Start);
  return richEdit_->find(text, flags);
}

bool HelpWindow::showTopic(const QString& name) {
  QTextDocument* doc = richEdit_->document();
  QTextCursor index = doc->find(QRegularExpression(QStringLiteral("^\\d*\\.? ?Index$")));
  if (index.isNull()) return false;
  const QString entry = name + QLatin1Char(':');
  for (QTextBlock block = index.block().next(); block.isValid(); block = block.next()) {
    if (!block.text().startsWith(entry)) continue;
    QTextCursor at(block);
    at.movePosition(QTextCursor::Right, QTextCursor::KeepAnchor, int(name.size()));
    // Bring the entry to the top of the view: first to the end, then back to it.
    richEdit_->moveCursor(QTextCursor::End);
    richEdit_->setTextCursor(at);
    richEdit_->ensureCursorVisible();
    return true;
  }
  return false;
}

void HelpWindow::showText(const std::string& rtf) {
  fillTextDocument(*richEdit_->document(), readRtf(rtf));
  richEdit_->moveCursor(QTextCursor::Start);
}

bool HelpWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == search_ && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
    search_->hide();
    richEdit_->setFocus();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void HelpWindow::closeEvent(QCloseEvent* event) {
  QWidget::closeEvent(event);
  emit closed();
}

}  // namespace trel::gui
