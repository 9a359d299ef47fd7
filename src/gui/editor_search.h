// Find and replace in the source editor's document, by bytes of UTF-8 text. Every search wraps
// around the document's end; a replacement of all matches is one undoable step.
#pragma once

#include <QByteArray>

class QsciScintilla;

namespace trel::gui {

struct SearchOptions {
  bool matchCase = false;
  bool wholeWord = false;
};

// Selects the next match after the selection (forward) or before it, wrapping around; answers
// false, leaving the selection alone, when the text holds none.
bool findMatch(QsciScintilla& editor, const QByteArray& needle, SearchOptions options,
               bool forward);
// When the selection is a match, puts `replacement` in its place; then selects the next match.
// Answers whether it replaced.
bool replaceMatch(QsciScintilla& editor, const QByteArray& needle, const QByteArray& replacement,
                  SearchOptions options);
// Replaces every match as one undoable step; answers how many.
int replaceAllMatches(QsciScintilla& editor, const QByteArray& needle,
                      const QByteArray& replacement, SearchOptions options);
// Marks every match with the find indicator (clearing the old marks); answers how many.
int highlightMatches(QsciScintilla& editor, const QByteArray& needle, SearchOptions options);
void clearMatchHighlights(QsciScintilla& editor);
// Whether the find indicator marks the byte at `position`.
bool isHighlighted(QsciScintilla& editor, long position);

}  // namespace trel::gui
