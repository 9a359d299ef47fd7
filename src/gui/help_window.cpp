#include "gui/help_window.h"

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

HelpWindow::HelpWindow() : QWidget(nullptr, Qt::Window), richEdit_(new QTextEdit(this)) {
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
  resize(617, 369);
}

void HelpWindow::showText(const std::string& rtf) {
  fillTextDocument(*richEdit_->document(), readRtf(rtf));
  richEdit_->moveCursor(QTextCursor::Start);
}

void HelpWindow::closeEvent(QCloseEvent* event) {
  QWidget::closeEvent(event);
  emit closed();
}

}  // namespace trel::gui
