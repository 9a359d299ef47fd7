// The low-level viewer with its variable dump, List low-level proc, Save debug log and Help.
#include <QTest>
#include <QTextDocument>

#include "gui/help_window.h"
#include "gui_test_support.h"
#include "rtl/text.h"

using trel::gui::MainCommand;
using trel::guitest::Ide;
using trel::guitest::serve;
using Lines = std::vector<std::string>;

class ViewerAndHelpTest : public QObject {
  Q_OBJECT
 private slots:
  void showLowLevelDumpsTheProgramAndItsVariables() {
    Ide ide("var x\nx:=abc\n%ECHO x");
    ide.trigger(MainCommand::Run);
    ide.trigger(MainCommand::ShowLowLevel);
    auto& viewer = ide.session->lowLevelWindow();
    QVERIFY(viewer.isVisible());
    QCOMPARE(viewer.windowTitle(), QString("Low level"));
    QCOMPARE(viewer.memo1Lines(), (Lines{"var x", "x:=abc", "%ECHO x", "HALT"}));
    QCOMPARE(viewer.memo1().lineCount(), size_t(4));
    const Lines& dump = viewer.memo2Lines();
    QCOMPARE(dump.front(), std::string("Variables count: 15"));
    auto x = std::find(dump.begin(), dump.end(), "x");
    QVERIFY(x != dump.end() && x + 2 < dump.end());
    QCOMPARE(*(x + 1), std::string("HEX 616263"));
    QCOMPARE(*(x + 2), std::string("PCHAR: abc"));
    // A snapshot: a later run does not change it until the command runs again.
    ide.type("%ECHO none");
    ide.trigger(MainCommand::Run);
    QCOMPARE(viewer.memo2Lines().front(), std::string("Variables count: 15"));
    ide.trigger(MainCommand::ShowLowLevel);
    QCOMPARE(viewer.memo2Lines().front(), std::string("Variables count: 14"));
  }

  void lowLevelProceduresAndAClickOnOne() {
    Ide ide("JUMP ::end\n%ECHO skipped\n::end");
    ide.trigger(MainCommand::Run);
    ide.trigger(MainCommand::ListLowLevelProc);
    auto& list = ide.main().explorer();
    QCOMPARE(list.count(), 2);
    QCOMPARE(list.item(1)->text(), QString("2: end"));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                      list.visualItemRect(list.item(1)).center());
    serve();
    QVERIFY(ide.session->lowLevelWindow().isVisible());
    QCOMPARE(ide.session->lowLevelWindow().memo1().selectedText(), QString("::end"));
  }

  void saveDebugLogWritesLogTxt() {
    Ide ide("%ECHO x");
    ide.trigger(MainCommand::Run);
    ide.trigger(MainCommand::SaveDebugLog);
    QCOMPARE(trel::readWholeFile("log.txt"), ide.form().machine.debug.text());
  }

  void helpShowsHalpRtfFormatted() {
    Ide ide;
    ide.dir.write("halp.rtf",
                  "{\\rtf1{\\colortbl ;\\red0\\green0\\blue255;}\\fs36\\b Guide\\b0\\fs24\\par "
                  "\\cf1 blue\\cf0  text\\par}");
    ide.trigger(MainCommand::Help);
    auto& help = ide.session->helpWindow();
    QVERIFY(help.isVisible());
    QCOMPARE(help.windowTitle(), QString("HELP - Trel"));
    QCOMPARE(help.richEdit().toPlainText(), QString("Guide\nblue text"));
    QTextCursor c(help.richEdit().document());
    c.movePosition(QTextCursor::NextCharacter);
    QVERIFY(c.charFormat().fontWeight() == QFont::Bold);
    QCOMPARE(c.charFormat().fontPointSize(), 18.0);
    QVERIFY(help.richEdit().isReadOnly());
    // The file is read again on every use.
    ide.dir.write("halp.rtf", "{\\rtf1 changed\\par}");
    ide.trigger(MainCommand::Help);
    QCOMPARE(help.richEdit().toPlainText(), QString("changed"));
  }

  void theShippedHelpFileFillsOneBlockPerParagraph() {
    trel::RtfDocument d = trel::readRtf(trel::readWholeFile(TREL_SOURCE_DIR "/data/halp.rtf"));
    QTextDocument doc;
    trel::gui::fillTextDocument(doc, d);
    QCOMPARE(doc.blockCount(), int(d.paragraphs.size()));
  }

  void aMissingHelpFileIsReportedAndNothingShows() {
    Ide ide;
    ide.trigger(MainCommand::Help);
    QCOMPARE(ide.host.messages.size(), size_t(1));
    QVERIFY(ide.host.messages[0].find("halp.rtf") != std::string::npos);
    QVERIFY(!ide.session->helpWindow().isVisible());
  }

  void aDamagedHelpFileShowsWhatCanBeRead() {
    Ide ide;
    std::string damaged = "{\\rtf1\\b Head\\b0\\par body {\\i cut";
    damaged += std::string("\x00\xff\x01", 3);
    ide.dir.write("halp.rtf", damaged);
    ide.trigger(MainCommand::Help);
    QVERIFY(ide.session->helpWindow().isVisible());
    QVERIFY(ide.session->helpWindow().richEdit().toPlainText().startsWith("Head\nbody cut"));
  }
};

TREL_GUI_TEST(ViewerAndHelpTest);
#include "viewer_and_help_test.moc"
