#include "gui/source_editor.h"

#include <algorithm>

#include "gui/fonts.h"

namespace trel::gui {

namespace {

constexpr int kGutterMinWidth = 15;

std::string joinLf(const std::vector<std::string>& lines) {
  std::string text;
  size_t size = lines.size();
  for (const auto& l : lines) size += l.size();
  text.reserve(size);
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i) text += '\n';
    text += lines[i];
  }
  return text;
}

}  // namespace

SourceEditor::SourceEditor(QWidget* parent) : QsciScintilla(parent), lexer_(new QnLexer(this)) {
  setUtf8(true);
  setEolMode(EolUnix);
  setLexer(lexer_);
  setCaretForegroundColor(Qt::white);
  setSelectionBackgroundColor(QColor(40, 80, 160));
  setSelectionForegroundColor(Qt::white);
  setMarginType(0, NumberMargin);
  setMarginLineNumbers(0, true);
  setMarginsFont(gutterFont());
  setMarginsForegroundColor(Qt::white);
  setMarginsBackgroundColor(QColor(64, 64, 64));
  setMarginWidth(1, 0);
  setMarginWidth(2, 0);
  SendScintilla(SCI_SETMARGINLEFT, 0UL, 0L);
  // No permanent horizontal scroll bar: it appears only for lines wider than the window.
  SendScintilla(SCI_SETSCROLLWIDTH, 1UL, 0L);
  SendScintilla(SCI_SETSCROLLWIDTHTRACKING, 1UL, 0L);
  fitGutter();
  connect(this, &QsciScintilla::linesChanged, this, &SourceEditor::fitGutter);
  connect(this, &QsciScintilla::textChanged, this, [this] {
    if (!replacing_) emit userEdited();
  });
}

void SourceEditor::fitGutter() {
  // At least the design's 15 pixels, wider when the line numbers need it.
  int digits = static_cast<int>(std::to_string(std::max(1, lines())).size());
  if (digits == gutterDigits_) return;
  gutterDigits_ = digits;
  int width = QFontMetrics(gutterFont()).horizontalAdvance(QString(digits, '9')) + 4;
  setMarginWidth(0, std::max(kGutterMinWidth, width));
}

void SourceEditor::replaceLines(const std::vector<std::string>& lines) {
  std::string text = joinLf(lines);
  replacing_ = true;
  SendScintilla(SCI_BEGINUNDOACTION);
  SendScintilla(SCI_CLEARALL);
  SendScintilla(SCI_APPENDTEXT, static_cast<uintptr_t>(text.size()), text.data());
  SendScintilla(SCI_ENDUNDOACTION);
  SendScintilla(SCI_GOTOPOS, 0UL);
  replacing_ = false;
  fitGutter();
}

void SourceEditor::loadLines(const std::vector<std::string>& lines) {
  replaceLines(lines);
  SendScintilla(SCI_EMPTYUNDOBUFFER);
  SendScintilla(SCI_SETSAVEPOINT);
}

std::string SourceEditor::bytes() const {
  long length = SendScintilla(SCI_GETLENGTH);
  auto* text = static_cast<const char*>(SendScintillaPtrResult(SCI_GETCHARACTERPOINTER));
  if (!text || length <= 0) return {};
  return std::string(text, static_cast<size_t>(length));
}

void SourceEditor::selectInCrLfText(const std::vector<std::string>& lines, int start, int length) {
  // Turns an offset in the CR LF text into a document position (documents here use LF).
  auto position = [&](long offset) {
    long lineStart = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
      long len = static_cast<long>(lines[i].size());
      if (offset < lineStart + len + 2) {
        long column = std::min(offset - lineStart, len);
        return SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(i)) + column;
      }
      lineStart += len + 2;
    }
    return SendScintilla(SCI_GETLENGTH);
  };
  long from = position(std::max(0, start));
  long to = position(static_cast<long>(std::max(0, start)) + std::max(0, length));
  SendScintilla(SCI_SETSEL, static_cast<unsigned long>(from), to);
  SendScintilla(SCI_SCROLLCARET);
}

}  // namespace trel::gui
