// Build exe and the icon command from the menus, with their dialogs.
#include <QTest>

#include <filesystem>

#include "gui_test_support.h"
#include "resources/icon_image.h"
#include "rtl/text.h"

using trel::gui::MainCommand;
using trel::guitest::Ide;
using Lines = std::vector<std::string>;

class BuildAndIconTest : public QObject {
  Q_OBJECT
 private slots:
  void buildExeAsksForTheNameAndShowsIt() {
    Ide ide("%ECHO built");
    std::filesystem::copy_file(TREL_BASE_EXE, ide.dir.path("base.exe"));
    ide.form().buildWaitMilliseconds = 0;
    ide.trigger(MainCommand::Run);
    ide.host.answers = {"first.exe"};
    ide.trigger(MainCommand::BuildExe);
    QVERIFY(ide.host.messages.empty());
    QVERIFY(std::filesystem::exists(ide.dir.path("first.exe")));
    QCOMPARE(ide.main().builtFileLabel().text(), QString("first.exe"));
    // Cancelled, the box's default name is used.
    ide.trigger(MainCommand::BuildExe);
    QVERIFY(ide.main().builtFileLabel().text().endsWith("_qn.exe"));
    QVERIFY(std::filesystem::exists(ide.dir.path(ide.form().Label3)));
  }

  void aBuildWithoutTheStubIsAClearMessage() {
    Ide ide("%ECHO x");
    ide.host.answers = {"nothing.exe"};
    ide.trigger(MainCommand::BuildExe);
    QCOMPARE(ide.host.messages.size(), size_t(1));
    QVERIFY(ide.host.messages[0].find("nothing.exe") != std::string::npos);
  }

  void theIconCommandTalksThroughItsDialogs() {
    Ide ide("%ECHO x");
    std::filesystem::copy_file(TREL_BASE_EXE, ide.dir.path("base.exe"));
    std::filesystem::copy_file(TREL_BASE_EXE, ide.dir.path("target.exe"));
    ide.host.answers = {ide.dir.path("base.exe"), ide.dir.path("target.exe")};
    ide.trigger(MainCommand::Icon);
    QCOMPARE(ide.host.messages, (Lines{"Trel: Show me file with icon",
                                       "Trel: Show me destination file", "info: successful."}));
    QVERIFY(trel::loadProgramIcon(ide.dir.path("target.exe")).has_value());
    ide.host.messages.clear();
    ide.trigger(MainCommand::Icon);  // both dialogs cancelled
    QCOMPARE(ide.host.messages.back(), std::string("info: fail."));
  }
};

TREL_GUI_TEST(BuildAndIconTest);
#include "build_and_icon_test.moc"
