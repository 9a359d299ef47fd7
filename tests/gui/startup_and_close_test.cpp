// Start-up in both modes, the splash, the editor text kept in "code.qn", and the end of a
// standalone program.
#include <QTest>

#include <csignal>

#include "gui/termination_signals.h"
#include "gui_test_support.h"
#include "rtl/text.h"

using trel::gui::MainCommand;
using trel::guitest::Ide;
using trel::guitest::serve;
using Lines = std::vector<std::string>;

class StartupAndCloseTest : public QObject {
  Q_OBJECT
 private slots:
  void theIdeOpensOnCodeQnWithTheSplashOnTop() {
    Ide ide("def (main);\n%ECHO hi\nRETURN");
    QVERIFY(ide.main().isVisible());
    QCOMPARE(ide.form().machine.highlvl, (Lines{"def (main);", "%ECHO hi", "RETURN"}));
    QCOMPARE(ide.main().explorer().count(), 1);
    trel::gui::SplashWindow* splash = ide.session->splashWindow();
    QVERIFY(splash && splash->isVisible());
    QCOMPARE(splash->picture().size(), QSize(640, 400));
    QCOMPARE(splash->picture().depth(), 24);
    QCOMPARE(splash->size(), QSize(638, 405));
    QVERIFY(splash->windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(ide.host.messages.empty());
    // The editor's undo history starts with the loaded text.
    QVERIFY(!ide.main().editor().isUndoAvailable());
  }

  void aMissingCodeQnIsReportedAndTheIdeStarts() {
    trel::guitest::StartupDirectory dir;
    trel::guitest::ScriptedHost host;
    trel::gui::Session session(host, {"base.exe"});
    session.setQuit([](int) {});
    session.start();
    serve();
    QCOMPARE(host.messages.size(), size_t(1));
    QVERIFY(host.messages[0].find("code.qn") != std::string::npos);
    QCOMPARE(session.form().machine.highlvl, Lines{"highlvl"});
    QVERIFY(session.mainWindow().isVisible());
  }

  void closingWritesTheEditorTextWithItsLineBreaks() {
    Ide ide("a\r\nb");
    ide.type("one\ntwo\nthree");
    ide.main().close();
    QCOMPARE(trel::readWholeFile("code.qn"), std::string("one\r\ntwo\r\nthree"));
    QCOMPARE(ide.quits, std::vector<int>{0});
  }

  void aFailedSaveOnCloseAsksAndKeepsTheText() {
    Ide ide("keep me");
    ide.type("edited text");
    // code.qn cannot be replaced: a folder stands in its place.
    std::filesystem::remove("code.qn");
    std::filesystem::create_directories("code.qn/inside");
    ide.host.answers = {std::to_string(trel::mb::kIdNo)};
    ide.main().close();
    serve();
    QVERIFY(ide.main().isVisible());
    QVERIFY(ide.quits.empty());
    QCOMPARE(ide.host.messages.size(), size_t(1));
    QVERIFY(ide.host.messages[0].find("Close anyway?") != std::string::npos);
    QCOMPARE(ide.main().editor().bytes(), std::string("edited text"));
    // Said yes, the window closes.
    ide.host.answers = {std::to_string(trel::mb::kIdYes)};
    ide.main().close();
    QCOMPARE(ide.quits, std::vector<int>{0});
  }

  void aTerminationSignalWritesTheTextAndEnds() {
    Ide ide("old");
    ide.type("typed before the logout");
    int received = 0;
    trel::gui::TerminationSignals terminations([&](int signal) {
      received = signal;
      ide.session->endOnSignal(signal);
    });
    ::raise(SIGHUP);
    serve(50);
    QCOMPARE(received, SIGHUP);
    QCOMPARE(trel::readWholeFile("code.qn"), std::string("typed before the logout"));
    QCOMPARE(ide.quits, std::vector<int>{128 + SIGHUP});
  }

  void newCanBeTakenBackWithUndo() {
    Ide ide("precious");
    ide.trigger(MainCommand::New);
    QCOMPARE(ide.main().editor().bytes(), std::string());
    QVERIFY(ide.form().machine.highlvl.empty());
    ide.main().editor().undo();
    serve();
    QCOMPARE(ide.main().editor().bytes(), std::string("precious"));
    QCOMPARE(ide.form().machine.highlvl, Lines{"precious"});
  }

  void openAndSaveGoThroughTheirDialogs() {
    Ide ide("old");
    ide.dir.write("projects/p.qn", "def (f);\nRETURN\n");
    ide.host.answers = {ide.dir.path("projects/p.qn")};
    ide.trigger(MainCommand::Open);
    QCOMPARE(ide.main().editor().bytes(), std::string("def (f);\nRETURN"));
    QCOMPARE(ide.main().explorer().count(), 1);
    ide.host.answers = {ide.dir.path("projects/q.qn")};
    ide.trigger(MainCommand::Save);
    QCOMPARE(trel::readWholeFile(ide.dir.path("projects/q.qn")), std::string("def (f);\nRETURN"));
    ide.host.answers = {ide.dir.path("projects/none.qn")};
    ide.trigger(MainCommand::Open);
    QCOMPARE(ide.host.messages.size(), size_t(1));
    QCOMPARE(ide.main().editor().bytes(), std::string("def (f);\nRETURN"));
  }

  void aStandaloneRunHidesTheMainWindowAndShowsTheConsole() {
    // No program is embedded in the test executable: the run has nothing to do and fails.
    Ide ide("", {});
    QVERIFY(!ide.session->splashWindow());  // no argument, no splash
    QVERIFY(ide.main().isVisible());
    serve(250);  // the 100 ms timer hides the main window and runs the program
    QVERIFY(!ide.main().isVisible());
    QVERIFY(ide.session->consoleWindow().isVisible());
    QCOMPARE(ide.host.messages, Lines{"Trel: List index out of bounds (0)"});
    QVERIFY(ide.quits.empty());
    ide.session->consoleWindow().close();
    serve();
    QCOMPARE(ide.quits, std::vector<int>{1});  // the run ended with an error
  }

  void aStandaloneRunThatHidesItsConsoleEndsAtOnce() {
    Ide ide("", {"x"});
    ide.form().machine.code = {"%ECHO bye", "%NO_OUT"};  // as if decoded from the executable
    serve(250);
    QCOMPARE(ide.quits, std::vector<int>{0});
  }

  void aStandaloneProgramEndsWhenItsLastWindowCloses() {
    Ide ide("", {"x"});
    ide.form().machine.code = {"%ECHO still here"};  // as if decoded from the executable
    serve(250);
    QVERIFY(ide.session->consoleWindow().isVisible());
    QVERIFY(ide.quits.empty());
    ide.session->consoleWindow().close();
    serve();
    QCOMPARE(ide.quits, std::vector<int>{0});
  }
};

TREL_GUI_TEST(StartupAndCloseTest);
#include "startup_and_close_test.moc"
