// The main window's size and parts, its menu commands, the editor's settings, typing, the function
// list.
#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QSet>
#include <QTest>

#include "editor/syntax_scanner.h"
#include "gui_test_support.h"
#include "rtl/text.h"

using trel::gui::MainCommand;
using trel::guitest::Ide;
using trel::guitest::serve;

namespace {

QRect geometryOf(QWidget& top, const char* name) {
  auto* w = top.findChild<QWidget*>(QString::fromLatin1(name));
  return w ? w->geometry() : QRect();
}

QString textOf(QWidget& top, const char* name) {
  if (auto* l = top.findChild<QLabel*>(QString::fromLatin1(name))) return l->text();
  if (auto* b = top.findChild<QAbstractButton*>(QString::fromLatin1(name))) return b->text();
  return {};
}

// Where a control lies in the window's client area.
QRect placeOf(QMainWindow& top, const char* name) {
  auto* w = top.findChild<QWidget*>(QString::fromLatin1(name));
  return w ? QRect(w->mapTo(top.centralWidget(), QPoint(0, 0)), w->size()) : QRect();
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void theWindowKeepsItsSizeAndItsPartsApart() {
    Ide ide;
    auto& w = ide.main();
    QCOMPARE(w.windowTitle(), QString("Trel"));
    QCOMPARE(w.centralWidget()->size(), QSize(801, 609));
    QCOMPARE(w.size(), w.defaultSize());
    // The editor above the assembly log, where the layout puts them; the function list and the
    // "Only translate" box beside them. None covers another, and all lie inside the window.
    QCOMPARE(geometryOf(w, "highlvl"), QRect(8, 16, 633, 465));
    QCOMPARE(geometryOf(w, "debug"), QRect(8, 512, 641, 89));
    const QRect parts[] = {placeOf(w, "highlvl"), placeOf(w, "debug"), placeOf(w, "explorer"),
                           placeOf(w, "CheckBox1")};
    for (const QRect& a : parts) {
      QVERIFY(w.centralWidget()->rect().contains(a));
      for (const QRect& b : parts) QVERIFY(&a == &b || !a.intersects(b));
    }
    QVERIFY(geometryOf(w, "Label6").x() >= geometryOf(w, "Label5").right());
    QCOMPARE(QStringList({textOf(w, "Label5"), textOf(w, "CheckBox1"), textOf(w, "Label1")}),
             QStringList({"Current execution point:", "Only translate", "Assembly log:"}));
    QVERIFY(w.debugView().isVisible() && w.explorer().isVisible());
    for (QGroupBox* group : w.findChildren<QGroupBox*>())
      if (group->title() == "Options" || group->title() == "Icon") QVERIFY(!group->isVisible());
  }

  void everyCommandHasAMenuItemThatAsksForIt() {
    trel::AssemblyLog log;
    trel::gui::MainWindow w(log);
    std::vector<MainCommand> asked;
    QObject::connect(&w, &trel::gui::MainWindow::commandRequested,
                     [&](MainCommand c) { asked.push_back(c); });
    QSet<QString> captions;
    const int count = int(MainCommand::Help) + 1;
    for (int c = 0; c < count; ++c) {
      QAction* item = w.action(MainCommand(c));
      QVERIFY(item);
      captions.insert(item->text());
      item->trigger();
      QCOMPARE(asked.size(), size_t(c + 1));
      QVERIFY(asked.back() == MainCommand(c));
    }
    QCOMPARE(captions.size(), count);  // no two items read alike
    QCOMPARE(w.action(MainCommand::Run)->shortcut(), QKeySequence(Qt::Key_F9));
  }

  void editorSettingsAndColours() {
    Ide ide("CALL ::f // note\nx:=12 (* c *)");
    auto& ed = ide.main().editor();
    QCOMPARE(ed.qnLexer().keywordColour(), QColor(255, 102, 0));  // set at start-up
    QCOMPARE(ed.qnLexer().defaultPaper(0), QColor(Qt::black));
    QCOMPARE(ed.qnLexer().defaultColor(int(trel::SyntaxStyle::Identifier)), QColor(Qt::white));
    QFont font = ed.qnLexer().defaultFont(0);
    QCOMPARE(font.pointSizeF(), 9.75);  // 13 pixels
    QVERIFY(font.fixedPitch());
    QVERIFY(ed.qnLexer().defaultFont(int(trel::SyntaxStyle::Number)).bold());
    QVERIFY(ed.qnLexer().defaultFont(int(trel::SyntaxStyle::Symbol)).italic());
    QVERIFY(ed.marginLineNumbers(0));
    QVERIFY(ed.marginWidth(0) >= 15);
    ed.recolor();
    auto styleAt = [&](int pos) {
      return int(
          ed.SendScintilla(QsciScintillaBase::SCI_GETSTYLEAT, static_cast<unsigned long>(pos)));
    };
    // The first line never runs (it holds "//"); the second runs whole, "(* c *)" included.
    QCOMPARE(styleAt(0), int(trel::SyntaxStyle::Comment));
    QCOMPARE(styleAt(7), int(trel::SyntaxStyle::Comment));
    QCOMPARE(styleAt(17), int(trel::SyntaxStyle::Identifier));
    QCOMPARE(styleAt(18), int(trel::SyntaxStyle::Keyword));
    QCOMPARE(styleAt(20), int(trel::SyntaxStyle::Number));
    QCOMPARE(styleAt(23), int(trel::SyntaxStyle::Symbol));   // "(" of "(* c *)"
    QCOMPARE(styleAt(24), int(trel::SyntaxStyle::Keyword));  // "*" multiplies
  }

  void colouringFollowsTheScannerWhateverTheLineBreaks() {
    // Line feeds, CR LF and lone CRs (as a pasted text may hold), a line the scanner cuts into
    // many spans, an empty line and a last line without a break; coloured whole, then again from
    // a line in the middle after an edit there.
    std::vector<std::string> lines = {
        "var x // note", "x:=@FORMULA(sin(1)*2) \"t\" #p", "", "%ECHO x;y", "\tCALL ::f", "HALT"};
    const std::vector<std::string> breaks = {"\n", "\r\n", "\r", "\r\n", "\n", ""};
    trel::gui::SourceEditor ed;
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) text += lines[i] + breaks[i];
    ed.SendScintilla(QsciScintillaBase::SCI_APPENDTEXT, static_cast<unsigned long>(text.size()),
                     text.data());
    auto expectScannerStyles = [&] {
      size_t pos = 0;
      for (size_t i = 0; i < lines.size(); ++i) {
        std::vector<trel::SyntaxSpan> spans;
        trel::scanLine(lines[i], spans);
        std::string want(lines[i].size() + breaks[i].size(), char(trel::SyntaxStyle::Blank));
        for (const trel::SyntaxSpan& span : spans)
          std::fill_n(want.begin() + long(span.start), span.length, char(span.style));
        for (size_t k = 0; k < want.size(); ++k)
          QCOMPARE(int(ed.SendScintilla(QsciScintillaBase::SCI_GETSTYLEAT, pos + k)), int(want[k]));
        pos += want.size();
      }
    };
    ed.recolor();
    expectScannerStyles();
    ed.SendScintilla(QsciScintillaBase::SCI_INSERTTEXT, text.find("%ECHO"), "x");
    text.insert(text.find("%ECHO"), "x");
    lines[3] = "x%ECHO x;y";
    ed.recolor(static_cast<int>(text.find("x%ECHO")));
    expectScannerStyles();
  }

