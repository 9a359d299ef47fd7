// Run, the console window and its ">>" button, the assembly log and the execution point, and what
// a user can do in the middle of a run.
#include <QTest>
#include <QTimer>

#include "gui_test_support.h"

using trel::gui::MainCommand;
using trel::guitest::Ide;
using trel::guitest::serve;
using Lines = std::vector<std::string>;

class RunAndConsoleTest : public QObject {
  Q_OBJECT
 private slots:
  void runShowsTheOutputInTheConsole() {
    Ide ide("%ECHO hi");
    auto& console = ide.session->consoleWindow();
    QVERIFY(!console.isVisible());
    QCOMPARE(ide.form().machine.console.lines(),
             (Lines{"Trel Default Output console", "Trel is QN+ interpreter", ""}));
    ide.trigger(MainCommand::Run);
    QVERIFY(console.isVisible());
    QCOMPARE(ide.form().machine.console.lines(),
             (Lines{"hi", "", "", "Trel: QN+ End of executing"}));
    QCOMPARE(console.memo().lineCount(), size_t(4));
    QCOMPARE(ide.main().debugView().lineCount(), ide.form().machine.debug.lineCount());
    QVERIFY(ide.form().machine.debug.lineCount() > 2);
  }

  void theConsoleButtonRunsALineOnTheLastMachine() {
    Ide ide("RG0:=42");
    ide.trigger(MainCommand::Run);
    auto& console = ide.session->consoleWindow();
    console.input().setFocus();
    QTest::keyClicks(&console.input(), "%ECHO RG0");
    QTest::mouseClick(&console.runButton(), Qt::LeftButton);
    serve();
    QCOMPARE(ide.form().machine.console.lines().back(), std::string("42"));
    QCOMPARE(console.input().toPlainText(), QString());
    QCOMPARE(ide.form().machine.console.Edit1, std::string());
    // An error in a console line is a message, and the next line works.
    QTest::keyClicks(&console.input(), "JUMP ::nowhere");
    QTest::mouseClick(&console.runButton(), Qt::LeftButton);
    QTest::keyClicks(&console.input(), "%ECHO after");
    QTest::mouseClick(&console.runButton(), Qt::LeftButton);
    serve();
    QCOMPARE(ide.host.messages.back(),
             std::string("Trel: '::nowhere' is not a valid integer value"));
    QCOMPARE(ide.form().machine.console.lines().back(), std::string("after"));
  }

  void ctrlEnterRunsAndUpDownRecallEarlierLines() {
    Ide ide("RG0:=7");
    ide.trigger(MainCommand::Run);
    auto& input = ide.session->consoleWindow().input();
    const Lines& out = ide.form().machine.console.lines();
    const size_t before = out.size();
    input.setFocus();
    QTest::keyClicks(&input, "%ECHO RG0");
    QTest::keyClick(&input, Qt::Key_Return);  // a line break, as ever
    serve();
    QCOMPARE(input.toPlainText(), QString("%ECHO RG0\n"));
    QCOMPARE(out.size(), before);
    QTest::keyClick(&input, Qt::Key_Backspace);
    QTest::keyClick(&input, Qt::Key_Return, Qt::ControlModifier);
    serve();
    QCOMPARE(out.back(), std::string("7"));
    QCOMPARE(input.toPlainText(), QString());
    QTest::keyClicks(&input, "%ECHO 3");
    QTest::keyClick(&input, Qt::Key_Enter, Qt::ControlModifier | Qt::KeypadModifier);
    serve();
    QCOMPARE(out.back(), std::string("3"));
    // Up walks back from a half-typed line, and Down brings it back.
    QTest::keyClicks(&input, "draft");
    QTest::keyClick(&input, Qt::Key_Up);
    QCOMPARE(input.toPlainText(), QString("%ECHO 3"));
    QTest::keyClick(&input, Qt::Key_Up);
    QTest::keyClick(&input, Qt::Key_Up);  // there is no older line
    QCOMPARE(input.toPlainText(), QString("%ECHO RG0"));
    QTest::keyClick(&input, Qt::Key_Down);
    QCOMPARE(input.toPlainText(), QString("%ECHO 3"));
    QTest::keyClick(&input, Qt::Key_Down);
    QCOMPARE(input.toPlainText(), QString("draft"));
  }

