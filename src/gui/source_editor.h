// The source editor control (highlvl): QScintilla with our lexer and the main window's editor
// settings. Its text is bytes: they go into the document and come out again unchanged, whatever
// they hold (invalid UTF-8 and zero bytes included), and are shown as UTF-8.
#pragma once

#include <Qsci/qsciscintilla.h>

#include <set>
#include <string>
#include <vector>

#include "gui/qn_lexer.h"

namespace trel::gui {

class SourceEditor : public QsciScintilla {
  Q_OBJECT
 public:
  explicit SourceEditor(QWidget* parent = nullptr);

  QnLexer& qnLexer() { return *lexer_; }

  // Replaces the whole text by the lines, joined with line feeds, as one undoable step (so New
  // and Open can be taken back with Undo). Emits no userEdited().
  void replaceLines(const std::vector<std::string>& lines);
  // The same, and forgets the undo history (the text the IDE starts with).
  void loadLines(const std::vector<std::string>& lines);
  std::string bytes() const;

  // --- marks in the symbol margin and on the lines; they move with the text as it is edited
  // Breakpoints: a red dot; a click in the margin toggles one. Lines from 0.
  void toggleBreakpoint(int line);
  bool hasBreakpoint(int line) const;
  // The lines that hold a breakpoint, counted from 1 (the debugger's numbering).
  std::set<int32_t> breakpointLines() const;
  // An error (margin mark and tinted line) or a warning (margin mark) on a line from 0.
  void markError(int line);
  void markWarning(int line);
  void clearDiagnosticMarks();
  bool hasErrorMark(int line) const;
  bool hasWarningMark(int line) const;
  // The line a paused run is about to run: an arrow and a tinted line; -1 for none.
  void markCurrentLine(int line);
  int currentLine() const;

  // Moves the caret to the start of a line counted from 1, as the gutter counts (clamped to the
  // text), and scrolls it into view.
  void goToLine(int oneBasedLine);
  // Adds "//" at the start of every line the selection touches (the caret's line without one),
  // or removes it when every such line already starts with it; one undoable step.
  void toggleLineComment();

  // Selects `length` characters from `start` of the lines' text in which every line is followed
  // by CR LF (a line break counts two), and scrolls the selection into view.
  void selectInCrLfText(const std::vector<std::string>& lines, int start, int length);

  // Undo and Redo (the Edit menu's, which own Ctrl+Z and Ctrl+Y): a step that makes thousands of
  // changes, such as undoing a Replace all, tells the text's listeners once instead of per change.
  void undo() override;
  void redo() override;

 signals:
  // The user changed the text (typing, paste, undo); not emitted for replaceLines/loadLines.
  void userEdited();
  // A breakpoint was set or removed by a click in the margin or toggleBreakpoint().
  void breakpointsChanged();
  // F1 in the editor: help on the word at the caret.
  void helpRequested();

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void fitGutter();
  void defineMarks();
  bool hasMark(int line, int mark) const;
  // Runs `change` without a notice per change, then sends one.
  template <class F>
  void changeQuietly(F change);

  QnLexer* lexer_;
  bool replacing_ = false;
  bool keyChangedText_ = false;  // a keystroke of a long text changed it (see keyPressEvent)
  // An error or warning mark may be on some line: clearing them walks every line of the text,
  // which every keystroke asks for.
  bool diagnosticMarks_ = false;
  int gutterDigits_ = 0;
};

}  // namespace trel::gui
