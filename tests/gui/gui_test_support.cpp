#include "gui_test_support.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>

#include <unistd.h>

#include "gui/ide_settings.h"
#include "rtl/text.h"

namespace trel::guitest {

namespace {
std::vector<TestFactory>& factories() {
  static std::vector<TestFactory> all;
  return all;
}
}  // namespace

int registerTest(TestFactory factory) {
  factories().push_back(std::move(factory));
  return static_cast<int>(factories().size());
}

std::optional<std::string> ScriptedHost::next() {
  if (answers.empty()) return std::nullopt;
  std::string a = answers.front();
  answers.pop_front();
  return a;
}

int ScriptedHost::askMessageBox(const std::string& text, const std::string& caption, int flags) {
  messages.push_back(caption.empty() ? text : caption + ": " + text);
  if ((flags & 0x0F) == mb::kOk) return mb::kIdOk;
  std::optional<std::string> a = next();
  return a ? std::stoi(*a) : mb::kIdCancel;
}

std::optional<std::string> ScriptedHost::inputBox(const std::string&, const std::string&,
                                                  const std::string&) {
  return next();
}

std::optional<std::string> ScriptedHost::askOpenFile(const FileDialogRequest&) {
  return next();
}

std::optional<std::string> ScriptedHost::askSaveFile(const FileDialogRequest&) {
  return next();
}

StartupDirectory::StartupDirectory() : before_(std::filesystem::current_path()) {
  static int counter = 0;
  dir_ = std::filesystem::temp_directory_path() /
         ("trel-gui-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
  std::filesystem::remove_all(dir_);
  std::filesystem::create_directories(dir_ / "projects");
  std::filesystem::current_path(dir_);
}

StartupDirectory::~StartupDirectory() {
  std::filesystem::current_path(before_);
  std::error_code ignored;
  std::filesystem::remove_all(dir_, ignored);
}

void StartupDirectory::write(const std::string& name, const std::string& content) const {
  writeWholeFile(path(name), content);
}

Ide::Ide(const std::string& source, std::vector<std::string> arguments, Settings settings) {
  if (settings == Settings::Fresh) {
    std::error_code ignored;
    std::filesystem::remove(QFile::encodeName(gui::settingsPath()).toStdString(), ignored);
  }
  dir.write("code.qn", source);
  session = std::make_unique<gui::Session>(host, std::move(arguments));
  session->setQuit([this](int status) { quits.push_back(status); });
  session->start();
  serve();
}

Ide::~Ide() {
  session.reset();
  serve();
}

void Ide::type(const std::string& text) {
  gui::SourceEditor& editor = main().editor();
  editor.selectAll();
  editor.removeSelectedText();
  editor.insert(QString::fromUtf8(text.c_str()));
  serve();
}

void Ide::trigger(gui::MainCommand command) {
  main().action(command)->trigger();
  serve();
}

void serve(int milliseconds) {
  QElapsedTimer clock;
  clock.start();
  do {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  } while (clock.elapsed() < milliseconds);
}

}  // namespace trel::guitest

// Runs every test class, or with a first argument "Class" or "Class::function" just that one.
int main(int argc, char** argv) {
  // What the IDE remembers goes to a folder of this run's own, never to the user's.
  const std::string config =
      (std::filesystem::temp_directory_path() / ("trel-gui-config-" + std::to_string(::getpid())))
          .string();
  std::filesystem::create_directories(config);
  qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config));
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  QString only;
  QStringList args;
  for (int i = 0; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
  if (args.size() > 1 && !args[1].startsWith('-')) {
    QStringList parts = args[1].split("::");
    only = parts[0];
    args.removeAt(1);
    if (parts.size() > 1) args.insert(1, parts[1]);
  }
  int failures = 0;
  for (const auto& make : trel::guitest::factories()) {
    std::unique_ptr<QObject> test = make();
    if (!only.isEmpty() && only != test->metaObject()->className()) continue;
    failures += QTest::qExec(test.get(), args);
  }
  std::error_code ignored;
  std::filesystem::remove_all(config, ignored);
  return failures == 0 ? 0 : 1;
}
