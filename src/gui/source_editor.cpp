#include "gui/source_editor.h"

#include <algorithm>
#include <iterator>

#include <QKeyEvent>

#include <Qsci/qscicommand.h>
#include <Qsci/qscicommandset.h>

#include "gui/editor_accessibility.h"
#include "gui/fonts.h"
#include "gui/source_editor_marks.h"

namespace trel::gui {

namespace {

constexpr int kGutterMinWidth = 15;
constexpr int kSymbolMargin = 1;
constexpr int kSymbolMarginWidth = 14;

// The editor's markers; a higher number is drawn over a lower one.
enum Mark : int {
  kErrorLine,    // tint of an error's line
  kCurrentLine,  // tint of the line a paused run is about to run
  kWarning,
  kError,
  kBreakpoint,
  kCurrent,
  kMarkCount
};

struct MarkStyle {
  Mark mark;
  QsciScintilla::MarkerSymbol symbol;
  QRgb foreground;
  QRgb background;
};

constexpr MarkStyle kMarkStyles[] = {
    {kErrorLine, QsciScintilla::Background, qRgb(110, 24, 24), qRgb(110, 24, 24)},
    {kCurrentLine, QsciScintilla::Background, qRgb(84, 76, 16), qRgb(84, 76, 16)},
    {kWarning, QsciScintilla::Rectangle, qRgb(120, 80, 0), qRgb(255, 190, 40)},
    {kError, QsciScintilla::Rectangle, qRgb(120, 0, 0), qRgb(235, 50, 50)},
    {kBreakpoint, QsciScintilla::Circle, qRgb(140, 0, 0), qRgb(220, 30, 30)},
    {kCurrent, QsciScintilla::RightArrow, qRgb(90, 70, 0), qRgb(255, 220, 40)},
};

constexpr bool inMarkOrder() {
  for (size_t i = 0; i < std::size(kMarkStyles); ++i)
    if (kMarkStyles[i].mark != static_cast<int>(i)) return false;
  return std::size(kMarkStyles) == kMarkCount;
}
static_assert(inMarkOrder(), "one style per mark, in the marks' order");

constexpr int kSymbolMarks = (1 << kWarning) | (1 << kError) | (1 << kBreakpoint) | (1 << kCurrent);

// From this length on, a keystroke's change reaches the text's listeners without the editor's own
// notice per change: with that notice the editor's accessibility support counts the characters
// from the start of the text to the change, about 10 ns a byte, on every keystroke.
constexpr long kQuietKeysLength = 1L << 16;

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
  holdBackEditorAccessibilityWhileInactive(staticMetaObject);
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
  setMarginWidth(2, 0);
  // Comforts: Enter keeps the previous line's indentation, the bracket pair at the caret lights
  // up, and the caret's line is a shade lighter than the rest.
  setAutoIndent(true);
  setBraceMatching(SloppyBraceMatch);
  setMatchedBraceBackgroundColor(QColor(60, 90, 60));
  setMatchedBraceForegroundColor(Qt::white);
  setUnmatchedBraceForegroundColor(QColor(255, 80, 80));
  setCaretLineVisible(true);
  setCaretLineBackgroundColor(QColor(34, 34, 34));
  setWhitespaceForegroundColor(QColor(90, 90, 90));
  defineMarks();
  // Esc belongs to the window's Stop command; the editor would otherwise claim it.
  if (QsciCommand* cancel = standardCommands()->boundTo(Qt::Key_Escape)) cancel->setKey(0);
  // Undo and Redo keys belong to the Edit menu, whose commands end here in undo() and redo().
  for (int key : {(Qt::CTRL | Qt::Key_Z).toCombined(), (Qt::CTRL | Qt::Key_Y).toCombined(),
                  (Qt::CTRL | Qt::SHIFT | Qt::Key_Z).toCombined()})
    if (QsciCommand* command = standardCommands()->boundTo(key)) {
      if (command->key() == key) command->setKey(0);
      if (command->alternateKey() == key) command->setAlternateKey(0);
    }
  SendScintilla(SCI_SETMARGINLEFT, 0UL, 0L);
  // No permanent horizontal scroll bar: it appears only for lines wider than the window.
  SendScintilla(SCI_SETSCROLLWIDTH, 1UL, 0L);
  SendScintilla(SCI_SETSCROLLWIDTHTRACKING, 1UL, 0L);
  fitGutter();
  connect(this, &QsciScintilla::linesChanged, this, &SourceEditor::fitGutter);
  connect(this, &QsciScintilla::textChanged, this, [this] {
    if (!replacing_) emit userEdited();
  });
  connect(this, &QsciScintillaBase::SCN_MODIFIED, this, [this](int, int type) {
    if (type & (SC_MOD_BEFOREINSERT | SC_MOD_BEFOREDELETE)) keyChangedText_ = true;
  });
}

template <class F>
void SourceEditor::changeQuietly(F change) {
  // Each change notice costs the editor work in proportion to the whole text; thousands of them
  // in one step made undoing a Replace all of a long text take quadratic time.
  const long mask = SendScintilla(SCI_GETMODEVENTMASK);
  SendScintilla(SCI_SETMODEVENTMASK, 0UL);
  // A step that rewrites a stretch of lines (such as a Replace all) gathers the stretch's marks on
  // its first line; when it leaves as many lines as there were, every mark keeps its line.
  const int lineCount = lines();
  const std::vector<LineMarks> marks = marksOf(*this);
  change();
  if (lines() == lineCount && marksOf(*this) != marks) putMarks(*this, marks);
  SendScintilla(SCI_SETMODEVENTMASK, static_cast<unsigned long>(mask));
  emit textChanged();
  emit linesChanged();
}

void SourceEditor::undo() {
  changeQuietly([this] { QsciScintilla::undo(); });
}

void SourceEditor::redo() {
  changeQuietly([this] { QsciScintilla::redo(); });
}

void SourceEditor::defineMarks() {
  for (const MarkStyle& style : kMarkStyles) {
    markerDefine(style.symbol, style.mark);
    setMarkerForegroundColor(QColor(style.foreground), style.mark);
    setMarkerBackgroundColor(QColor(style.background), style.mark);
  }
  setMarginType(kSymbolMargin, SymbolMarginColor);
  setMarginBackgroundColor(kSymbolMargin, QColor(48, 48, 48));
  setMarginWidth(kSymbolMargin, kSymbolMarginWidth);
  setMarginMarkerMask(kSymbolMargin, kSymbolMarks);
  setMarginMarkerMask(0, 0);
  setMarginSensitivity(0, true);
  setMarginSensitivity(kSymbolMargin, true);
  connect(this, &QsciScintilla::marginClicked, this,
          [this](int, int line, Qt::KeyboardModifiers) { toggleBreakpoint(line); });
}

bool SourceEditor::hasMark(int line, int mark) const {
  return line >= 0 && (markersAtLine(line) & (1u << mark)) != 0;
}

void SourceEditor::toggleBreakpoint(int line) {
  if (line < 0 || line >= lines()) return;
  if (hasMark(line, kBreakpoint))
    markerDelete(line, kBreakpoint);
  else
    markerAdd(line, kBreakpoint);
  emit breakpointsChanged();
}

bool SourceEditor::hasBreakpoint(int line) const {
  return hasMark(line, kBreakpoint);
}

std::set<int32_t> SourceEditor::breakpointLines() const {
  std::set<int32_t> result;
  for (int line = markerFindNext(0, 1u << kBreakpoint); line >= 0;
       line = markerFindNext(line + 1, 1u << kBreakpoint))
    result.insert(line + 1);
  return result;
}

void SourceEditor::markError(int line) {
  if (line < 0 || line >= lines()) return;
  markerAdd(line, kError);
  markerAdd(line, kErrorLine);
  diagnosticMarks_ = true;
}

void SourceEditor::markWarning(int line) {
  if (line < 0 || line >= lines()) return;
  markerAdd(line, kWarning);
  diagnosticMarks_ = true;
}

void SourceEditor::clearDiagnosticMarks() {
  if (!diagnosticMarks_) return;
  diagnosticMarks_ = false;
  for (int mark : {kError, kErrorLine, kWarning}) markerDeleteAll(mark);
}

bool SourceEditor::hasErrorMark(int line) const {
  return hasMark(line, kError);
}

bool SourceEditor::hasWarningMark(int line) const {
  return hasMark(line, kWarning);
}

void SourceEditor::markCurrentLine(int line) {
  markerDeleteAll(kCurrent);
  markerDeleteAll(kCurrentLine);
  if (line < 0 || line >= lines()) return;
  markerAdd(line, kCurrent);
  markerAdd(line, kCurrentLine);
  ensureLineVisible(line);
}

int SourceEditor::currentLine() const {
  return markerFindNext(0, 1u << kCurrent);
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
  // A new text: marks of the old one would all gather on the first line.
  markerDeleteAll();
  diagnosticMarks_ = false;
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

bool SourceEditor::event(QEvent* event) {
  // F1 here is help on the caret's word, not the window's Help command.
  if (event->type() == QEvent::ShortcutOverride &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1 &&
      static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier) {
    event->accept();
    return true;
  }
  return QsciScintilla::event(event);
}

void SourceEditor::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
    emit helpRequested();
    return;
  }
  if (SendScintilla(SCI_GETLENGTH) < kQuietKeysLength) {
    QsciScintilla::keyPressEvent(event);
    return;
  }
  // Only the notices that come before a change, which cost nothing; one textChanged after it.
  const long lineCount = SendScintilla(SCI_GETLINECOUNT);
  const long mask = SendScintilla(SCI_GETMODEVENTMASK);
  SendScintilla(SCI_SETMODEVENTMASK,
                static_cast<unsigned long>(SC_MOD_BEFOREINSERT | SC_MOD_BEFOREDELETE));
  keyChangedText_ = false;
  QsciScintilla::keyPressEvent(event);
  SendScintilla(SCI_SETMODEVENTMASK, static_cast<unsigned long>(mask));
  if (!keyChangedText_) return;
  emit textChanged();
  if (SendScintilla(SCI_GETLINECOUNT) != lineCount) emit linesChanged();
}

