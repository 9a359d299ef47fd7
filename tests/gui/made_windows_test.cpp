// Windows, labels and pixels that programs make, and clicks on them.
#include <QTest>
#include <QTimer>

#include "gui_test_support.h"

using trel::gui::MainCommand;
using trel::guitest::Ide;
using trel::guitest::serve;
using Lines = std::vector<std::string>;

namespace {

const char* kWindowProgram =
    "RG1:=Hello\nRG2:=300\nRG3:=200\n%MAKE_FORM\n"
    "RG1:=Hi\nRG2:=10\nRG3:=20\n%MAKE_LABEL\n"
    "%DRAW_FORM 255 5 5\n%DRAW_FORM $FF0000 6 5\n%ECHO made";

}  // namespace

class MadeWindowsTest : public QObject {
  Q_OBJECT
 private slots:
  void aProgramMakesAWindowWithALabelAndPixels() {
    Ide ide(kWindowProgram);
    ide.trigger(MainCommand::Run);
    auto& forms = ide.session->madeWindows().forms();
    QCOMPARE(forms.size(), size_t(1));
    trel::gui::MadeForm& form = *forms[0];
    QVERIFY(form.isVisible());
    QCOMPARE(form.windowTitle(), QString("Hello"));
    QCOMPARE(form.size(), QSize(300, 200));
    QCOMPARE(form.componentName(), std::string("formx1"));
    std::string handle = std::to_string(static_cast<uint64_t>(form.winId()));
    QCOMPARE(ide.form().machine.table.GetVariable("form1.handle"), handle);
    QCOMPARE(ide.form().machine.console.lines().front(), "Hello as form1.handle " + handle);
    auto labels = form.findChildren<trel::gui::MadeLabel*>();
    QCOMPARE(labels.size(), qsizetype(1));
    QCOMPARE(labels[0]->text(), QString("Hi"));
    QCOMPARE(labels[0]->pos(), QPoint(10, 20));
    QCOMPARE(labels[0]->height(), 32);
    QCOMPARE(labels[0]->componentName(), std::string("label1"));
    QVERIFY(labels[0]->isVisible());
    // The pixels stay when the window paints itself again.
    form.repaint();
    QImage shot = form.grab().toImage();
    QCOMPARE(QColor(shot.pixel(5, 5)), QColor(255, 0, 0));
    QCOMPARE(QColor(shot.pixel(6, 5)), QColor(0, 0, 255));
    QVERIFY(QColor(shot.pixel(7, 5)) != QColor(0, 0, 255));
  }

  void clicksSetTheSenderAndEnterTheHandler() {
    Ide ide(kWindowProgram);
    ide.trigger(MainCommand::Run);
    trel::gui::MadeForm& form = *ide.session->madeWindows().forms()[0];
    auto* label = form.findChildren<trel::gui::MadeLabel*>()[0];
    QTest::mouseClick(label, Qt::LeftButton);
    serve();
    QCOMPARE(ide.form().machine.table.GetVariable("__SENDERCLASS__"), std::string("TLabel"));
    QCOMPARE(ide.form().machine.table.GetVariable("__SENDERNAME__"), std::string("label1"));
    QTest::mouseClick(&form, Qt::LeftButton, {}, QPoint(100, 100));
    serve();
    QCOMPARE(ide.form().machine.table.GetVariable("__SENDERCLASS__"), std::string("TForm"));
    QCOMPARE(ide.form().machine.table.GetVariable("__SENDERNAME__"), std::string("formx1"));
  }

