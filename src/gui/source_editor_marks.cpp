#include "gui/source_editor_marks.h"

#include <Qsci/qsciscintilla.h>

namespace trel::gui {

namespace {
using Sci = QsciScintillaBase;
constexpr long kEveryMark = -1;  // all 32 bits
}  // namespace

std::vector<LineMarks> marksOf(const QsciScintilla& e) {
  std::vector<LineMarks> marks;
  for (long line = e.SendScintilla(Sci::SCI_MARKERNEXT, 0UL, kEveryMark); line >= 0;
       line =
           e.SendScintilla(Sci::SCI_MARKERNEXT, static_cast<unsigned long>(line + 1), kEveryMark))
    marks.push_back({line, static_cast<unsigned>(e.SendScintilla(
                               Sci::SCI_MARKERGET, static_cast<unsigned long>(line)))});
  return marks;
}

void putMarks(QsciScintilla& e, const std::vector<LineMarks>& marks) {
  e.SendScintilla(Sci::SCI_MARKERDELETEALL, static_cast<unsigned long>(-1), 0L);
  const long lines = e.SendScintilla(Sci::SCI_GETLINECOUNT);
  for (const LineMarks& m : marks)
    if (m.line >= 0 && m.line < lines)
      e.SendScintilla(Sci::SCI_MARKERADDSET, static_cast<unsigned long>(m.line),
                      static_cast<long>(m.mask));
}

}  // namespace trel::gui
