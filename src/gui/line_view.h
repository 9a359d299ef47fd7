// A read-only view of a long list of text lines (the assembly log, the console output). It paints
// only the lines in sight and reads them from their owner when it paints, so a log of millions of
// lines costs nothing to show and new lines are taken in by one call of sync() per batch.
#pragma once

#include <QAbstractScrollArea>

#include <cstdint>
#include <functional>
#include <string>

namespace trel::gui {

// Where the lines come from: their number, the text of one (bytes, shown as UTF-8) and a number
// that changes whenever lines are added (a full list that drops its oldest lines keeps its count).
struct LineSource {
  std::function<size_t()> count;
  std::function<std::string(size_t)> line;
  std::function<uint64_t()> version;
};

class LineView : public QAbstractScrollArea {
  Q_OBJECT
 public:
  explicit LineView(LineSource source, QWidget* parent = nullptr);

  // Takes in lines added or removed since the last call: adjusts the scroll range and, when the
  // view was showing the last line, follows the new end.
  void sync();
  // The source was emptied or replaced: show it again from its first line.
  void reset();

  size_t lineCount() const { return shownCount_; }
  int firstVisibleLine() const;
  // The selected lines (whole lines), joined with line feeds; empty when nothing is selected.
  QString selectedText() const;
  void selectAll();
  void scrollToLine(size_t line);
  void selectLine(size_t line);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  int lineHeight() const;
  int visibleLineCount() const;
  long lineAt(int y) const;
  void updateScrollRanges();
  void copySelection() const;

  LineSource source_;
  size_t shownCount_ = 0;
  uint64_t shownVersion_ = 0;
  int widest_ = 0;                 // the widest line painted so far, in pixels
  long anchor_ = -1, caret_ = -1;  // selected lines, both ends included
};

}  // namespace trel::gui