  void aClickDuringARunRunsTheFormclickCode() {
    Ide ide(
        "RG1:=Click me\nRG2:=200\nRG3:=100\n%MAKE_FORM\nvar clicked\nclicked:=no\n"
        "::wait\nCMP clicked,yes\nIF != ::wait\n%ECHO __SENDERNAME__\nHALT\n"
        "::formclick\nclicked:=yes\nRETURN");
    QTimer::singleShot(150, &ide.main(), [&] {
      trel::gui::MadeForm& form = *ide.session->madeWindows().forms().back();
      QTest::mouseClick(&form, Qt::LeftButton, {}, QPoint(20, 20));
    });
    QTimer::singleShot(3000, &ide.main(),
                       [&] { ide.main().onlyTranslate().setChecked(true); });  // a safety net
    ide.trigger(MainCommand::Run);
    QVERIFY(!ide.form().machine.CheckBox1);
    const Lines& out = ide.form().machine.console.lines();
    QVERIFY(std::find(out.begin(), out.end(), "formx1") != out.end());
    const Lines log = ide.form().machine.debug.lines();
    QVERIFY(std::find(log.begin(), log.end(), "GOT THE SYSTEM MESSAGE!") != log.end());
  }

  void theSameProgramRunsTwiceAndEarlierWindowsKeepWorking() {
    Ide ide(kWindowProgram);
    ide.trigger(MainCommand::Run);
    ide.trigger(MainCommand::Run);
    QVERIFY(ide.host.messages.empty());
    auto& forms = ide.session->madeWindows().forms();
    QCOMPARE(forms.size(), size_t(2));
    // The second run's window and label get names the first run's do not hold, so a click tells
    // them apart.
    QCOMPARE(forms[0]->componentName(), std::string("formx1"));
    QCOMPARE(forms[1]->componentName(), std::string("formx1_2"));
    QCOMPARE(forms[1]->findChildren<trel::gui::MadeLabel*>()[0]->componentName(),
             std::string("label1_2"));
    QVERIFY(forms[0]->isVisible() && forms[1]->isVisible());
    QVERIFY(forms[0]->winId() != forms[1]->winId());
    QTest::mouseClick(forms[0].get(), Qt::LeftButton, {}, QPoint(50, 50));
    serve();
    QCOMPARE(ide.form().machine.table.GetVariable("__SENDERCLASS__"), std::string("TForm"));
    QCOMPARE(ide.form().machine.table.GetVariable("__SENDERNAME__"), std::string("formx1"));
    QTest::mouseClick(forms[1].get(), Qt::LeftButton, {}, QPoint(50, 50));
    serve();
    QCOMPARE(ide.form().machine.table.GetVariable("__SENDERNAME__"), std::string("formx1_2"));
    // Closing a made window only hides it.
    forms[0]->close();
    serve();
    QVERIFY(!forms[0]->isVisible());
    QCOMPARE(ide.session->madeWindows().forms().size(), size_t(2));
  }

  void aLabelWithoutAWindowIsMadeHidden() {
    Ide ide("RG1:=lost\nRG2:=1\nRG3:=2\n%MAKE_LABEL\n%ECHO ok");
    ide.trigger(MainCommand::Run);
    QVERIFY(ide.host.messages.empty());
    auto& orphans = ide.session->madeWindows().orphanLabels();
    QCOMPARE(orphans.size(), size_t(1));
    QVERIFY(!orphans[0]->isVisible());
  }

  void wildSizesAndPixelsStayWithinReason() {
    Ide ide(
        "RG1:=big\nRG2:=2000000000\nRG3:=-5\n%MAKE_FORM\n"
        "%DRAW_FORM 255 -3 4\n%DRAW_FORM 255 1000000 1000000\n%DRAW_FORM 65280 7999 7999\n%ECHO "
        "ok");
    ide.trigger(MainCommand::Run);
    QVERIFY(ide.host.messages.empty());
    trel::gui::MadeForm& form = *ide.session->madeWindows().forms()[0];
    QVERIFY(form.width() <= 8192 && form.height() >= 1);
    QCOMPARE(form.pixel(7999, 7999), QColor(0, 255, 0));
  }
};

TREL_GUI_TEST(MadeWindowsTest);
#include "made_windows_test.moc"
