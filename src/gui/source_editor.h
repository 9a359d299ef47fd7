// The source editor control (highlvl): QScintilla with our lexer and the main window's editor
// settings. Its text is bytes: they go into the document and come out again unchanged, whatever
// they hold (invalid UTF-8 and zero bytes included), and are shown as UTF-8.
#pragma once

#include <Qsci/qsciscintilla.h>

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

  // Selects `length` characters from `start` of the lines' text in which every line is followed
  // by CR LF (a line break counts two), and scrolls the selection into view.
  void selectInCrLfText(const std::vector<std::string>& lines, int start, int length);

 signals:
  // The user changed the text (typing, paste, undo); not emitted for replaceLines/loadLines.
  void userEdited();

 private:
  void fitGutter();

  QnLexer* lexer_;
  bool replacing_ = false;
  int gutterDigits_ = 0;
};

}  // namespace trel::gui
