// The marks on the editor's lines (breakpoints, diagnostics, the paused run's line), taken down
// and put back. The document moves marks with the text, but a change that removes lines gathers
// their marks on the line before; an edit that rewrites a long stretch of lines at once (Replace
// all, and its Undo) puts them back where they stood.
#pragma once

#include <vector>

class QsciScintilla;

namespace trel::gui {

struct LineMarks {
  long line;  // from 0
  unsigned mask;
  bool operator==(const LineMarks&) const = default;
};

// Every line that holds a mark, top to bottom.
std::vector<LineMarks> marksOf(const QsciScintilla& editor);
// Clears every mark and puts `marks` in their place (lines past the end are left out).
void putMarks(QsciScintilla& editor, const std::vector<LineMarks>& marks);

}  // namespace trel::gui
