// The Qt dialogs behind the host: filters, message box buttons and answers, the input box.
#include <chrono>

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include "gui/dialogs.h"
#include "gui/qt_host.h"
#include "gui_test_support.h"
#include "rtl/text.h"

using namespace trel;

namespace {

// Hands the modal dialog of type D to `act` as soon as it is up: a busy machine may take far
// longer than a fixed delay to show it, and a dialog nobody closes would hold the test for ever.
// After 30 seconds without one the check gives up and closes whatever modal widget there is.
template <class D, class F>
void whenModal(F act) {
  auto* timer = new QTimer;
  auto started = std::chrono::steady_clock::now();
  QObject::connect(timer, &QTimer::timeout, [timer, act, started] {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* d = qobject_cast<D*>(modal); d && d->isVisible()) {
      timer->stop();
      timer->deleteLater();
      act(d);
    } else if (std::chrono::steady_clock::now() - started > std::chrono::seconds(30)) {
      timer->stop();
      timer->deleteLater();
      if (modal) modal->close();
    }
  });
  timer->start(50);
}

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

  // The Icon command's dialog: a built program without an extension can be picked under "Icon
  // file" or "All files", the default extension is not forced onto it; under "Source" a name
  // typed without ".qn" still finds the source. The columns are readable at the default size.
  void theOpenDialogReachesAnyFileAndShowsItsColumnsInFull() {
    trel::guitest::StartupDirectory dir;
    dir.write("prog", "#!/bin/sh\n");
    dir.write("hello.qn", "%ECHO hi");
    gui::FileDialogMemory memory;
    QStringList filters;
    int sizeColumn = 0, sizeWanted = 0;
    auto pick = [&](const QString& filter, const QString& typed) {
      whenModal<QFileDialog>([&](QFileDialog* d) {
        filters = d->nameFilters();
        d->selectNameFilter(filter);
        auto* tree = d->findChild<QTreeView*>("treeView");
        QTest::qWait(100);
        if (tree) {
          sizeColumn = tree->header()->sectionSize(1);
          sizeWanted = static_cast<QAbstractItemView*>(tree)->sizeHintForColumn(1);
        }
        d->findChild<QLineEdit*>("fileNameEdit")->setText(typed);
        QMetaObject::invokeMethod(d, "accept", Qt::QueuedConnection);
      });
      return memory.open(nullptr, OpenDialog1(dir.path("")));
    };
    QCOMPARE(pick("Icon file (*.exe)", "prog"), std::optional<std::string>(dir.path("prog")));
    QVERIFY(filters.contains("All files (*)"));
    QVERIFY(sizeWanted > 0 && sizeColumn >= sizeWanted);
    QCOMPARE(pick("All files (*)", "prog"), std::optional<std::string>(dir.path("prog")));
    QCOMPARE(pick("Source (*.qn)", "hello"), std::optional<std::string>(dir.path("hello.qn")));
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
