// The main window as laid out, its menus, the editor's settings, typing, the function list.
#include <QAbstractButton>
#include <QGroupBox>
#include <QMenuBar>
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

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void layoutAsDesigned() {
    Ide ide;
    auto& w = ide.main();
    QCOMPARE(w.windowTitle(), QString("Trel"));
    QCOMPARE(w.centralWidget()->size(), QSize(801, 609));
    QCOMPARE(w.minimumSize(), w.maximumSize());  // a fixed border: not resizable
    QCOMPARE(geometryOf(w, "highlvl"), QRect(8, 16, 633, 465));
    QCOMPARE(geometryOf(w, "Label5").topLeft(), QPoint(8, 480));
    QCOMPARE(textOf(w, "Label5"), QString("Current execution point:"));
    QCOMPARE(geometryOf(w, "Label6").y(), 480);
    QVERIFY(geometryOf(w, "Label6").x() >= geometryOf(w, "Label5").right());  // never overlapping
    QCOMPARE(textOf(w, "Label6"), QString("0"));
    QCOMPARE(geometryOf(w, "CheckBox1").topLeft(), QPoint(552, 488));
    QVERIFY(geometryOf(w, "CheckBox1").width() >= 89);
    QCOMPARE(textOf(w, "CheckBox1"), QString("Only translate"));
    QCOMPARE(textOf(w, "Label1"), QString("Assembly log:"));
    QCOMPARE(geometryOf(w, "debug"), QRect(8, 512, 641, 89));
    QCOMPARE(geometryOf(w, "explorer"), QRect(8, 16, 121, 345));
    QVERIFY(w.debugView().isVisible() && w.explorer().isVisible());

    QStringList groups;
    for (auto* g : w.centralWidget()->findChildren<QGroupBox*>(Qt::FindDirectChildrenOnly))
      groups << QString("%1 %2,%3,%4,%5 %6")
                    .arg(g->title())
                    .arg(g->x())
                    .arg(g->y())
                    .arg(g->width())
                    .arg(g->height())
                    .arg(g->isVisible() ? "shown" : "hidden");
    QCOMPARE(groups, QStringList({"Source Code 0,0,657,609 shown", "Functions 664,0,137,369 shown",
                                  "Options 656,376,105,233 hidden", "Icon 664,408,105,81 hidden"}));
    QStringList buttons;
    for (auto* b : w.optionsGroup().findChildren<QAbstractButton*>())
      buttons << QString("%1@%2").arg(b->text()).arg(b->y());
    QCOMPARE(buttons, QStringList({"Open@16", "Save@40", "EXE@64", "Run@88", "Show low lvl@112",
                                   "Save log@136", "Export to lib@160", "Help@184"}));
    QCOMPARE(w.builtFileLabel().text(), QString("Make Exe first"));
    QVERIFY(w.builtFileLabel().font().bold());
  }

  void menusAndTheirHandlers() {
    Ide ide;
    QStringList menus;
    for (QAction* top : ide.main().menuBar()->actions()) {
      QString entry = top->text();
      if (top->menu())
        for (QAction* item : top->menu()->actions())
          entry += "|" + item->text() + "=" + item->objectName();
      else
        entry += "=" + top->objectName();
      menus << entry;
    }
    QCOMPARE(menus,
             QStringList(
                 {"File|New=New1Click|Open=Open1Click|Save=Save1Click|Exit=Exit1Click",
                  "Run|&Run=Compile1Click|Build exe=EXE1Click|Export to qnlib=Exporttoqnlib1Click"
                  "|Icon=Icon1Click",
                  "Debug|Show Low-level=ShowLowlevel1Click|Save debug log=Savedebuglog1Click"
                  "|List low-level proc=Listlowlevelproc1Click",
                  "Help=Help1Click"}));
  }

  void editorSettingsAndColours() {
    Ide ide("CALL ::f // note\nx:=12");
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
    QCOMPARE(styleAt(0), int(trel::SyntaxStyle::Keyword));
    QCOMPARE(styleAt(7), int(trel::SyntaxStyle::Identifier));
    QCOMPARE(styleAt(10), int(trel::SyntaxStyle::Comment));
    QCOMPARE(styleAt(21), int(trel::SyntaxStyle::Number));
  }

  void typingReachesTheSourceAndRebuildsTheFunctionList() {
    Ide ide("");
    auto& ed = ide.main().editor();
    ed.setFocus();
    QTest::keyClicks(&ed, "def (main);");
    QTest::keyClick(&ed, Qt::Key_Return);
    QTest::keyClicks(&ed, "%ECHO in main");
    serve();
    QCOMPARE(ide.form().highlvl, (std::vector<std::string>{"def (main);", "%ECHO in main"}));
    QCOMPARE(ide.main().explorer().count(), 1);
    QCOMPARE(ide.main().explorer().item(0)->text(), QString("0: main"));
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
    QCOMPARE(ide.form().highlvl, std::vector<std::string>{bytes});
    ide.main().close();  // writes code.qn
    QCOMPARE(trel::readWholeFile("code.qn"), bytes);
  }
};

TREL_GUI_TEST(MainWindowTest);
#include "main_window_test.moc"