void SourceEditor::goToLine(int oneBasedLine) {
  int line = std::clamp(oneBasedLine, 1, std::max(1, lines())) - 1;
  setCursorPosition(line, 0);
  ensureLineVisible(line);
  setFocus();
}

void SourceEditor::toggleLineComment() {
  // Straight from the document: QsciScintilla's own selection state follows only after a repaint.
  const long selStart = SendScintilla(SCI_GETSELECTIONSTART);
  const long selEnd = SendScintilla(SCI_GETSELECTIONEND);
  const bool selected = selEnd > selStart;
  const int fromLine = static_cast<int>(SendScintilla(SCI_LINEFROMPOSITION, selStart));
  int toLine = static_cast<int>(SendScintilla(SCI_LINEFROMPOSITION, selEnd));
  // A selection that ends at the start of a line does not take that line in.
  if (selected && toLine > fromLine &&
      SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(toLine)) == selEnd)
    --toLine;
  auto startsWithComment = [this](int line) {
    long start = SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
    long end = SendScintilla(SCI_GETLINEENDPOSITION, static_cast<unsigned long>(line));
    return end - start >= 2 &&
           SendScintilla(SCI_GETCHARAT, static_cast<unsigned long>(start)) == '/' &&
           SendScintilla(SCI_GETCHARAT, static_cast<unsigned long>(start + 1)) == '/';
  };
  bool remove = true;
  for (int line = fromLine; line <= toLine && remove; ++line) remove = startsWithComment(line);
  SendScintilla(SCI_BEGINUNDOACTION);
  for (int line = fromLine; line <= toLine; ++line) {
    long start = SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
    if (remove) {
      SendScintilla(SCI_DELETERANGE, static_cast<unsigned long>(start), 2L);
    } else {
      SendScintilla(SCI_INSERTTEXT, static_cast<unsigned long>(start), "//");
    }
  }
  SendScintilla(SCI_ENDUNDOACTION);
  // The lines stay selected whole, so the command can be given again to take it back.
  if (selected) {
    long end = SendScintilla(SCI_GETLINEENDPOSITION, static_cast<unsigned long>(toLine));
    long start = SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(fromLine));
    SendScintilla(SCI_SETSEL, static_cast<unsigned long>(start), end);
  }
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
