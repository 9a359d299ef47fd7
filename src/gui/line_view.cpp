#include "gui/line_view.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace trel::gui {

namespace {

// Lines longer than this are cut for painting; copying still gives them whole.
constexpr size_t kPaintedCharacters = 2000;
// A selection larger than this is copied only in part rather than freezing the IDE.
constexpr size_t kMaxCopiedLines = 2'000'000;

}  // namespace

LineView::LineView(LineSource source, QWidget* parent)
    : QAbstractScrollArea(parent), source_(std::move(source)) {
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setCursor(Qt::IBeamCursor);
  sync();
}

int LineView::lineHeight() const {
  return std::max(1, fontMetrics().lineSpacing());
}

int LineView::visibleLineCount() const {
  return std::max(1, viewport()->height() / lineHeight());
}

int LineView::firstVisibleLine() const {
  return verticalScrollBar()->value();
}

void LineView::updateScrollRanges() {
  int maximum =
      static_cast<int>(std::min<size_t>(shownCount_ > static_cast<size_t>(visibleLineCount())
                                            ? shownCount_ - static_cast<size_t>(visibleLineCount())
                                            : 0,
                                        INT32_MAX));
  verticalScrollBar()->setRange(0, maximum);
  verticalScrollBar()->setPageStep(visibleLineCount());
  horizontalScrollBar()->setRange(0, std::max(0, widest_ - viewport()->width() + 4));
  horizontalScrollBar()->setPageStep(viewport()->width());
}

void LineView::sync() {
  size_t count = source_.count();
  uint64_t version = source_.version ? source_.version() : count;
  if (count == shownCount_ && version == shownVersion_) return;
  shownVersion_ = version;
  bool atEnd = verticalScrollBar()->value() >= verticalScrollBar()->maximum();
  if (count < shownCount_) anchor_ = caret_ = -1;
  shownCount_ = count;
  updateScrollRanges();
  if (atEnd) verticalScrollBar()->setValue(verticalScrollBar()->maximum());
  viewport()->update();
}

void LineView::reset() {
  anchor_ = caret_ = -1;
  widest_ = 0;
  shownCount_ = source_.count();
  shownVersion_ = source_.version ? source_.version() : shownCount_;
  updateScrollRanges();
  verticalScrollBar()->setValue(0);
  horizontalScrollBar()->setValue(0);
  viewport()->update();
}

void LineView::scrollToLine(size_t line) {
  int target = static_cast<int>(std::min<size_t>(line, INT32_MAX)) - visibleLineCount() / 2;
  verticalScrollBar()->setValue(std::max(0, target));
}

void LineView::selectLine(size_t line) {
  anchor_ = caret_ = static_cast<long>(line);
  scrollToLine(line);
  viewport()->update();
}

void LineView::selectAll() {
  if (shownCount_ == 0) return;
  anchor_ = 0;
  caret_ = static_cast<long>(shownCount_) - 1;
  viewport()->update();
}

QString LineView::selectedText() const {
  if (anchor_ < 0) return {};
  size_t from = static_cast<size_t>(std::min(anchor_, caret_));
  size_t to = std::min(static_cast<size_t>(std::max(anchor_, caret_)) + 1, source_.count());
  to = std::min(to, from + kMaxCopiedLines);
  std::string text;
  for (size_t i = from; i < to; ++i) {
    if (i > from) text += '\n';
    text += source_.line(i);
  }
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void LineView::copySelection() const {
  QString text = selectedText();
  if (!text.isEmpty()) QApplication::clipboard()->setText(text);
}

void LineView::paintEvent(QPaintEvent*) {
  QPainter p(viewport());
  const QPalette& pal = palette();
  p.fillRect(viewport()->rect(), pal.color(QPalette::Base));
  const int h = lineHeight();
  const int ascent = fontMetrics().ascent();
  const int dx = -horizontalScrollBar()->value() + 2;
  const size_t count = std::min(shownCount_, source_.count());
  const size_t first = static_cast<size_t>(firstVisibleLine());
  const size_t last = std::min(count, first + static_cast<size_t>(visibleLineCount()) + 1);
  const long selFrom = std::min(anchor_, caret_), selTo = std::max(anchor_, caret_);
  int widest = widest_;
  for (size_t i = first; i < last; ++i) {
    int y = static_cast<int>(i - first) * h;
    std::string bytes = source_.line(i);
    bool cut = bytes.size() > kPaintedCharacters;
    if (cut) bytes.resize(kPaintedCharacters);
    QString text = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    if (cut) text += QChar(0x2026);
    bool selected =
        anchor_ >= 0 && static_cast<long>(i) >= selFrom && static_cast<long>(i) <= selTo;
    if (selected) {
      p.fillRect(QRect(0, y, viewport()->width(), h), pal.color(QPalette::Highlight));
      p.setPen(pal.color(QPalette::HighlightedText));
    } else {
      p.setPen(pal.color(QPalette::Text));
    }
    p.drawText(dx, y + ascent, text);
    widest = std::max(widest, fontMetrics().horizontalAdvance(text));
  }
  if (widest != widest_) {
    widest_ = widest;
    updateScrollRanges();
  }
}

void LineView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  bool atEnd = verticalScrollBar()->value() >= verticalScrollBar()->maximum();
  updateScrollRanges();
  if (atEnd) verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

long LineView::lineAt(int y) const {
  long line = firstVisibleLine() + y / lineHeight();
  if (shownCount_ == 0) return -1;
  return std::clamp(line, 0L, static_cast<long>(shownCount_) - 1);
}

void LineView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  long line = lineAt(static_cast<int>(event->position().y()));
  if (!(event->modifiers() & Qt::ShiftModifier) || anchor_ < 0) anchor_ = line;
  caret_ = line;
  viewport()->update();
}

void LineView::mouseMoveEvent(QMouseEvent* event) {
  if (!(event->buttons() & Qt::LeftButton) || anchor_ < 0) return;
  caret_ = lineAt(static_cast<int>(event->position().y()));
  viewport()->update();
}

void LineView::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Copy)) {
    copySelection();
  } else if (event->matches(QKeySequence::SelectAll)) {
    selectAll();
  } else if (event->key() == Qt::Key_Home && (event->modifiers() & Qt::ControlModifier)) {
    verticalScrollBar()->setValue(0);
  } else if (event->key() == Qt::Key_End && (event->modifiers() & Qt::ControlModifier)) {
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
  } else {
    QAbstractScrollArea::keyPressEvent(event);
  }
}

void LineView::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  QAction* copy = menu.addAction(tr("Copy"));
  copy->setEnabled(anchor_ >= 0);
  QAction* all = menu.addAction(tr("Select all"));
  QAction* chosen = menu.exec(event->globalPos());
  if (chosen == copy) copySelection();
  if (chosen == all) selectAll();
}

}  // namespace trel::gui
