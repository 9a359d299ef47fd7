#include "gui/qn_lexer.h"

#include <Qsci/qsciscintilla.h>

#include <string_view>
#include <vector>

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
  // Positions are byte offsets; lexing always begins at the start of a line, and each line is
  // coloured on its own.
  long firstLine = ed->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, start);
  long lastLine = ed->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, end - 1);
  long lineStart = ed->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, firstLine);

  startStyling(static_cast<int>(lineStart));
  std::vector<SyntaxSpan> spans;
  for (long line = firstLine; line <= lastLine; ++line) {
    long from = ed->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, line);
    long to = ed->SendScintilla(QsciScintillaBase::SCI_GETLINEENDPOSITION, line);
    long next = ed->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, line + 1);
    if (next < to) next = to;  // the last line has no break
    spans.clear();
    // A pointer into the document for just this line; the gap buffer only moves when it lies
    // inside the line.
    auto* text = reinterpret_cast<const char*>(ed->SendScintilla(
        QsciScintillaBase::SCI_GETRANGEPOINTER, static_cast<unsigned long>(from), to - from));
    std::string_view bytes = text ? std::string_view(text, static_cast<size_t>(to - from)) : "";
    scanLine(bytes, spans);
    for (const SyntaxSpan& s : spans)
      setStyling(static_cast<int>(s.length), static_cast<int>(s.style));
    if (next > to) setStyling(static_cast<int>(next - to), static_cast<int>(SyntaxStyle::Blank));
  }
}

}  // namespace trel::gui
