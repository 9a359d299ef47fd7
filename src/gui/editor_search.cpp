#include "gui/editor_search.h"

#include <Qsci/qsciscintilla.h>

namespace trel::gui {

namespace {

// Scintilla's indicators 0 to 7 belong to lexers; ours is well above them.
constexpr int kFindIndicator = 12;

using Sci = QsciScintillaBase;

long send(QsciScintilla& e, unsigned int message, unsigned long w = 0, long l = 0) {
  return e.SendScintilla(message, w, l);
}

int flagsOf(SearchOptions o) {
  return (o.matchCase ? Sci::SCFIND_MATCHCASE : 0) | (o.wholeWord ? Sci::SCFIND_WHOLEWORD : 0);
}

// The first match in [from, to) (to < from searches backwards); -1 when there is none. The
// match is left as the target.
long searchRange(QsciScintilla& e, const QByteArray& needle, SearchOptions o, long from, long to) {
  send(e, Sci::SCI_SETSEARCHFLAGS, static_cast<unsigned long>(flagsOf(o)));
  send(e, Sci::SCI_SETTARGETSTART, static_cast<unsigned long>(from));
  send(e, Sci::SCI_SETTARGETEND, static_cast<unsigned long>(to));
  return e.SendScintilla(Sci::SCI_SEARCHINTARGET, static_cast<unsigned long>(needle.size()),
                         needle.constData());
}

void selectTarget(QsciScintilla& e) {
  long start = send(e, Sci::SCI_GETTARGETSTART);
  long end = send(e, Sci::SCI_GETTARGETEND);
  send(e, Sci::SCI_SETSEL, static_cast<unsigned long>(start), end);
  send(e, Sci::SCI_SCROLLRANGE, static_cast<unsigned long>(end), start);
}

bool selectionMatches(QsciScintilla& e, const QByteArray& needle, SearchOptions o) {
  long start = send(e, Sci::SCI_GETSELECTIONSTART);
  long end = send(e, Sci::SCI_GETSELECTIONEND);
  if (end - start <= 0) return false;
  return searchRange(e, needle, o, start, end) == start && send(e, Sci::SCI_GETTARGETEND) == end;
}

}  // namespace

bool findMatch(QsciScintilla& e, const QByteArray& needle, SearchOptions o, bool forward) {
  if (needle.isEmpty()) return false;
  const long length = send(e, Sci::SCI_GETLENGTH);
  const long selStart = send(e, Sci::SCI_GETSELECTIONSTART);
  const long selEnd = send(e, Sci::SCI_GETSELECTIONEND);
  long found =
      forward ? searchRange(e, needle, o, selEnd, length) : searchRange(e, needle, o, selStart, 0);
  if (found < 0)  // wrap around
    found = forward ? searchRange(e, needle, o, 0, selEnd)
                    : searchRange(e, needle, o, length, selStart);
  if (found < 0) return false;
  selectTarget(e);
  return true;
}

bool replaceMatch(QsciScintilla& e, const QByteArray& needle, const QByteArray& replacement,
                  SearchOptions o) {
  if (needle.isEmpty()) return false;
  bool replaced = false;
  if (selectionMatches(e, needle, o)) {
    send(e, Sci::SCI_TARGETFROMSELECTION);
    e.SendScintilla(Sci::SCI_REPLACETARGET, static_cast<unsigned long>(replacement.size()),
                    replacement.constData());
    long end = send(e, Sci::SCI_GETTARGETEND);
    send(e, Sci::SCI_SETSEL, static_cast<unsigned long>(end), end);
    replaced = true;
  }
  findMatch(e, needle, o, true);
  return replaced;
}

int replaceAllMatches(QsciScintilla& e, const QByteArray& needle, const QByteArray& replacement,
                      SearchOptions o) {
  if (needle.isEmpty()) return 0;
  int count = 0;
  long from = 0;
  bool began = false;
  // Without change notices while it replaces: each one costs the editor work in proportion to the
  // whole text, which made replacing every line of a long text take quadratic time. One notice
  // follows at the end.
  const long eventMask = send(e, Sci::SCI_GETMODEVENTMASK);
  send(e, Sci::SCI_SETMODEVENTMASK, 0);
  for (;;) {
    long length = send(e, Sci::SCI_GETLENGTH);
    if (searchRange(e, needle, o, from, length) < 0) break;
    if (!began) {
      send(e, Sci::SCI_BEGINUNDOACTION);
      began = true;
    }
    e.SendScintilla(Sci::SCI_REPLACETARGET, static_cast<unsigned long>(replacement.size()),
                    replacement.constData());
    from = send(e, Sci::SCI_GETTARGETEND);
    ++count;
  }
  if (began) send(e, Sci::SCI_ENDUNDOACTION);
  send(e, Sci::SCI_SETMODEVENTMASK, static_cast<unsigned long>(eventMask));
  if (count > 0) {
    emit e.textChanged();
    emit e.linesChanged();
  }
  return count;
}

int highlightMatches(QsciScintilla& e, const QByteArray& needle, SearchOptions o) {
  clearMatchHighlights(e);
  if (needle.isEmpty()) return 0;
  send(e, Sci::SCI_INDICSETSTYLE, kFindIndicator, Sci::INDIC_ROUNDBOX);
  send(e, Sci::SCI_INDICSETFORE, kFindIndicator, 0x00D0FF);  // BGR: amber
  send(e, Sci::SCI_INDICSETALPHA, kFindIndicator, 90);
  send(e, Sci::SCI_INDICSETUNDER, kFindIndicator, 1);
  send(e, Sci::SCI_SETINDICATORCURRENT, kFindIndicator);
  const long length = send(e, Sci::SCI_GETLENGTH);
  int count = 0;
  long from = 0;
  while (from < length && searchRange(e, needle, o, from, length) >= 0) {
    long start = send(e, Sci::SCI_GETTARGETSTART);
    long end = send(e, Sci::SCI_GETTARGETEND);
    send(e, Sci::SCI_INDICATORFILLRANGE, static_cast<unsigned long>(start), end - start);
    ++count;
    from = end > start ? end : start + 1;
  }
  return count;
}

void clearMatchHighlights(QsciScintilla& e) {
  send(e, Sci::SCI_SETINDICATORCURRENT, kFindIndicator);
  send(e, Sci::SCI_INDICATORCLEARRANGE, 0, send(e, Sci::SCI_GETLENGTH));
}

bool isHighlighted(QsciScintilla& e, long position) {
  return send(e, Sci::SCI_INDICATORVALUEAT, kFindIndicator, position) != 0;
}

}  // namespace trel::gui
