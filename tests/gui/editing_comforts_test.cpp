// The editor's comforts and the window's defects mended: what a screen reader reads of it,
// placement and growth, New undone, find, replace, go to line and toggle comment, the caption,
// recent files across a restart, examples, autosave and its restore after a killed IDE, help at the
// caret.
#include <QAccessible>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <QTextBlock>

#include <chrono>
#include <filesystem>

#include <signal.h>

#include "gui/editor_search.h"
#include "gui/window_placement.h"
#include "gui_test_support.h"
#include "rtl/text.h"

using trel::gui::EditCommand;
using trel::gui::MainCommand;
using trel::guitest::Ide;
using trel::guitest::serve;
using trel::guitest::Settings;

namespace {

std::string editorText(Ide& ide) {
  return ide.main().editor().bytes();
}

std::string joinLf(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += (text.empty() ? "" : "\n") + line;
  return text;
}

QStringList menuTexts(QMenu& menu) {
  QStringList texts;
  for (QAction* a : menu.actions())
    if (!a->isSeparator()) texts << a->text();
  return texts;
}

}  // namespace

class EditingComfortsTest : public QObject {
  Q_OBJECT
 private slots:
  void windowsStandWhollyOnTheScreenAndTheMainWindowGrows() {
    const QRect room(0, 0, 1024, 768);
    QCOMPARE(trel::gui::fitInto(QRect(900, 700, 300, 200), room), QRect(724, 568, 300, 200));
    QCOMPARE(trel::gui::fitInto(QRect(-50, -10, 300, 200), room), QRect(0, 0, 300, 200));
    // Larger than the room: the top-left corner, with the title bar, stays reachable.
    QCOMPARE(trel::gui::fitInto(QRect(100, 100, 2000, 900), room).topLeft(), QPoint(0, 0));

    Ide ide;
    auto& w = ide.main();
    serve(50);
    // Centred at the size it is shown with, not at a size it had before its layout ran.
    QCOMPARE(w.size(), w.defaultSize());
    const QRect screen = w.screen()->availableGeometry();
    const QRect frame = w.frameGeometry();
    if (frame.width() <= screen.width() && frame.height() <= screen.height()) {
      QVERIFY(screen.contains(frame));
      QVERIFY((frame.center() - screen.center()).manhattanLength() <= 2);
    } else {
      QCOMPARE(frame.topLeft(), trel::gui::fitInto(frame, screen).topLeft());
    }
    // Larger than the design, the editor and the log take the room; the list moves along.
    QVERIFY(w.minimumSize().width() < w.maximumSize().width());
    const QRect editor = w.editor().geometry(), log = w.debugView().geometry();
    const int listX = w.explorer().mapTo(&w, QPoint()).x();
    w.resize(w.width() + 200, w.height() + 150);
    serve();
    QCOMPARE(w.editor().width(), editor.width() + 200);
    QCOMPARE(w.editor().height() + w.debugView().height(), editor.height() + log.height() + 150);
    QVERIFY(w.debugView().height() > log.height());
    QCOMPARE(w.explorer().mapTo(&w, QPoint()).x(), listX + 200);
    QVERIFY(!w.editor().geometry().intersects(w.debugView().geometry()));
  }

  void enterKeepsTheIndentationAndEveryMenuHasItsAltKey() {
    Ide ide("");
    auto& ed = ide.main().editor();
    ed.setFocus();
    QTest::keyClicks(&ed, "    %ECHO a");
    QTest::keyClick(&ed, Qt::Key_Return);
    QTest::keyClicks(&ed, "%ECHO b");
    QCOMPARE(editorText(ide), std::string("    %ECHO a\n    %ECHO b"));
    QStringList titles;
    for (QAction* a : ide.main().menuBar()->actions()) titles << a->text();
    QCOMPARE(titles, QStringList({"&File", "&Edit", "&Run", "&Debug", "&Help"}));
  }

