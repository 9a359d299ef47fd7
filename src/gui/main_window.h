// The main window "Trel" as the user sees it in IDE mode: the source editor, the execution point,
// "Only translate", the assembly log, the function list, the hidden Options and Icon groups and the
// main menu. It holds no state of its own: it shows TForm1 and reports what the user does.
#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QToolBar>

#include <string>
#include <vector>

#include "gui/call_stack_panel.h"
#include "gui/edit_menu.h"
#include "gui/find_bar.h"
#include "gui/line_view.h"
#include "gui/source_editor.h"
#include "gui/variables_panel.h"
#include "gui/watch_panel.h"
#include "machine/assembly_log.h"

namespace trel::gui {

// The main window's commands; each menu item and hidden button runs one of them.
enum class MainCommand {
  New,
  Open,
  Save,
  Exit,
  Run,
  BuildExe,
  Export,
  Icon,
  ShowLowLevel,
  SaveDebugLog,
  ListLowLevelProc,
  Help,
  // run control and the debugger
  Stop,
  Continue,
  Step,
  StepOver,
  StepOut,
  RunToCursor,
  ToggleBreakpoint
};

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit MainWindow(const AssemblyLog& debug);

  SourceEditor& editor() { return *highlvl_; }
  LineView& debugView() { return *debug_; }
  QListWidget& explorer() { return *explorer_; }
  QCheckBox& onlyTranslate() { return *checkBox1_; }
  QLabel& executionPoint() { return *label6_; }
  QLabel& builtFileLabel() { return *label3_; }
  // The menu item of a command (for tests and shortcuts).
  QAction* action(MainCommand command) const;
  // The tool bar's Run button (the menu's Run stays available while a program runs, as the
  // Run command may start a nested run).
  QAction& runButton() { return *runButton_; }
  QToolBar& runToolBar() { return *toolBar_; }
  VariablesPanel& variablesPanel() { return *variables_; }
  WatchPanel& watchPanel() { return *watch_; }
  CallStackPanel& callStackPanel() { return *callStack_; }
  QLabel& runStatus() { return *runStatus_; }
  QLabel& warningStatus() { return *warningStatus_; }
  FindBar& findBar() { return *findBar_; }
  EditMenu& editMenu() { return *editMenu_; }
  QAction* action(EditCommand command) const { return editMenu_->action(command); }
  // File > Open recent and File > Examples; the session fills them.
  QMenu& recentMenu() { return *recentMenu_; }
  QMenu& examplesMenu() { return *examplesMenu_; }
  // The window's size when nothing was remembered: the client area the form design gives, plus
  // the menu, tool and status bars.
  QSize defaultSize() const;

  // Shows the function list's entries, keeping the selection and scroll position when they did
  // not change.
  void showExplorer(const std::vector<std::string>& entries);
  void showExecutionPoint(const std::string& text);
  void showOnlyTranslate(bool checked);
  void showBuiltFile(const std::string& name);
  // Centres the window at its real size (frame included) on the screen, wholly on it.
  void centreOnScreen();
  // Enables the run commands that fit: Stop while a program runs, Continue while it is paused.
  void showRunState(bool running, bool paused);
  void showRunStatus(const QString& text);
  void showWarnings(const QString& text);
  // Shows the Variables, Watch and Call stack panels, moving the window so that it stays on the
  // screen as it grows.
  void showDebugPanels();
  void keepOnScreen();

 signals:
  void commandRequested(trel::gui::MainCommand command);
  void explorerClicked(int row);
  void onlyTranslateToggled(bool checked);
  void closeRequested(QCloseEvent* event);

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildMenus();
  void buildFileSubmenus(QMenu& file);
  // Places the controls: at the default size where the form design puts them; a larger window
  // gives its extra width and height to the editor and the assembly log.
  void layoutControls();
  void buildHiddenGroups(QWidget* central);
  void buildRunTools();

  SourceEditor* highlvl_;
  LineView* debug_;
  QListWidget* explorer_;
  QCheckBox* checkBox1_;
  QLabel* label6_;
  QLabel* label5_ = nullptr;
  QLabel* label1_ = nullptr;
  QGroupBox* sourceGroup_ = nullptr;
  QGroupBox* functionsGroup_ = nullptr;
  QGroupBox* optionsGroup_ = nullptr;
  QGroupBox* iconGroup_ = nullptr;
  FindBar* findBar_ = nullptr;
  EditMenu* editMenu_ = nullptr;
  QMenu* recentMenu_ = nullptr;
  QMenu* examplesMenu_ = nullptr;
  QLabel* label3_ = nullptr;
  QAction* runButton_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  VariablesPanel* variables_ = nullptr;
  WatchPanel* watch_ = nullptr;
  CallStackPanel* callStack_ = nullptr;
  QLabel* runStatus_ = nullptr;
  QLabel* warningStatus_ = nullptr;
  QMenu* debugMenu_ = nullptr;
  std::vector<std::pair<MainCommand, QAction*>> actions_;
  std::vector<std::string> shownEntries_;
  std::string shownPoint_;
};

}  // namespace trel::gui
