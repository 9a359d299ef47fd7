// Errors that point at the user's line, run control and the debugger: the editor's marks, the
// status bar, Stop, breakpoints, the step commands, and the Variables, Watch and Call stack panels.
#include <QTest>
#include <QTimer>

#include <functional>

#include "gui_test_support.h"
#include "rtl/text.h"

using trel::gui::MainCommand;
using trel::guitest::Ide;
using trel::guitest::serve;
using Lines = std::vector<std::string>;

namespace {

// Follows a run through its pauses: at each one it notes the editor's current line (from 1) and
// the status bar, then does the next of `actions` (each triggers a command that ends the pause).
// With no action left it stops the run, so a test never hangs in a pause.
struct PauseScript {
  Ide& ide;
  std::vector<std::function<void()>> actions;
  std::vector<int> lines;
  std::vector<QString> statuses;
  size_t next = 0;
  QMetaObject::Connection connection;

  PauseScript(Ide& i, std::vector<std::function<void()>> a) : ide(i), actions(std::move(a)) {
    connection = QObject::connect(
        &ide.session->debugging(), &trel::gui::Debugging::paused, &ide.main(),
        [this] {
          lines.push_back(ide.main().editor().currentLine() + 1);
          statuses.push_back(ide.main().runStatus().text());
          if (next < actions.size())
            actions[next++]();
          else
            command(MainCommand::Stop)();
        },
        Qt::QueuedConnection);
  }
  ~PauseScript() { QObject::disconnect(connection); }
  std::function<void()> command(MainCommand c) {
    return [this, c] { ide.main().action(c)->trigger(); };
  }
};

QString status(Ide& ide) {
  return ide.main().runStatus().text();
}

void placeCaret(Ide& ide, int line) {
  ide.main().editor().setCursorPosition(line, 0);
}

// Keys reach the window's shortcuts only while it is the active window.
bool focusEditor(Ide& ide) {
  ide.main().activateWindow();
  ide.main().editor().setFocus();
  return QTest::qWaitForWindowActive(&ide.main());
}

// A procedure called from line 3; its body is lines 7 to 9.
const char kProcedure[] =
    "var x\nx:=1\ncall twice(,,,,)\nx:=5\nHALT\ndef (twice)\nx:=2\nx:=3\nRETURN";

}  // namespace

class DiagnosticsTest : public QObject {
  Q_OBJECT
 private slots:
  void aTranslationErrorMarksItsLineAndRunSaysWhyItDoesNotRun() {
    Ide ide("%ECHO a\n%ECHO b\n%import gone%\n%ECHO c");
    auto& editor = ide.main().editor();
    ide.trigger(MainCommand::Run);
    // The message box as it always was; then the line, the caret and the status bar.
    QCOMPARE(ide.host.messages, Lines{"Trel: Can not import! File not found"});
    QVERIFY(editor.hasErrorMark(2));
    QVERIFY(!editor.hasErrorMark(0) && !editor.hasErrorMark(3));
    int line = -1, index = -1;
    editor.getCursorPosition(&line, &index);
    QCOMPARE(line, 2);
    QCOMPARE(status(ide), QString("Line 3: Can not import! File not found"));
    QVERIFY(ide.form().machine.CheckBox1);  // the translation error ticks the box, as before

    // The fix clears the marks; Run now says why nothing runs instead of looking dead.
    editor.setSelection(2, 0, 2, 13);
    editor.replaceSelectedText("%ECHO fixed");
    serve();
    QVERIFY(!editor.hasErrorMark(2));
    ide.trigger(MainCommand::Run);
    QCOMPARE(status(ide), QString("Only translate is checked: translated, not run"));
    QCOMPARE(ide.host.messages.size(), size_t(1));
  }