  void aScreenReaderThatStartsListeningGetsTheEditorsText() {
    Ide ide("first\nsecond line");
    auto& ed = ide.main().editor();
    ed.setFocus();
    QTest::keyClick(&ed, Qt::Key_Down);
    serve();
    // Nothing listens yet: the editor's interface has its role but no text to keep up to date.
    QVERIFY(!QAccessible::isActive());
    QAccessibleInterface* plain = QAccessible::queryAccessibleInterface(&ed);
    QVERIFY(plain);
    QCOMPARE(plain->role(), QAccessible::EditableText);
    QVERIFY(!plain->textInterface());
    // A screen reader starts: from now on it reads the text and follows the caret.
    QAccessible::setActive(true);
    QAccessibleInterface* full = QAccessible::queryAccessibleInterface(&ed);
    QVERIFY(full && full->textInterface());
    QCOMPARE(full->textInterface()->text(0, full->textInterface()->characterCount()),
             QString("first\nsecond line"));
    QTest::keyClick(&ed, Qt::Key_Right);
    serve();
    QCOMPARE(full->textInterface()->cursorPosition(), 7);
    QAccessible::setActive(false);
  }

  void newIsOneUndoableEdit() {
    Ide ide("first line\nsecond line");
    ide.trigger(MainCommand::New);
    QCOMPARE(editorText(ide), std::string());
    QVERIFY(ide.form().machine.highlvl.empty() ||
            ide.form().machine.highlvl == std::vector<std::string>{""});
    ide.main().action(EditCommand::Undo)->trigger();
    serve();
    QCOMPARE(editorText(ide), std::string("first line\nsecond line"));
    QCOMPARE(ide.form().machine.highlvl, (std::vector<std::string>{"first line", "second line"}));
  }