  void closingTheConsoleHidesIt() {
    Ide ide("%ECHO a");
    ide.trigger(MainCommand::Run);
    ide.session->consoleWindow().close();
    serve();
    QVERIFY(!ide.form().machine.console.visible());
    ide.trigger(MainCommand::Run);  // every run shows it again
    QVERIFY(ide.session->consoleWindow().isVisible());
  }

  void anErrorEndsTheRunWithAMessageAndTheIdeGoesOn() {
    Ide ide("%ECHO before\nJUMP ::nowhere\n%ECHO after");
    ide.trigger(MainCommand::Run);
    QCOMPARE(ide.host.messages, Lines{"Trel: '::nowhere' is not a valid integer value"});
    QCOMPARE(ide.form().machine.console.lines(), Lines{"before"});
    ide.type("%ECHO fine");
    ide.trigger(MainCommand::Run);
    QCOMPARE(ide.form().machine.console.lines().front(), std::string("fine"));
  }

  void onlyTranslateStopsAProgramThatLoopsForever() {
    Ide ide("::top\nx:=1\nJUMP ::top");
    int pumpsBefore = 0;
    QTimer::singleShot(150, &ide.main(), [&] {
      pumpsBefore = static_cast<int>(ide.host.pumpCount());
      // The execution point moves while the program runs.
      QVERIFY(ide.main().executionPoint().text() != "0");
      QTest::mouseClick(&ide.main().onlyTranslate(), Qt::LeftButton);
    });
    ide.trigger(MainCommand::Run);  // returns once the box stopped the run
    QVERIFY(pumpsBefore > 3);
    QVERIFY(ide.form().machine.CheckBox1);
    QVERIFY(ide.form().machine.frame == nullptr);
    QCOMPARE(ide.form().machine.console.lines().back(), std::string("Trel: QN+ End of executing"));
  }

  void onlyTranslateStopsAFormulaThatLoopsForever() {
    Ide ide("formula (WHILE 1 DO 1 WEND);\n%ECHO never");
    QTimer::singleShot(200, &ide.main(), [&] { ide.main().onlyTranslate().setChecked(true); });
    ide.trigger(MainCommand::Run);  // returns once the box stopped the formula
    QVERIFY(ide.form().machine.frame == nullptr);
    QVERIFY(ide.form().machine.CheckBox1);
    const Lines& out = ide.form().machine.console.lines();
    QVERIFY(std::find(out.begin(), out.end(), "never") == out.end());
  }

  void runAndConsoleLinesWorkInTheMiddleOfARun() {
    Ide ide("::top\nx:=1\nJUMP ::top");
    bool consoleNested = false, runNested = false;
    QTimer::singleShot(100, &ide.main(), [&] {
      // ">>" while the program runs: the line runs nested, on the running machine.
      auto& console = ide.session->consoleWindow();
      console.input().setPlainText("%ECHO nested");
      QTest::mouseClick(&console.runButton(), Qt::LeftButton);
      consoleNested = ide.form().machine.frame != nullptr;
    });
    QTimer::singleShot(200, &ide.main(), [&] {
      // Run again while running: a fresh run of the new text, nested in the first one's step.
      ide.type("%ECHO second");
      runNested = ide.form().machine.frame != nullptr;
      ide.trigger(MainCommand::Run);
    });
    QTimer::singleShot(400, &ide.main(), [&] { ide.main().onlyTranslate().setChecked(true); });
    ide.trigger(MainCommand::Run);
    serve(500);
    QVERIFY(consoleNested);
    QVERIFY(runNested);
    const Lines& out = ide.form().machine.console.lines();
    QVERIFY(std::find(out.begin(), out.end(), "second") != out.end());
    QVERIFY(ide.form().machine.frame == nullptr);
  }

  void theLogViewTakesInAMillionStepRunWithoutCopyingIt() {
    Ide ide("var n\n::top\nn+1\nCMP n,200000\nIF < ::top");
    ide.trigger(MainCommand::Run);
    auto& view = ide.main().debugView();
    QCOMPARE(view.lineCount(), ide.form().machine.debug.lineCount());
    QVERIFY(view.lineCount() > 1000000);
    // It follows the end of the log.
    QVERIFY(view.firstVisibleLine() > 1000000);
    QCOMPARE(ide.session->mainWindow().executionPoint().text().left(2), QString("5:"));
  }
};

TREL_GUI_TEST(RunAndConsoleTest);
#include "run_and_console_test.moc"
