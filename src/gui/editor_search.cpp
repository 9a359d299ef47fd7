#include "gui/editor_search.h"

#include <Qsci/qsciscintilla.h>

#include <algorithm>
#include <span>
#include <string>
#include <vector>

#include "gui/source_editor_marks.h"

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

struct Match {
  long start, end;
};

// Every match, left to right, none overlapping the one before.
std::vector<Match> matchesOf(QsciScintilla& e, const QByteArray& needle, SearchOptions o) {
  std::vector<Match> matches;
  const long length = send(e, Sci::SCI_GETLENGTH);
  long from = 0;
  while (from < length && searchRange(e, needle, o, from, length) >= 0) {
    const Match m{send(e, Sci::SCI_GETTARGETSTART), send(e, Sci::SCI_GETTARGETEND)};
    matches.push_back(m);
    from = m.end > m.start ? m.end : m.start + 1;
  }
  return matches;
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

using MatchSpan = std::span<const Match>;

// Matches at most this many bytes apart are replaced in one change (see replaceAllMatches).
constexpr long kJoinedGap = 256;

// Puts `replacement` in place of each of `matches`, found `shift` bytes before where they stand
// now, by changing the text from the first match's start to the last one's end at once; answers
// how much longer the text became. The new text goes in before the old one goes out: Undo takes
// the two back in the other order and so leaves the caret at the first match, not at the end of
// the stretch.
long replaceStretch(QsciScintilla& e, MatchSpan matches, long shift,
                    const QByteArray& replacement) {
  const long first = matches.front().start + shift;
  const long last = matches.back().end + shift;
  auto* old = reinterpret_cast<const char*>(
      e.SendScintilla(Sci::SCI_GETRANGEPOINTER, static_cast<unsigned long>(first), last - first));
  std::string text;
  text.reserve(static_cast<size_t>(last - first) +
               matches.size() * static_cast<size_t>(replacement.size()));
  long at = first;
  for (const Match& m : matches) {
    text.append(old + (at - first), static_cast<size_t>(m.start + shift - at));
    text.append(replacement.constData(), static_cast<size_t>(replacement.size()));
    at = m.end + shift;
  }
  const long length = static_cast<long>(text.size());
  // An empty target takes the text with its length: it may hold zero bytes.
  send(e, Sci::SCI_SETTARGETSTART, static_cast<unsigned long>(first));
  send(e, Sci::SCI_SETTARGETEND, static_cast<unsigned long>(first));
  e.SendScintilla(Sci::SCI_REPLACETARGET, static_cast<unsigned long>(length), text.data());
  send(e, Sci::SCI_DELETERANGE, static_cast<unsigned long>(first + length), last - first);
  return length - (last - first);
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
  const std::vector<Match> matches = matchesOf(e, needle, o);
  if (matches.empty()) return 0;
  // Where the caret, the selection's anchor, the top line and every mark go: a position moves by
  // what the matches before it grew or shrank; one inside a match goes to its replacement's start.
  std::vector<long> shiftBefore(matches.size() + 1, 0);
  for (size_t i = 0; i < matches.size(); ++i)
    shiftBefore[i + 1] = shiftBefore[i] + static_cast<long>(replacement.size()) -
                         (matches[i].end - matches[i].start);
  auto moved = [&](long position) {
    auto next = std::upper_bound(matches.begin(), matches.end(), position,
                                 [](long p, const Match& m) { return p < m.end; });
    const long shift = shiftBefore[static_cast<size_t>(next - matches.begin())];
    if (next != matches.end() && next->start < position) return next->start + shift;
    return position + shift;
  };
  auto lineStart = [&](long line) {
    return send(e, Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
  };
  const long caret = send(e, Sci::SCI_GETCURRENTPOS);
  const long anchor = send(e, Sci::SCI_GETANCHOR);
  const long top = lineStart(send(e, Sci::SCI_GETFIRSTVISIBLELINE));
  const long xOffset = send(e, Sci::SCI_GETXOFFSET);
  std::vector<LineMarks> marks = marksOf(e);
  std::vector<long> markedLineStarts;
  for (const LineMarks& m : marks) markedLineStarts.push_back(lineStart(m.line));

  // Without change notices while it replaces: the editor's listeners hear of it once, at the end.
  const long eventMask = send(e, Sci::SCI_GETMODEVENTMASK);
  send(e, Sci::SCI_SETMODEVENTMASK, 0);
  send(e, Sci::SCI_BEGINUNDOACTION);
  // Matches close together are written anew as one stretch: a change per match costs the
  // document and its undo history a fixed amount each, which for a match on every line of a long
  // text came to far more than rewriting the lines between them.
  const MatchSpan all(matches.data(), matches.size());
  long shift = 0;
  for (size_t begin = 0, end = 0; begin < all.size(); begin = end) {
    end = begin + 1;
    while (end < all.size() && all[end].start - all[end - 1].end <= kJoinedGap) ++end;
    shift += replaceStretch(e, all.subspan(begin, end - begin), shift, replacement);
  }
  send(e, Sci::SCI_ENDUNDOACTION);
  send(e, Sci::SCI_SETMODEVENTMASK, static_cast<unsigned long>(eventMask));
  auto lineOf = [&](long position) {
    return send(e, Sci::SCI_LINEFROMPOSITION, static_cast<unsigned long>(moved(position)));
  };
  for (size_t i = 0; i < marks.size(); ++i) marks[i].line = lineOf(markedLineStarts[i]);
  if (marksOf(e) != marks) putMarks(e, marks);
  send(e, Sci::SCI_SETCURRENTPOS, static_cast<unsigned long>(moved(caret)));
  send(e, Sci::SCI_SETANCHOR, static_cast<unsigned long>(moved(anchor)));
  send(e, Sci::SCI_SETFIRSTVISIBLELINE, static_cast<unsigned long>(lineOf(top)));
  send(e, Sci::SCI_SETXOFFSET, static_cast<unsigned long>(xOffset));
  emit e.textChanged();
  emit e.linesChanged();
  return static_cast<int>(matches.size());
}

int highlightMatches(QsciScintilla& e, const QByteArray& needle, SearchOptions o) {
  clearMatchHighlights(e);
  if (needle.isEmpty()) return 0;
  send(e, Sci::SCI_INDICSETSTYLE, kFindIndicator, Sci::INDIC_ROUNDBOX);
  send(e, Sci::SCI_INDICSETFORE, kFindIndicator, 0x00D0FF);  // BGR: amber
  send(e, Sci::SCI_INDICSETALPHA, kFindIndicator, 90);
  send(e, Sci::SCI_INDICSETUNDER, kFindIndicator, 1);
  send(e, Sci::SCI_SETINDICATORCURRENT, kFindIndicator);
  const std::vector<Match> matches = matchesOf(e, needle, o);
  for (const Match& m : matches)
    send(e, Sci::SCI_INDICATORFILLRANGE, static_cast<unsigned long>(m.start), m.end - m.start);
  return static_cast<int>(matches.size());
}

void clearMatchHighlights(QsciScintilla& e) {
  send(e, Sci::SCI_SETINDICATORCURRENT, kFindIndicator);
  send(e, Sci::SCI_INDICATORCLEARRANGE, 0, send(e, Sci::SCI_GETLENGTH));
}

bool isHighlighted(QsciScintilla& e, long position) {
  return send(e, Sci::SCI_INDICATORVALUEAT, kFindIndicator, position) != 0;
}

}  // namespace trel::gui
