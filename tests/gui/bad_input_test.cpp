// Bad input of every kind: huge sources, binary files, floods of output and windows. The IDE must
// stay whole and keep the editor text.
#include <QTest>

#include "gui_test_support.h"
#include "rtl/text.h"

using trel::gui::MainCommand;
using trel::guitest::Ide;
using trel::guitest::serve;
using Lines = std::vector<std::string>;

class BadInputTest : public QObject {
  Q_OBJECT
 private slots:
  void aHundredThousandLineSourceOpensEditsAndRuns() {
    std::string source;
    for (int i = 0; i < 100000; ++i)
      source +=
          (i % 1000 == 0 ? "def (f" + std::to_string(i) + ");" : "x:=" + std::to_string(i)) + "\n";
    source += "%ECHO end";
    Ide ide("");
    ide.dir.write("projects/huge.qn", source);
    ide.host.answers = {ide.dir.path("projects/huge.qn")};
    ide.trigger(MainCommand::Open);
    QCOMPARE(ide.main().editor().lines(), 100001);
    QCOMPARE(ide.main().explorer().count(), 100);
    auto& ed = ide.main().editor();
    ed.setCursorPosition(100000, 0);
    QTest::keyClicks(&ed, "y:=1");
    QTest::keyClick(&ed, Qt::Key_Return);
    serve(400);  // long sources are copied after a pause in typing
    QCOMPARE(ide.form().machine.highlvl.size(), size_t(100002));
    QCOMPARE(ide.form().machine.highlvl[100000], std::string("y:=1"));
    ide.trigger(MainCommand::Run);
    QCOMPARE(ide.form().machine.console.lines().front(), std::string("end"));
  }

  void aBinaryFileOpensWithoutLosingAByte() {
    // Every byte value but the line breaks, which the editor keeps in one style per text.
    std::string bytes;
    for (int i = 0; i < 70000; ++i) {
      char c = static_cast<char>((i * 131) % 256);
      bytes += c == '\r' || c == '\n' ? '\0' : c;
      if (i % 5000 == 4999 && i + 1 < 70000) bytes += '\n';
    }
    Ide ide("");
    ide.dir.write("projects/blob.qn", bytes);
    ide.host.answers = {ide.dir.path("projects/blob.qn"), ide.dir.path("projects/copy.qn")};
    ide.trigger(MainCommand::Open);
    ide.main().editor().recolor();
    ide.trigger(MainCommand::Save);
    QCOMPARE(trel::readWholeFile(ide.dir.path("projects/copy.qn")), bytes);
    ide.trigger(MainCommand::Run);  // whatever it does, it ends with the IDE intact
    QVERIFY(ide.form().machine.frame == nullptr);
  }

  void aMillionLinesOfOutput() {
    Ide ide("var n\n::top\n%ECHO n\nn+1\nCMP n,1000000\nIF < ::top");
    ide.trigger(MainCommand::Run);
    const Lines& out = ide.form().machine.console.lines();
    QCOMPARE(out.size(), size_t(1000003));
    QCOMPARE(out[999999], std::string("999999"));
    auto& memo = ide.session->consoleWindow().memo();
    QCOMPARE(memo.lineCount(), out.size());
    QVERIFY(memo.firstVisibleLine() > 999000);
    memo.selectAll();
    QVERIFY(memo.selectedText().size() > 6000000);
  }

  void aThousandWindows() {
    Ide ide(
        "var n\n::top\nRG1:=w\nRG2:=50\nRG3:=40\n%MAKE_FORM\n%DRAW_FORM 255 1 1\n"
        "n+1\nCMP n,1000\nIF < ::top\n%ECHO made");
    ide.trigger(MainCommand::Run);
    QVERIFY(ide.host.messages.empty());
    QCOMPARE(ide.session->madeWindows().forms().size(), size_t(1000));
    QCOMPARE(
        ide.form().machine.table.GetVariable("form1000.handle"),
        std::to_string(static_cast<uint64_t>(ide.session->madeWindows().forms().back()->winId())));
    QCOMPARE(ide.form().machine.console.lines()[1000], std::string("made"));
  }

  void aHugeLineInTheLogAndTheViewer() {
    Ide ide("x:=" + std::string(3'000'000, 'a') + "\n%ECHO x");
    ide.trigger(MainCommand::Run);
    ide.trigger(MainCommand::ShowLowLevel);
    auto& viewer = ide.session->lowLevelWindow();
    viewer.repaint();
    ide.main().debugView().repaint();
    ide.session->consoleWindow().repaint();
    QVERIFY(viewer.isVisible());
    QCOMPARE(ide.form().machine.console.lines().front().size(), size_t(3'000'000));
  }
};

TREL_GUI_TEST(BadInputTest);
#include "bad_input_test.moc"
