// The IDE's run control and debugger views: the Run command with breakpoints and steps, Stop, the
// status bar's run state, the error and warning marks in the editor, the current line while
// paused, and the Variables, Watch and Call stack panels.
//
// It shows the machine and forwards commands; the stepping itself is the core's Debugger, and
// every command reaches the core through the session's command() like any other.
#pragma once

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <string>

#include "gui/low_level_window.h"
#include "gui/main_window.h"
#include "gui/run_control.h"
#include "shell/main_form.h"

namespace trel::gui {

class Debugging : public QObject {
  Q_OBJECT
 public:
  using Command = std::function<bool(const std::function<void()>&)>;
  // `command` runs a handler as the session runs every command; `refresh` brings the windows up
  // to date with the form.
  Debugging(TForm1& form, MainWindow& main, LowLevelWindow& lowLevel, Command command,
            std::function<void()> refresh);

  // The Run command: translate, warn, run under the debugger starting with `first`, pausing
  // once at source line `toLine` (from 1; 0: none). While paused it continues instead.
  void run(Resume first = Resume::Continue, int32_t toLine = 0);
  // Stop, Continue, the step commands, Run to cursor and Toggle breakpoint.
  void handle(MainCommand command);

  bool isRunning() const { return runs_ > 0; }
  Debugger& debugger() { return control_.debugger(); }
  bool isPaused() const { return control_.isPaused(); }
  // Ends every run in progress between two steps (closing the window while paused).
  void stopAll() { control_.stopAll(); }

  // An error or warning of the translation or the run, after its message box.
  void diagnostic(const Diagnostic& d);
  // A message box with the error icon inside a program's step (a formula's error, which the run
  // survives) is an error at that step's line.
  void messageBoxShown(const std::string& text, int flags);
  // The user edited the text: the marks of the last translation or run no longer apply.
  void editorEdited();

  // How often the status bar and the Variables panel follow a running program.
  static constexpr int kRunRefreshMilliseconds = 250;

 signals:
  // A run paused and the windows show where (tests and scripts follow the run by it).
  void paused();

 private:
  void onPauseBegan();
  void onPauseEnded();
  void onRunRefresh();
  void showWarnings();
  void refreshPanels();
  void showCallStack();
  WatchResult evaluate(const std::string& formula);
  bool inEditor(const std::string& file) const { return file == form_.machine.sourceName; }
  int caretLine() const;

  TForm1& form_;
  MainWindow& main_;
  LowLevelWindow& lowLevel_;
  Command command_;
  std::function<void()> refresh_;
  RunControl control_;
  QTimer runRefresh_;
  int runs_ = 0;  // Run commands in progress (a Run can nest in a running program's step)
  bool errorShown_ = false;
  bool panelsShown_ = false;
};

}  // namespace trel::gui
