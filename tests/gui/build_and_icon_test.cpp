// Build exe and the icon command from the menus, with their dialogs.
#include <QApplication>
#include <QBuffer>
#include <QTest>

#include <filesystem>

#include "gui_test_support.h"
#include "resources/icon_image.h"
#include "resources/resources.h"
#include "resources/stub_resources.h"
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

  void aBuiltProgramsWindowsCarryItsIcon() {
    // The stub's own picture, and a PNG with a pattern that no mirroring, colour swap or lost
    // transparency leaves alone, given to a second program with the Icon command.
    QImage chosen(32, 32, QImage::Format_ARGB32);
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x)
        chosen.setPixel(x, y, qRgba(x * 8, y * 8, 40, x < 16 ? 255 : 96));
    QByteArray png;
    QBuffer buffer(&png);
    QVERIFY(chosen.save(&buffer, "PNG"));
    const std::string stubPixels = trel::drawStubIconPixels(trel::kStubIconSide);
    const QImage stub(reinterpret_cast<const uchar*>(stubPixels.data()), trel::kStubIconSide,
                      trel::kStubIconSide, QImage::Format_RGBA8888);

    trel::guitest::StartupDirectory runs;  // where the built programs run
    {
      Ide ide("RG1:=Iconic\nRG2:=200\nRG3:=100\n%MAKE_FORM\n%NO_OUT");
      std::filesystem::copy_file(TREL_BASE_EXE, ide.dir.path("base.exe"));
      std::filesystem::copy_file(TREL_BASE_EXE, ide.dir.path("icons.exe"));
      trel::ResourceUpdate icons(ide.dir.path("icons.exe"));
      icons.write(trel::kIconResource, trel::kMainIconImage, trel::kNeutralLanguage,
                  png.toStdString());
      icons.commit();
      ide.form().buildWaitMilliseconds = 0;
      ide.trigger(MainCommand::Run);  // Build exe takes the code of the last run
      ide.host.answers = {"stub.exe", "chosen.exe", ide.dir.path("icons.exe"),
                          ide.dir.path("chosen.exe")};
      ide.trigger(MainCommand::BuildExe);
      ide.trigger(MainCommand::BuildExe);
      ide.trigger(MainCommand::Icon);
      QCOMPARE(ide.host.messages.back(), std::string("info: successful."));
      for (const char* built : {"stub.exe", "chosen.exe"})
        std::filesystem::copy_file(ide.dir.path(built), runs.path(built));
    }

    const struct {
      const char* program;
      const QImage& icon;
    } cases[] = {{"stub.exe", stub}, {"chosen.exe", chosen}};
    auto pixels = [](const QImage& image) {
      return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    };
    for (const auto& c : cases) {
      // The standalone runtime's start, reading the program and the icon from the built file.
      trel::guitest::ScriptedHost host;
      trel::gui::Session program(host, {"x"});
      program.form().executablePath = runs.path(c.program);
      program.setQuit([](int) {});
      program.start();
      const auto& made = program.madeWindows().forms();
      QTRY_VERIFY_WITH_TIMEOUT(made.size() == 1, 30000);
      QCOMPARE(made[0]->windowTitle(), QString("Iconic"));
      QCOMPARE(pixels(made[0]->windowIcon().pixmap(32, 32).toImage()), pixels(c.icon));
      QCOMPARE(pixels(program.mainWindow().windowIcon().pixmap(32, 32).toImage()), pixels(c.icon));
      QVERIFY(host.messages.empty());
    }
    QApplication::setWindowIcon(QIcon());  // the tests after this one run as the IDE
  }
};

TREL_GUI_TEST(BuildAndIconTest);
#include "build_and_icon_test.moc"
