// The Qt dialogs behind the host: filters, message box buttons and answers, the input box.
#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "gui/dialogs.h"
#include "gui/qt_host.h"
#include "gui_test_support.h"

using namespace trel;

namespace {

// Presses the button with `text` in the next modal dialog, once it is up.
void pressSoon(const QString& text) {
  QTimer::singleShot(50, [text] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) return;
    for (auto* b : modal->findChildren<QPushButton*>())
      if (b->text().remove('&') == text) {
        b->click();
        return;
      }
  });
}

}  // namespace

class DialogsTest : public QObject {
  Q_OBJECT
 private slots:
  void filtersBecomeQtNameFilters() {
    QCOMPARE(gui::nameFilters("Source|*.qn|Icon file|*.exe"),
             QStringList({"Source (*.qn)", "Icon file (*.exe)"}));
    QCOMPARE(gui::nameFilters("Text|*.txt;*.log"), QStringList({"Text (*.txt *.log)"}));
    QCOMPARE(gui::nameFilters(""), QStringList());
  }

  void messageBoxesAnswerTheButtonPressed() {
    pressSoon("No");
    QCOMPARE(gui::runMessageBox(nullptr, "Sure?", "Q", mb::kYesNoCancel | mb::kIconQuestion),
             mb::kIdNo);
    pressSoon("Retry");
    QCOMPARE(gui::runMessageBox(nullptr, "Again?", "Q", mb::kAbortRetryIgnore), mb::kIdRetry);
    pressSoon("OK");
    QCOMPARE(gui::runMessageBox(nullptr, "Done", "", mb::kOk), mb::kIdOk);
    // Escape means Cancel where there is one.
    QTimer::singleShot(50, [] {
      if (QWidget* m = QApplication::activeModalWidget()) QTest::keyClick(m, Qt::Key_Escape);
    });
    QCOMPARE(gui::runMessageBox(nullptr, "Leave?", "Q", mb::kOkCancel), mb::kIdCancel);
  }

  void theHostsPlainMessageIsCaptionedTrel() {
    gui::QtHost host;
    QString caption;
    QTimer::singleShot(50, [&] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        caption = box->windowTitle();
        box->accept();
      }
    });
    host.showMessage("hello");
    QCOMPARE(caption, QString("Trel"));
  }

  void theInputBoxAnswersItsTextOrNothing() {
    QTimer::singleShot(50, [] {
      if (auto* d = qobject_cast<QInputDialog*>(QApplication::activeModalWidget())) {
        d->setTextValue("typed");
        d->accept();
      }
    });
    QCOMPARE(gui::runInputBox(nullptr, "Filename", "Exported exe file name", "1_qn.exe"),
             std::optional<std::string>("typed"));
    QTimer::singleShot(50, [] {
      if (auto* d = qobject_cast<QInputDialog*>(QApplication::activeModalWidget())) d->reject();
    });
    QCOMPARE(gui::runInputBox(nullptr, "Filename", "Exported exe file name", "1_qn.exe"),
             std::optional<std::string>());
  }
};

TREL_GUI_TEST(DialogsTest);
#include "dialogs_test.moc"