  void aRunTimeErrorMarksTheLineItHappenedOn() {
    Ide ide("%ECHO before\n\nJUMP ::nowhere\n%ECHO after");
    ide.trigger(MainCommand::Run);
    QCOMPARE(ide.host.messages, Lines{"Trel: '::nowhere' is not a valid integer value"});
    QVERIFY(ide.main().editor().hasErrorMark(2));
    QCOMPARE(status(ide), QString("Line 3: '::nowhere' is not a valid integer value"));
    // The next run clears the marks of the last.
    ide.type("%ECHO fine");
    ide.trigger(MainCommand::Run);
    QVERIFY(!ide.main().editor().hasErrorMark(2));
    QVERIFY(status(ide).startsWith("Ended after "));

    // A formula's error inside a run points at the formula's line.
    ide.type("x:=1\nformula (1+);");
    ide.trigger(MainCommand::Run);
    QVERIFY(ide.main().editor().hasErrorMark(1));
    QVERIFY(status(ide).startsWith("Line 2: "));
  }

  void warningsMarkTheirLinesAndTheRunGoesOn() {
    Ide ide("%ECHO a\ncall nobody(,,,,)\n%ECHO b\nJUMP ::nowhere");
    ide.trigger(MainCommand::Run);
    auto& editor = ide.main().editor();
    QVERIFY(editor.hasWarningMark(1));
    QVERIFY(editor.hasWarningMark(3));
    QVERIFY(!editor.hasWarningMark(0));
    QCOMPARE(ide.main().warningStatus().text(),
             QString("Line 2: warning: call of a procedure no def names: nobody (and 1 more)"));
    // An edit takes them away, as it does an error's.
    ide.type("%ECHO a\ncall nobody(,,,,)");
    QVERIFY(!editor.hasWarningMark(1) && !editor.hasWarningMark(3));
  }
};

class RunControlTest : public QObject {
  Q_OBJECT
 private slots:
  void stopEndsAnEndlessLoopWithoutTickingOnlyTranslate() {
    Ide ide("var n\n::top\nn+1\nJUMP ::top");
    auto& main = ide.main();
    QVERIFY(!main.action(MainCommand::Stop)->isEnabled());
    bool runDisabled = false, stopEnabled = false;
    QString running;
    QTimer::singleShot(300, &main, [&] {
      runDisabled = !main.runButton().isEnabled();
      stopEnabled = main.action(MainCommand::Stop)->isEnabled();
      running = status(ide);
      // Esc stops from every window of the IDE, the console the run brought up included.
      QTest::keyClick(&ide.session->consoleWindow().input(), Qt::Key_Escape);
    });
    ide.trigger(MainCommand::Run);  // returns once the run stopped
    QVERIFY(runDisabled && stopEnabled);
    QVERIFY(running.startsWith("Running, ") && running != "Running, 0 steps");
    QVERIFY(!ide.form().machine.CheckBox1);
    QVERIFY(ide.form().machine.frame == nullptr);
    QVERIFY(status(ide).startsWith("Stopped at line "));
    QVERIFY(main.runButton().isEnabled() && !main.action(MainCommand::Stop)->isEnabled());

    // A formula that never ends stops too, and the next run is a normal one.
    ide.type("formula (WHILE 1 DO 1 WEND);\n%ECHO never");
    QTimer::singleShot(200, &main, [&] { main.action(MainCommand::Stop)->trigger(); });
    ide.trigger(MainCommand::Run);
    QVERIFY(ide.form().machine.frame == nullptr);
    QVERIFY(!ide.form().machine.CheckBox1);
    const Lines& out = ide.form().machine.console.lines();
    QVERIFY(std::find(out.begin(), out.end(), "never") == out.end());
    ide.type("%ECHO again");
    ide.trigger(MainCommand::Run);
    QCOMPARE(ide.form().machine.console.lines().front(), std::string("again"));
    QVERIFY(status(ide).startsWith("Ended after "));
  }