  void typingReachesTheSourceAndRebuildsTheFunctionList() {
    Ide ide("");
    auto& ed = ide.main().editor();
    ed.setFocus();
    QTest::keyClicks(&ed, "def (main);");
    QTest::keyClick(&ed, Qt::Key_Return);
    QTest::keyClicks(&ed, "%ECHO in main");
    serve();
    QCOMPARE(ide.form().machine.highlvl,
             (std::vector<std::string>{"def (main);", "%ECHO in main"}));
    QCOMPARE(ide.main().explorer().count(), 1);
    QCOMPARE(ide.main().explorer().item(0)->text(), QString("0: main"));
  }

  void typingInALongTextReachesTheFormAndWidensTheGutter() {
    // A text long enough for the editor's own keystroke handling, one line short of five digits.
    std::string source;
    for (int i = 1; i < 9999; ++i) source += "  x:=x+" + std::to_string(i) + "\n";
    source += "  HALT";
    Ide ide(source);
    auto& ed = ide.main().editor();
    const int gutter = ed.marginWidth(0);
    ed.setFocus();
    ed.setCursorPosition(9998, 6);
    QTest::keyClick(&ed, Qt::Key_Return);  // keeps the indentation
    QTest::keyClicks(&ed, "def (tail);");
    QTest::keyClick(&ed, Qt::Key_Backspace);
    serve();
    const std::vector<std::string>& highlvl = ide.form().machine.highlvl;
    QCOMPARE(highlvl.size(), size_t(10000));
    QCOMPARE(highlvl[9998], std::string("  HALT"));
    QCOMPARE(highlvl[9999], std::string("  def (tail)"));
    QCOMPARE(ide.main().explorer().count(), 1);
    QVERIFY(ed.marginWidth(0) > gutter);
    QVERIFY(ed.isModified());
  }

  void aClickInTheFunctionListSelectsTheLine() {
    Ide ide("%ECHO start\ndef (alpha);\nRETURN\ndef (beta);\nRETURN");
    auto& list = ide.main().explorer();
    QCOMPARE(list.count(), 2);
    QRect second = list.visualItemRect(list.item(1));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, second.center());
    serve();
    auto& ed = ide.main().editor();
    QCOMPARE(ed.selectedText(), QString("def (beta);"));
    int line = -1, index = -1;
    ed.getCursorPosition(&line, &index);
    QCOMPARE(line, 3);
  }

  void theWindowShowsUtf8AndKeepsOtherBytes() {
    std::string bytes("caf\xc3\xa9 \xff\xfe\x00zero", 14);
    Ide ide(bytes);
    QCOMPARE(ide.main().editor().bytes(), bytes);
    QCOMPARE(ide.form().machine.highlvl, std::vector<std::string>{bytes});
    ide.main().close();  // writes code.qn
    QCOMPARE(trel::readWholeFile("code.qn"), bytes);
  }
};

TREL_GUI_TEST(MainWindowTest);
#include "main_window_test.moc"
