// Shared pieces of the GUI tests: a registry of QtTest classes, a Qt host whose dialogs answer
// from a list, and an IDE session started in a fresh temporary start-up directory.
#pragma once

#include <QObject>
#include <QTest>

#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gui/qt_host.h"
#include "gui/session.h"

namespace trel::guitest {

using TestFactory = std::function<std::unique_ptr<QObject>()>;
int registerTest(TestFactory factory);

#define TREL_GUI_TEST(Class)           \
  static const int registered##Class = \
      ::trel::guitest::registerTest([] { return std::make_unique<Class>(); })

// Dialogs answer from `answers` (file dialog: a path; input box: the text; message box with a
// choice: the button number); with none left a dialog is cancelled. Every message box is
// recorded as "caption: text".
class ScriptedHost : public gui::QtHost {
 public:
  std::deque<std::string> answers;
  std::vector<std::string> messages;

  int askMessageBox(const std::string& text, const std::string& caption, int flags) override;
  std::optional<std::string> inputBox(const std::string& caption, const std::string& prompt,
                                      const std::string& value) override;
  std::optional<std::string> askOpenFile(const FileDialogRequest& request) override;
  std::optional<std::string> askSaveFile(const FileDialogRequest& request) override;
  void endProcess(int status) override { endStatus = status; }
  int endStatus = -1;

 private:
  std::optional<std::string> next();
};

// A temporary folder made the current directory for the object's life.
class StartupDirectory {
 public:
  StartupDirectory();
  ~StartupDirectory();
  std::string path(const std::string& name) const { return (dir_ / name).string(); }
  void write(const std::string& name, const std::string& content) const;

 private:
  std::filesystem::path before_;
  std::filesystem::path dir_;
};

// The IDE (first argument "base.exe", or `arguments`) started in a fresh start-up directory that
// holds "code.qn" with `source`; with Settings::Kept it starts with what an earlier IDE of the
// test remembered (recent files, window places), as after a restart.
enum class Settings { Fresh, Kept };
struct Ide {
  explicit Ide(const std::string& source = "%ECHO hi",
               std::vector<std::string> arguments = {"base.exe"},
               Settings settings = Settings::Fresh);
  ~Ide();
  StartupDirectory dir;
  ScriptedHost host;
  std::unique_ptr<gui::Session> session;
  std::vector<int> quits;  // statuses the session asked to end with

  TForm1& form() { return session->form(); }
  gui::MainWindow& main() { return session->mainWindow(); }
  // Puts the text in the editor as if typed and lets the editor's change reach the form.
  void type(const std::string& text);
  // Runs a menu command and serves events until it has run.
  void trigger(gui::MainCommand command);
};

// Serves events for a while (at least once).
void serve(int milliseconds = 0);

}  // namespace trel::guitest
