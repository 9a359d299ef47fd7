// The editor's colouring rules, one character's style per letter:
// K keyword, I identifier, N number, S string, C comment, P preprocessor, . blank, y symbol.
#include <QTest>

#include "gui/syntax_scanner.h"
#include "gui_test_support.h"

using trel::gui::LineState;
using trel::gui::scanLine;
using trel::gui::SyntaxSpan;
using trel::gui::SyntaxStyle;

namespace {

QString styles(std::string_view line, LineState in = LineState::Normal, LineState* out = nullptr) {
  std::vector<SyntaxSpan> spans;
  LineState end = scanLine(line, in, spans);
  if (out) *out = end;
  std::string s;
  size_t covered = 0;
  for (const SyntaxSpan& span : spans) {
    if (span.start != covered) return QString("gap at %1").arg(span.start);
    covered += span.length;
    const char* letters = "-CKINSP.y";
    s.append(span.length, letters[static_cast<int>(span.style)]);
  }
  if (covered != line.size()) return "not covered";
  return QString::fromStdString(s);
}

}  // namespace

class SyntaxScannerTest : public QObject {
  Q_OBJECT
 private slots:
  void keywordsMatchWithoutRegardToCase() {
    QCOMPARE(styles("CALL ::main"), QString("KKKK.KKIIII"));
    QCOMPARE(styles("call ::main"), QString("KKKK.KKIIII"));
    QCOMPARE(styles("VAR x"), QString("KKK.I"));
    QCOMPARE(styles("variable"), QString("IIIIIIII"));  // no keyword inside a longer word
    QCOMPARE(styles("x:=RG0+1"), QString("IKKKKNKN"));
    QCOMPARE(styles("IF END"), QString("KKKKKK"));
    QCOMPARE(styles("if (x > 1)"), QString("KKKyI.K.Ny"));
    QCOMPARE(styles("DEF (ENTRY)"), QString("KKKKKKKKKKK"));
    QCOMPARE(styles("##5"), QString("KKN"));
    QCOMPARE(trel::gui::syntaxKeywords().size(), size_t(43));
  }

  void commentsRunToTheEndOfTheLine() {
    QCOMPARE(styles("x:=1 // note"), QString("IKKN.CCCCCCC"));
    QCOMPARE(styles("a; b"), QString("ICCC"));  // ";" starts a comment too
    QCOMPARE(styles("#define x"), QString("PPPPPPPPP"));
    QCOMPARE(styles("say \"a;b\""), QString("III.SSSSS"));
    QCOMPARE(styles("\"open"), QString("SSSSS"));
  }

  void blockCommentsSpanLines() {
    LineState state;
    QCOMPARE(styles("x (* a", LineState::Normal, &state), QString("I.CCCC"));
    QCOMPARE(int(state), int(LineState::ParenComment));
    QCOMPARE(styles("b *) y", state, &state), QString("CCCC.I"));
    QCOMPARE(int(state), int(LineState::Normal));
    QCOMPARE(styles("{ one } two"), QString("CCCCCCC.III"));
    QCOMPARE(styles("/* a", LineState::Normal, &state), QString("CCCC"));
    QCOMPARE(int(state), int(LineState::SlashComment));
    QCOMPARE(styles("} still", LineState::SlashComment, &state), QString("CCCCCCC"));
  }

  void anyBytesAreCovered() {
    std::string bytes("\x00\xff\xc3(\x01 z", 7);
    QCOMPARE(styles(bytes), QString(".IIy..I"));
    QCOMPARE(styles(""), QString(""));
  }
};

TREL_GUI_TEST(SyntaxScannerTest);
#include "syntax_scanner_test.moc"