  void findReplaceGoToLineAndToggleComment() {
    Ide ide("alpha one\nBeta alpha\nalphabet\nbeta");
    auto& ed = ide.main().editor();
    auto& bar = ide.main().findBar();
    ide.main().action(EditCommand::Find)->trigger();
    QVERIFY(bar.isVisible() && !bar.replacing());
    QVERIFY(ed.geometry().bottom() < bar.geometry().top());  // under the editor, not over it
    bar.findField().setText("alpha");
    int line = 0, index = 0;
    QVERIFY(bar.findNext());
    ed.getCursorPosition(&line, &index);
    QCOMPARE(line, 0);
    ide.main().action(EditCommand::FindNext)->trigger();  // F3
    ed.getCursorPosition(&line, &index);
    QCOMPARE(line, 1);
    bar.wholeWord().setChecked(true);
    QVERIFY(bar.findNext());  // skips "alphabet" and wraps to the first line
    ed.getCursorPosition(&line, &index);
    QCOMPARE(line, 0);
    ide.main().action(EditCommand::FindPrevious)->trigger();  // Shift+F3 wraps backwards
    ed.getCursorPosition(&line, &index);
    QCOMPARE(line, 1);
    bar.wholeWord().setChecked(false);
    bar.matchCase().setChecked(true);
    bar.findField().setText("Beta");
    bar.highlightAll().setChecked(true);
    QVERIFY(trel::gui::isHighlighted(ed, 10) && !trel::gui::isHighlighted(ed, 35));
    bar.findField().setText("nowhere");
    QVERIFY(!bar.findNext());
    QCOMPARE(bar.status().text(), QString("Not found"));

    // Replace all is one step of Undo; replace one changes only the selected match.
    ide.main().action(EditCommand::Replace)->trigger();
    QVERIFY(bar.replacing());
    bar.matchCase().setChecked(false);
    bar.findField().setText("beta");
    bar.replaceField().setText("gamma");
    QCOMPARE(bar.replaceAll(), 2);
    QCOMPARE(editorText(ide), std::string("alpha one\ngamma alpha\nalphabet\ngamma"));
    serve();
    QCOMPARE(ide.form().machine.highlvl[3], std::string("gamma"));
    // Ctrl+Z in the editor reaches the Edit menu's Undo, and the program text follows it.
    ide.main().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&ide.main()));
    ed.setFocus();
    QTest::keyClick(&ed, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(editorText(ide), std::string("alpha one\nBeta alpha\nalphabet\nbeta"));
    serve();
    QCOMPARE(ide.form().machine.highlvl[3], std::string("beta"));
    ed.setCursorPosition(0, 0);
    bar.findField().setText("alpha");
    bar.replaceField().setText("A");
    QVERIFY(!bar.replaceOne());  // the first press finds the match
    QVERIFY(bar.replaceOne());
    QCOMPARE(editorText(ide), std::string("A one\nBeta alpha\nalphabet\nbeta"));
    QTest::keyClick(&bar.findField(), Qt::Key_Escape);
    QVERIFY(!bar.isVisible());

    // Go to line counts from 1 like the gutter; past the end it stops at the last line.
    ed.goToLine(3);
    ed.getCursorPosition(&line, &index);
    QCOMPARE(line, 2);
    ed.goToLine(99);
    ed.getCursorPosition(&line, &index);
    QCOMPARE(line, 3);

    // Toggle comment on the lines of a selection: added to all, then taken off all, one undo.
    ed.setSelection(1, 2, 2, 3);
    ide.main().action(EditCommand::ToggleComment)->trigger();
    QCOMPARE(editorText(ide), std::string("A one\n//Beta alpha\n//alphabet\nbeta"));
    serve();
    QCOMPARE(ide.form().machine.highlvl[1], std::string("//Beta alpha"));
    ide.main().action(EditCommand::ToggleComment)->trigger();
    QCOMPARE(editorText(ide), std::string("A one\nBeta alpha\nalphabet\nbeta"));
    ed.undo();
    QCOMPARE(editorText(ide), std::string("A one\n//Beta alpha\n//alphabet\nbeta"));
  }

  void replaceAllKeepsTheMarksTheSelectionAndOneUndoStep() {
    // Matches close together and far apart (a long line between them), some that only differ in
    // case or are part of a longer word; breakpoints on lines among and around them.
    std::vector<std::string> lines, expected;
    for (int i = 0; i < 40; ++i) {
      std::string n = std::to_string(i);
      if (i == 20)
        lines.push_back("// " + std::string(600, 'y'));
      else
        lines.push_back(i % 7 == 0 ? "X:=xx+" + n : "x:=x+" + n);
      expected.push_back(
          QString::fromStdString(lines.back())
              .replace(QRegularExpression(QStringLiteral("\\bx\\b")), QStringLiteral("total"))
              .toStdString());
    }
    Ide ide(joinLf(lines));
    auto& ed = ide.main().editor();
    for (int line : {3, 10, 20, 25}) ed.toggleBreakpoint(line);
    ed.setSelection(10, 5, 11, 1);
    auto& bar = ide.main().findBar();
    ide.main().action(EditCommand::Replace)->trigger();
    bar.matchCase().setChecked(true);
    bar.wholeWord().setChecked(true);
    bar.findField().setText("x");
    bar.replaceField().setText("total");
    QCOMPARE(bar.replaceAll(), 2 * 33);  // two on each line but seven
    QCOMPARE(editorText(ide), joinLf(expected));
    serve();
    QCOMPARE(ide.form().machine.highlvl, expected);
    QVERIFY(ed.isModified());
    const std::set<int32_t> breakpoints{4, 11, 21, 26};
    QCOMPARE(ed.breakpointLines(), breakpoints);
    // Each end of the selection stays by the text it was beside.
    int fromLine = 0, fromIndex = 0, toLine = 0, toIndex = 0;
    ed.getSelection(&fromLine, &fromIndex, &toLine, &toIndex);
    QCOMPARE(std::vector<int>({fromLine, fromIndex, toLine, toIndex}),
             std::vector<int>({10, 13, 11, 5}));

    ed.undo();  // one step back, the marks where they were, the caret at the first match
    QCOMPARE(editorText(ide), joinLf(lines));
    ed.getCursorPosition(&fromLine, &fromIndex);
    QCOMPARE(std::vector<int>({fromLine, fromIndex}), std::vector<int>({1, 0}));
    QCOMPARE(ed.breakpointLines(), breakpoints);
    serve();
    QCOMPARE(ide.form().machine.highlvl, lines);
    ed.redo();
    QCOMPARE(editorText(ide), joinLf(expected));
    QCOMPARE(ed.breakpointLines(), breakpoints);
    QVERIFY(bar.isVisible());  // the window is destroyed with the find bar open
  }

  void theCaptionNamesTheFileAndRecentFilesOutliveARestart() {
    std::string a, b;
    {
      Ide ide("start");
      QCOMPARE(ide.main().windowTitle(), QString("Trel"));
      ide.type("edited before any file");
      QCOMPARE(ide.main().windowTitle(), QString("Trel"));  // as specified until Open or Save
      a = ide.dir.path("projects/a.qn");
      b = ide.dir.path("projects/b.qn");
      trel::writeWholeFile(a, "%ECHO from a");
      ide.host.answers = {a};
      ide.trigger(MainCommand::Open);
      QCOMPARE(ide.main().windowTitle(), QString("a.qn - Trel"));
      ide.main().editor().insert("x");
      serve();
      QCOMPARE(ide.main().windowTitle(), QString("*a.qn - Trel"));
      ide.host.answers = {b};
      ide.trigger(MainCommand::Save);
      QCOMPARE(ide.main().windowTitle(), QString("b.qn - Trel"));
      QCOMPARE(trel::readWholeFile(b), std::string("x%ECHO from a"));

      // A second start in the same folder: the list is still there, newest first.
      ide.session.reset();
      ide.session =
          std::make_unique<trel::gui::Session>(ide.host, std::vector<std::string>{"base.exe"});
      ide.session->setQuit([](int) {});
      ide.session->start();
      serve();
      ide.session->fillRecentMenu();
      QStringList entries = menuTexts(ide.main().recentMenu());
      QCOMPARE(entries.size(), 2);
      QVERIFY(entries[0].endsWith("/b.qn") && entries[1].endsWith("/a.qn"));

      // A file that is gone is dropped with a note; a click opens the other one.
      std::filesystem::remove(a);
      ide.session->fillRecentMenu();
      entries = menuTexts(ide.main().recentMenu());
      QCOMPARE(entries.size(), 1);
      QVERIFY(ide.main().statusBar()->currentMessage().contains("a.qn"));
      ide.main().recentMenu().actions().front()->trigger();
      serve();
      QCOMPARE(editorText(ide), std::string("x%ECHO from a"));
      QCOMPARE(ide.main().windowTitle(), QString("b.qn - Trel"));
    }
    // The list is kept in the settings, not in the start-up folder: a fresh IDE elsewhere has it.
    Ide other("", {"base.exe"}, Settings::Kept);
    other.session->fillRecentMenu();
    QCOMPARE(menuTexts(other.main().recentMenu()).size(), 1);
  }

  void anExampleOpensAsACopy() {
    Ide ide;
    QMenu& examples = ide.main().examplesMenu();
    QAction* hello = nullptr;
    for (QAction* a : examples.actions())
      if (a->text() == "hello.qn") hello = a;
    QVERIFY(hello);
    hello->trigger();
    serve();
    const std::string original = trel::readWholeFile(TREL_SOURCE_DIR "/examples/hello.qn");
    QCOMPARE(editorText(ide) + "\n", original.back() == '\n' ? original : original + "\n");
    QCOMPARE(ide.session->currentFile(), ide.dir.path("projects/hello.qn"));
    QCOMPARE(ide.main().windowTitle(), QString("hello.qn - Trel"));
    hello->trigger();  // again: a second copy, the first one stays
    serve();
    QCOMPARE(ide.session->currentFile(), ide.dir.path("projects/hello-2.qn"));
  }

  void autosaveIsRestoredAfterAKilledIde() {
    // A real IDE process, in a start-up directory and a configuration folder of its own, autosaves
    // unsaved edits every 50 ms and is killed once they are in the recovery file.
    trel::guitest::StartupDirectory dir;
    dir.write("code.qn", "as in code.qn");
    namespace fs = std::filesystem;
    fs::last_write_time(dir.path("code.qn"),
                        fs::file_time_type::clock::now() - std::chrono::hours(1));
    const std::string typed = "%ECHO typed before the crash\n";
    const std::string recovery = dir.path("code.qn.recovery");
    QProcess ide;  // killed by its destructor should a check fail
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("XDG_CONFIG_HOME", QString::fromStdString(dir.path("config")));
    environment.insert("TREL_AUTOSAVE_MS", "50");
    environment.insert("TREL_TEST_TYPED_TEXT", QString::fromStdString(typed));
    ide.setProcessEnvironment(environment);
    ide.setWorkingDirectory(QString::fromStdString(dir.path("")));
    ide.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    ide.start(TREL_TREL_PATH, {"base.exe"});
    QVERIFY2(ide.waitForStarted(30000), qPrintable(ide.errorString()));
    auto recovered = [&] {
      return fs::exists(recovery) ? trel::readWholeFile(recovery) : std::string();
    };
    QTRY_VERIFY_WITH_TIMEOUT(
        recovered() == typed + "as in code.qn" || ide.state() == QProcess::NotRunning, 120000);
    QCOMPARE(ide.state(), QProcess::Running);
    ::kill(static_cast<pid_t>(ide.processId()), SIGKILL);
    QVERIFY(ide.waitForFinished(30000));
    QCOMPARE(ide.exitStatus(), QProcess::CrashExit);
    QCOMPARE(trel::readWholeFile("code.qn"), std::string("as in code.qn"));

    // The next start offers the text back; yes restores it as one undoable edit.
    trel::guitest::ScriptedHost host;
    host.answers = {std::to_string(trel::mb::kIdYes)};
    auto session = std::make_unique<trel::gui::Session>(host, std::vector<std::string>{"base.exe"});
    session->setQuit([](int) {});
    session->start();
    serve();
    QCOMPARE(host.messages.size(), size_t(1));
    auto& editor = session->mainWindow().editor();
    QCOMPARE(editor.bytes(), typed + "as in code.qn");
    QCOMPARE(session->form().machine.highlvl,
             (std::vector<std::string>{"%ECHO typed before the crash", "as in code.qn"}));
    editor.undo();
    QCOMPARE(editor.bytes(), std::string("as in code.qn"));
    editor.redo();
    serve();
    // A normal close writes code.qn and deletes the recovery file.
    session->mainWindow().close();
    serve();
    QCOMPARE(trel::readWholeFile("code.qn"),
             std::string("%ECHO typed before the crash\r\nas in code.qn"));  // its own line breaks
    QVERIFY(!fs::exists(recovery));
  }

  void f1OnAKeywordOrFunctionOpensTheGuideAtItsEntry() {
    Ide ide("x:=1\nformula (midstr('abcdef', 2, 3));\nif (x > 0)\nendif");
    trel::writeWholeFile("halp.rtf", trel::readWholeFile(TREL_SOURCE_DIR "/data/halp.rtf"));
    auto& ed = ide.main().editor();
    auto& help = ide.session->helpWindow();
    ed.setFocus();
    const struct {
      int line, index;
      QString entry;
    } cases[] = {{1, 11, "MIDSTR"}, {1, 2, "FORMULA"}, {0, 2, ":="}, {2, 1, "IF"}, {3, 5, "ENDIF"}};
    for (const auto& c : cases) {
      ed.setCursorPosition(c.line, c.index);
      QTest::keyClick(&ed, Qt::Key_F1);
      serve();
      QVERIFY(help.isVisible());
      QTextCursor at = help.richEdit().textCursor();
      QCOMPARE(at.selectedText(), c.entry);
      QVERIFY(at.block().text().startsWith(c.entry + ": "));
    }
    // The guide's search field finds text and wraps around.
    QTest::keyClick(&help, Qt::Key_F, Qt::ControlModifier);
    QVERIFY(help.searchField().isVisible());
    help.searchField().setText("Only translate");
    QVERIFY(help.findNext());
    QCOMPARE(help.richEdit().textCursor().selectedText(), QString("Only translate"));
    help.resize(900, 700);  // it may be resized
    QCOMPARE(help.size(), QSize(900, 700));
  }
};

TREL_GUI_TEST(EditingComfortsTest);
#include "editing_comforts_test.moc"
