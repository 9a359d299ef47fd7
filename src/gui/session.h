// One run of the application with Qt windows: TForm1 and every window that shows it (main window,
// console, low-level viewer, help, splash, script-made windows), the main window's one-shot timer,
// start-up and the end of the process.
//
// Every user action reaches the core through command(): the editor's text is copied into highlvl
// first, an error is shown in a message box and never leaves the handler (so an error in a run
// nested in a pump ends only that run), and the windows are brought up to date afterwards.
#pragma once

#include <QObject>
#include <QPoint>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gui/console_window.h"
#include "gui/debugging.h"
#include "gui/help_window.h"
#include "gui/low_level_window.h"
#include "gui/made_windows.h"
#include "gui/main_window.h"
#include "gui/qt_host.h"
#include "gui/splash_window.h"
#include "shell/main_form.h"

namespace trel::gui {

class Session : public QObject, public QtViews {
  Q_OBJECT
 public:
  // `arguments` are the command-line arguments after the program name.
  Session(QtHost& host, std::vector<std::string> arguments);
  ~Session() override;

  // The start-up sequence: FormCreate, the editor text, the splash when an argument is present,
  // the main window, and its 100 ms timer.
  void start();
  // What ends the application (QCoreApplication::exit unless replaced, as tests do).
  void setQuit(std::function<void(int)> quit) { quit_ = std::move(quit); }

  // A termination signal: the editor text is written as on closing, and the application ends
  // without asking (128 + the signal's number is the status).
  void endOnSignal(int signal);

  // Runs a command handler the way every event handler does; answers false after an error.
  bool command(const std::function<void()>& handler);
  void runCommand(MainCommand command);
  // Brings every window up to date with TForm1.
  void refresh();
  // Copies the editor's text into highlvl when the user changed it since the last copy.
  void syncEditorToForm();

  // Open recent and Examples: open a file as the Open command does, without its dialog. An
  // example is first copied into the start-up directory's "projects" folder.
  void openFile(const std::string& path);
  void openExample(const std::string& path);
  // Lists the recent files in File > Open recent, dropping those that no longer exist (with a
  // note in the status bar).
  void fillRecentMenu();
  // F1 in the editor: the guide, at the entry of the keyword or formula function at the caret.
  void helpAtCursor();

  // The recovery file beside code.qn, which autosave writes while the text has unsaved changes.
  std::string recoveryPath() const;
  void setAutosaveInterval(int milliseconds) { autosave_.setInterval(milliseconds); }
  void autosaveNow();
  const std::string& currentFile() const { return currentFile_; }

  TForm1& form() { return form_; }
  QtHost& host() { return host_; }
  MainWindow& mainWindow() { return *main_; }
  ConsoleWindow& consoleWindow() { return *console_; }
  LowLevelWindow& lowLevelWindow() { return *lowLevel_; }
  HelpWindow& helpWindow() { return *help_; }
  SplashWindow* splashWindow() { return splash_.get(); }
  Debugging& debugging() { return *debugging_; }
  MadeWindows& madeWindows() { return made_; }

  // QtViews
  void beforePump() override;
  void consoleLinesChanged() override;
  void consoleCleared() override;
  void consoleVisibilityChanged(bool visible) override;
  void editorTextReplaced() override;
  void diagnostic(const Diagnostic& d) override;
  void messageBoxShown(const std::string& text, int flags) override;
  uint64_t makeForm(const std::string& name, const std::string& caption, int width,
                    int height) override;
  void makeLabel(uint64_t form, const std::string& name, const std::string& caption, int left,
                 int top, int height) override;
  void drawPixel(uint64_t form, uint32_t colour, int x, int y) override;
  uint64_t mainWindowHandle() override;
  QWidget* dialogParent() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void onTimer1();
  void onMainWindowClose(QCloseEvent* event);
  void onEditorEdited();
  void onExplorerClicked(int row);
  void presentLowLevel();
  void presentHelp();
  void afterCommand(MainCommand command);
  void noteFile(const std::string& path);
  void updateCaption();
  void fillExamplesMenu();
  void offerRecovery();
  void restorePlaces();
  void rememberPlaces();
  void scheduleRefresh();
  void endWhenNoWindowIsVisible();
  void placeConsole();
  // Ends the application once the runs in progress have unwound (after a close while paused).
  void quitWhenRunsEnd(int status);

  QtHost& host_;
  TForm1 form_;
  std::unique_ptr<MainWindow> main_;
  std::unique_ptr<ConsoleWindow> console_;
  std::unique_ptr<LowLevelWindow> lowLevel_;
  std::unique_ptr<HelpWindow> help_;
  std::unique_ptr<SplashWindow> splash_;
  std::unique_ptr<Debugging> debugging_;
  MadeWindows made_;
  QTimer timer1_;
  QTimer editorSync_;
  bool editorDirty_ = false;
  bool refreshPending_ = false;
  bool consolePlaced_ = false;
  bool standaloneRunOver_ = false;
  int exitStatus_ = 0;
  std::optional<int> quitAfterRuns_;
  std::function<void(int)> quit_;
  std::string shownLabel3_;
  std::string currentFile_;  // the file of the last Open or Save; empty before either
  QTimer autosave_;
  bool autosaveDirty_ = false;
  bool placesRestored_ = false;
  // Where the console and the low-level viewer stood when the last session ended.
  std::optional<QPoint> consolePlace_;
  std::optional<QPoint> viewerPlace_;
};

}  // namespace trel::gui