  void breakpointsMoveWithTheTextAndSurviveARun() {
    Ide ide("var n\nn:=1\nn:=2\nn:=3");
    auto& editor = ide.main().editor();
    placeCaret(ide, 2);
    QVERIFY(focusEditor(ide));
    QTest::keyClick(&editor, Qt::Key_F5);
    serve();
    QCOMPARE(editor.breakpointLines(), (std::set<int32_t>{3}));
    editor.insertAt("%ECHO one\n%ECHO two\n", 0, 0);  // two lines above it
    serve();
    QCOMPARE(editor.breakpointLines(), (std::set<int32_t>{5}));
    PauseScript script(ide, {});
    script.actions = {script.command(MainCommand::Continue)};
    ide.trigger(MainCommand::Run);
    QCOMPARE(script.lines, std::vector<int>{5});
    QCOMPARE(script.statuses, std::vector<QString>{"Paused at line 5"});
    QCOMPARE(ide.form().machine.table.GetVariable("n"), std::string("3"));
    QCOMPARE(editor.breakpointLines(), (std::set<int32_t>{5}));
    QCOMPARE(editor.currentLine(), -1);  // the arrow goes with the pause
    // A second toggle on the line removes it.
    placeCaret(ide, 4);
    ide.trigger(MainCommand::ToggleBreakpoint);
    QVERIFY(editor.breakpointLines().empty());
  }

  void eachStepCommandGoesWhereItSays() {
    Ide ide(kProcedure);
    auto command = [&](MainCommand c) { return [&ide, c] { ide.main().action(c)->trigger(); }; };
    auto step = command(MainCommand::Step), over = command(MainCommand::StepOver),
         out = command(MainCommand::StepOut), cont = command(MainCommand::Continue);
    auto toCursor = [&] {
      placeCaret(ide, 4);  // line 5
      ide.main().action(MainCommand::RunToCursor)->trigger();
    };
    {
      // Stepping with no program running starts one paused at its first line.
      PauseScript script(ide, {step, step, step, step, out, toCursor, step});
      ide.trigger(MainCommand::Step);
      QCOMPARE(script.lines, (std::vector<int>{1, 2, 3, 7, 8, 4, 5}));
      QCOMPARE(ide.form().machine.frame, nullptr);
    }
    // Step over runs the whole procedure; Continue runs to the end.
    PauseScript script(ide, {step, step, over, cont});
    ide.trigger(MainCommand::Step);
    QCOMPARE(script.lines, (std::vector<int>{1, 2, 3, 4}));
    QVERIFY(status(ide).startsWith("Ended after "));
  }

  void stepOutOutsideAProcedureSaysSoAndStaysPaused() {
    Ide ide("var x\nx:=1\nx:=2");
    PauseScript script(ide, {});
    QString said;
    script.actions = {[&] {
      ide.main().action(MainCommand::StepOut)->trigger();
      serve();
      said = status(ide);
      ide.main().action(MainCommand::Continue)->trigger();
    }};
    ide.trigger(MainCommand::Step);
    QCOMPARE(said, QString("Step out: no procedure is running here"));
    QCOMPARE(ide.form().machine.table.GetVariable("x"), std::string("2"));
  }

  void f9ContinuesAPausedRunAndStopEndsIt() {
    Ide ide("var x\nx:=1\nx:=2\nx:=3");
    PauseScript script(ide, {});
    script.actions = {[&] { QTest::keyClick(&ide.main().editor(), Qt::Key_F9); },
                      script.command(MainCommand::Stop)};
    ide.main().editor().toggleBreakpoint(1);
    ide.main().editor().toggleBreakpoint(2);
    QVERIFY(focusEditor(ide));
    ide.trigger(MainCommand::Run);
    QCOMPARE(script.lines, (std::vector<int>{2, 3}));
    QCOMPARE(ide.form().machine.table.GetVariable("x"), std::string("1"));
    QCOMPARE(status(ide), QString("Stopped at line 3"));
    QVERIFY(!ide.form().machine.CheckBox1);
  }

  void closingTheWindowWhilePausedEndsTheRunAndKeepsTheText() {
    Ide ide("var x\nx:=1\nx:=2");
    PauseScript script(ide, {});
    script.actions = {[&] {
      ide.type("var x\nx:=1\nx:=2\n// edited while paused");
      ide.main().close();
    }};
    ide.trigger(MainCommand::Step);
    QCOMPARE(ide.quits, std::vector<int>{0});
    QVERIFY(ide.form().machine.frame == nullptr);
    QCOMPARE(trel::readWholeFile("code.qn"),
             std::string("var x\nx:=1\nx:=2\n// edited while paused"));
  }
};

