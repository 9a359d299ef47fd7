// The main window "Trel" as the user sees it in IDE mode: the source editor, the execution point,
// "Only translate", the assembly log, the function list, the hidden Options and Icon groups and the
// main menu. It holds no state of its own: it shows TForm1 and reports what the user does.
#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>

#include <string>
#include <vector>

#include "gui/line_view.h"
#include "gui/source_editor.h"
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
  Help
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

  // Shows the function list's entries, keeping the selection and scroll position when they did
  // not change.
  void showExplorer(const std::vector<std::string>& entries);
  void showExecutionPoint(const std::string& text);
  void showOnlyTranslate(bool checked);
  void showBuiltFile(const std::string& name);
  void centreOnScreen();

 signals:
  void commandRequested(trel::gui::MainCommand command);
  void explorerClicked(int row);
  void onlyTranslateToggled(bool checked);
  void closeRequested(QCloseEvent* event);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildMenus();
  void buildHiddenGroups(QWidget* central);

  SourceEditor* highlvl_;
  LineView* debug_;
  QListWidget* explorer_;
  QCheckBox* checkBox1_;
  QLabel* label6_;
  QLabel* label3_ = nullptr;
  std::vector<std::pair<MainCommand, QAction*>> actions_;
  std::vector<std::string> shownEntries_;
  std::string shownPoint_;
};

}  // namespace trel::gui
