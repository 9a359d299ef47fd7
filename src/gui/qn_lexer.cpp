#include "gui/qn_lexer.h"

#include <Qsci/qsciscintilla.h>

#include <algorithm>
#include <cstddef>
#include <string_view>

#include "editor/syntax_scanner.h"
#include "gui/fonts.h"

namespace trel::gui {

namespace {

struct StyleLook {
  const char* name;
  QColor colour;
  bool bold, italic;
};

// Indexed by SyntaxStyle. The keyword entry's colour is the lexer's own (keywordColour_).
const StyleLook kLooks[kSyntaxStyleCount] = {
    {"Default", Qt::white, false, false},
    {"Comment", Qt::red, false, false},
    {"Keyword", Qt::yellow, true, false},
    {"Identifier", Qt::white, false, false},
    {"Number", Qt::gray, true, false},
    {"String", QColor(128, 224, 255), false, false},
    {"Preprocessor", QColor(0, 200, 120), false, false},
    {"Blank", QColor(128, 0, 0), false, false},
    {"Symbol", Qt::white, false, true},
};

bool validStyle(int style) {
  return style >= 0 && style < kSyntaxStyleCount;
}

}  // namespace

QnLexer::QnLexer(QObject* parent) : QsciLexerCustom(parent) {}

QString QnLexer::description(int style) const {
  return validStyle(style) ? QString::fromLatin1(kLooks[style].name) : QString();
}

QColor QnLexer::defaultColor(int style) const {
  if (style == static_cast<int>(SyntaxStyle::Keyword)) return keywordColour_;
  return validStyle(style) ? kLooks[style].colour : QColor(Qt::white);
}

QColor QnLexer::defaultPaper(int) const {
  return Qt::black;
}

QFont QnLexer::defaultFont(int style) const {
  QFont font = gui::editorFont();
  if (validStyle(style)) {
    font.setBold(kLooks[style].bold);
    font.setItalic(kLooks[style].italic);
  }
  return font;
}

void QnLexer::setKeywordColour(const QColor& colour) {
  keywordColour_ = colour;
  setColor(colour, static_cast<int>(SyntaxStyle::Keyword));
}

void QnLexer::styleText(int start, int end) {
  QsciScintilla* ed = editor();
  if (!ed || start >= end) return;
  // Positions are byte offsets; lexing always begins at the start of a line, each line is
  // coloured on its own, and the range ends with the line break of the line that holds end - 1.
  using Sci = QsciScintillaBase;
  const long firstLine = ed->SendScintilla(Sci::SCI_LINEFROMPOSITION, start);
  const long lastLine = ed->SendScintilla(Sci::SCI_LINEFROMPOSITION, end - 1);
  const long from = ed->SendScintilla(Sci::SCI_POSITIONFROMLINE, firstLine);
  const long to =
      std::max(static_cast<long>(end), ed->SendScintilla(Sci::SCI_POSITIONFROMLINE, lastLine + 1));
  if (to <= from) return;
  // The styles of the whole range go to the editor in one call: a call per span made jumping to
  // the end of a long text (which colours all of it) take a third of a second.
  const auto length = static_cast<size_t>(to - from);
  auto* text = reinterpret_cast<const char*>(
      ed->SendScintilla(Sci::SCI_GETRANGEPOINTER, static_cast<unsigned long>(from), to - from));
  if (!text) return;
  styles_.assign(length, static_cast<char>(SyntaxStyle::Blank));
  size_t lineStart = 0;
  while (lineStart < length) {
    // A line ends at LF, CR LF or a lone CR, as the editor counts lines.
    size_t lineEnd = lineStart;
    while (lineEnd < length && text[lineEnd] != '\n' && text[lineEnd] != '\r') ++lineEnd;
    spans_.clear();
    scanLine(std::string_view(text + lineStart, lineEnd - lineStart), spans_);
    for (const SyntaxSpan& span : spans_) {
      const size_t spanStart = lineStart + span.start;
      const size_t spanEnd = std::min(lineEnd, spanStart + span.length);
      if (spanStart < spanEnd)
        std::fill(styles_.begin() + static_cast<std::ptrdiff_t>(spanStart),
                  styles_.begin() + static_cast<std::ptrdiff_t>(spanEnd),
                  static_cast<char>(span.style));
    }
    // The line break keeps the Blank style it was given.
    lineStart = lineEnd;
    if (lineStart < length && text[lineStart] == '\r') ++lineStart;
    if (lineStart < length && text[lineStart] == '\n') ++lineStart;
  }
  startStyling(static_cast<int>(from));
  ed->SendScintilla(Sci::SCI_SETSTYLINGEX, static_cast<unsigned long>(length), styles_.data());
}

}  // namespace trel::gui