class DebugPanelsTest : public QObject {
  Q_OBJECT
 private slots:
  void variablesShowWhatEachStepChanged() {
    Ide ide("var a\nvar b\na:=1\nb:=two\na:=3");
    auto& panel = ide.main().variablesPanel();
    std::vector<std::vector<std::string>> changed;
    std::vector<int> variableRows;
    PauseScript script(ide, {});
    auto step = [&] {
      changed.push_back(panel.changedNames());
      variableRows.push_back(panel.variablesGroup().childCount());
      ide.main().action(MainCommand::Step)->trigger();
    };
    script.actions = {step, step, step, step, step};
    ide.main().editor().toggleBreakpoint(0);
    ide.trigger(MainCommand::Run);
    QVERIFY(panel.isVisible());  // the first pause shows the panels
    QCOMPARE(changed, (std::vector<std::vector<std::string>>{{}, {"a"}, {"b"}, {"a"}, {"b"}}));
    QCOMPARE(variableRows, (std::vector<int>{0, 1, 2, 2, 2}));
    // The registers in their own group; values as text, or bytes on demand.
    QTreeWidgetItem& registers = panel.registersGroup();
    QCOMPARE(registers.childCount(), 14);
    QCOMPARE(registers.child(0)->text(0), QString("RG0"));
    QCOMPARE(registers.child(13)->text(0), QString("FL2"));
    QTreeWidgetItem* b = panel.variablesGroup().child(1);
    QCOMPARE(b->text(1), QString("two"));
    panel.hexView().setChecked(true);
    QCOMPARE(b->text(1), QString("74 77 6F"));
  }

  void anOpenLowLevelViewerMarksThePausedLine() {
    Ide ide(kProcedure);
    ide.trigger(MainCommand::Run);
    ide.trigger(MainCommand::ShowLowLevel);
    auto& viewer = ide.session->lowLevelWindow();
    QVERIFY(viewer.isVisible());
    QString marked, label;
    PauseScript script(ide, {[&] {
                         marked = viewer.memo1().selectedText();
                         label = ide.main().executionPoint().text();
                         ide.main().action(MainCommand::Continue)->trigger();
                       }});
    ide.main().editor().toggleBreakpoint(7);  // x:=3, the 13th low-level line
    ide.trigger(MainCommand::Run);
    QCOMPARE(marked, QString("x:=3"));
    QVERIFY(label.startsWith("12: "));  // the program counter, from 0 as ever
  }

  void watchesAndTheCallStackFollowThePause() {
    Ide ide(kProcedure);
    auto& watch = ide.main().watchPanel();
    auto& calls = ide.main().callStackPanel();
    watch.addFormula("x*10");
    watch.addFormula("x+");
    watch.addFormula("WHILE 1 DO 1 WEND");
    QStringList values;
    QStringList stack;
    PauseScript script(ide, {});
    script.actions = {[&] {
      for (int i = 0; i < 3; ++i) values << watch.list().topLevelItem(i)->text(1);
      for (int i = 0; i < calls.list().count(); ++i) stack << calls.list().item(i)->text();
      // A click on a call goes to its line.
      QRect first = calls.list().visualItemRect(calls.list().item(0));
      QTest::mouseClick(calls.list().viewport(), Qt::LeftButton, {}, first.center());
      ide.main().action(MainCommand::Continue)->trigger();
    }};
    ide.main().editor().toggleBreakpoint(7);
    ide.trigger(MainCommand::Run);
    QCOMPARE(values[0], QString("20"));
    QVERIFY(values[1].startsWith("error: "));
    QCOMPARE(values[2], QString("error: no result: the formula does not end"));
    QCOMPARE(stack, QStringList{"Line 3: call twice(,,,,)"});
    int line = -1, index = -1;
    ide.main().editor().getCursorPosition(&line, &index);
    QCOMPARE(line, 2);
    // After the run the watches show the final values.
    QCOMPARE(watch.list().topLevelItem(0)->text(1), QString("50"));
    QCOMPARE(ide.form().machine.table.GetVariable("x"), std::string("5"));
  }
};

TREL_GUI_TEST(DiagnosticsTest);
TREL_GUI_TEST(RunControlTest);
TREL_GUI_TEST(DebugPanelsTest);
#include "diagnostics_and_debugger_test.moc"
