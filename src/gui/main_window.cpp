#include "gui/main_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>

#include <algorithm>

#include "gui/fonts.h"
#include "gui/text_bytes.h"
#include "gui/window_placement.h"

namespace trel::gui {

namespace {

struct MenuItem {
  const char* menu;  // the top-level menu ("&" marks its Alt key); an item with no caption is that
                     // menu itself
  const char* caption;  // nullptr: a top-level item without sub-items
  const char* handler;  // the design's handler name, used as the action's object name
  MainCommand command;
  QList<QKeySequence> shortcuts;
  bool separated = false;  // a separator above the item
};

// The main menu, in order.
const std::vector<MenuItem>& menuItems() {
  static const std::vector<MenuItem> items = {
      {"&File", "New", "New1Click", MainCommand::New, {QKeySequence::New}},
      {"&File", "Open", "Open1Click", MainCommand::Open, {QKeySequence::Open}},
      {"&File", "Save", "Save1Click", MainCommand::Save, {QKeySequence::Save}},
      {"&File", "Exit", "Exit1Click", MainCommand::Exit, {}},
      {"&Run", "&Run", "Compile1Click", MainCommand::Run, {QKeySequence(Qt::Key_F9)}},
      {"&Run", "Build exe", "EXE1Click", MainCommand::BuildExe, {}},
      {"&Run", "Export to qnlib", "Exporttoqnlib1Click", MainCommand::Export, {}},
      {"&Run", "Icon", "Icon1Click", MainCommand::Icon, {}},
      {"&Run",
       "Stop",
       "StopClick",
       MainCommand::Stop,
       {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::SHIFT | Qt::Key_F5)},
       true},
      {"&Run", "Continue", "ContinueClick", MainCommand::Continue, {}},
      {"&Run",
       "Step",
       "StepClick",
       MainCommand::Step,
       {QKeySequence(Qt::Key_F8), QKeySequence(Qt::Key_F7)}},
      {"&Run",
       "Step over",
       "StepOverClick",
       MainCommand::StepOver,
       {QKeySequence(Qt::SHIFT | Qt::Key_F8)}},
      {"&Run",
       "Step out",
       "StepOutClick",
       MainCommand::StepOut,
       {QKeySequence(Qt::CTRL | Qt::Key_F8)}},
      {"&Run",
       "Run to cursor",
       "RunToCursorClick",
       MainCommand::RunToCursor,
       {QKeySequence(Qt::Key_F4)}},
      {"&Run",
       "Toggle breakpoint",
       "ToggleBreakpointClick",
       MainCommand::ToggleBreakpoint,
       {QKeySequence(Qt::Key_F5)},
       true},
      {"&Debug",
       "Show Low-level",
       "ShowLowlevel1Click",
       MainCommand::ShowLowLevel,
       {QKeySequence(Qt::Key_F11)}},
      {"&Debug", "Save debug log", "Savedebuglog1Click", MainCommand::SaveDebugLog, {}},
      {"&Debug",
       "List low-level proc",
       "Listlowlevelproc1Click",
       MainCommand::ListLowLevelProc,
       {}},
      {"&Help", nullptr, "Help1Click", MainCommand::Help, {QKeySequence::HelpContents}},
  };
  return items;
}

struct HiddenButton {
  const char* caption;
  const char* name;
  MainCommand command;
};

// The Options group's buttons from top to bottom; each runs the command of the menu item.
const HiddenButton kOptionButtons[] = {
    {"Open", "Button2", MainCommand::Open},
    {"Save", "Button3", MainCommand::Save},
    {"EXE", "Button4", MainCommand::BuildExe},
    {"Run", "Button1", MainCommand::Run},
    {"Show low lvl", "Button6", MainCommand::ShowLowLevel},
    {"Save log", "Button5", MainCommand::SaveDebugLog},
    {"Export to lib", "Button7", MainCommand::Export},
    {"Help", "Button8", MainCommand::Help},
};

QLabel* label(const char* text, QWidget* parent, int left, int top) {
  auto* l = new QLabel(QString::fromLatin1(text), parent);
  l->move(left, top);
  l->adjustSize();
  return l;
}

QGroupBox* group(const char* caption, QWidget* parent, QRect geometry) {
  auto* g = new QGroupBox(QString::fromLatin1(caption), parent);
  g->setGeometry(geometry);
  return g;
}

// The client area of the form design; the window may grow beyond it, never shrink below.
constexpr QSize kDesignClientSize(801, 609);

}  // namespace

MainWindow::MainWindow(const AssemblyLog& debug) {
  setWindowTitle(QStringLiteral("Trel"));
  setFont(formFont());
  auto* central = new QWidget(this);
  central->setMinimumSize(kDesignClientSize);
  setCentralWidget(central);

  sourceGroup_ = group("Source Code", central, {0, 0, 657, 609});
  QGroupBox* source = sourceGroup_;
  highlvl_ = new SourceEditor(source);
  highlvl_->setObjectName(QStringLiteral("highlvl"));
  highlvl_->setGeometry(8, 16, 633, 465);
  findBar_ = new FindBar(*highlvl_, source);
  connect(findBar_, &FindBar::shownOrHidden, this, &MainWindow::layoutControls);
  label5_ = label("Current execution point:", source, 8, 480);
  label5_->setObjectName(QStringLiteral("Label5"));
  // The design places Label6 at 128; a wider font than the design's moves it right of Label5.
  label6_ = label("0", source, std::max(128, label5_->x() + label5_->width() + 4), 480);
  label6_->setObjectName(QStringLiteral("Label6"));
  checkBox1_ = new QCheckBox(QStringLiteral("Only translate"), source);
  checkBox1_->setObjectName(QStringLiteral("CheckBox1"));
  checkBox1_->setGeometry(552, 488, std::max(89, checkBox1_->sizeHint().width()), 17);
  label6_->setFixedWidth(checkBox1_->x() - label6_->x() - 8);
  connect(checkBox1_, &QCheckBox::toggled, this, &MainWindow::onlyTranslateToggled);
  label1_ = label("Assembly log:", source, 8, 496);
  label1_->setObjectName(QStringLiteral("Label1"));
  debug_ = new LineView(
      {[&debug] { return debug.lineCount(); }, [&debug](size_t i) { return debug.line(i); },
       [&debug] { return debug.appendedCount() + debug.clearCount(); }},
      source);
  debug_->setObjectName(QStringLiteral("debug"));
  debug_->setGeometry(8, 512, 641, 89);
  QPalette memo = debug_->palette();
  memo.setColor(QPalette::Base, Qt::white);
  memo.setColor(QPalette::Text, Qt::black);
  debug_->setPalette(memo);

  functionsGroup_ = group("Functions", central, {664, 0, 137, 369});
  explorer_ = new QListWidget(functionsGroup_);
  explorer_->setObjectName(QStringLiteral("explorer"));
  explorer_->setGeometry(8, 16, 121, 345);
  connect(explorer_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { emit explorerClicked(explorer_->row(item)); });

  buildMenus();
  buildHiddenGroups(central);
  buildRunTools();
  central->installEventFilter(this);
  resize(defaultSize());
}

QSize MainWindow::defaultSize() const {
  // The bars' heights as the layout will give them; the central area at the design's size.
  int extra = menuBar()->sizeHint().height() + statusBar()->sizeHint().height();
  if (toolBar_ && !toolBar_->isHidden()) extra += toolBar_->sizeHint().height();
  return {kDesignClientSize.width(), kDesignClientSize.height() + extra};
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == centralWidget() && event->type() == QEvent::Resize) layoutControls();
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::layoutControls() {
  const QSize extra = (centralWidget()->size() - kDesignClientSize).expandedTo(QSize(0, 0));
  const int dw = extra.width();
  const int logGrowth = extra.height() / 3;
  const int editorGrowth = extra.height() - logGrowth;
  sourceGroup_->setGeometry(0, 0, 657 + dw, 609 + extra.height());
  const int editorHeight = 465 + editorGrowth;
  const int barHeight = findBar_->isVisible() ? findBar_->sizeHint().height() : 0;
  highlvl_->setGeometry(8, 16, 633 + dw, editorHeight - barHeight);
  if (barHeight) findBar_->setGeometry(8, 16 + editorHeight - barHeight, 633 + dw, barHeight);
  label5_->move(8, 480 + editorGrowth);
  checkBox1_->move(552 + dw, 488 + editorGrowth);
  label6_->move(label6_->x(), 480 + editorGrowth);
  label6_->setFixedWidth(checkBox1_->x() - label6_->x() - 8);
  label1_->move(8, 496 + editorGrowth);
  debug_->setGeometry(8, 512 + editorGrowth, 641 + dw, 89 + logGrowth);
  functionsGroup_->setGeometry(664 + dw, 0, 137, 369 + extra.height());
  explorer_->setGeometry(8, 16, 121, 345 + extra.height());
  optionsGroup_->move(656 + dw, 376);
  iconGroup_->move(664 + dw, 408);
}

void MainWindow::buildMenus() {
  QMenu* current = nullptr;
  QString currentTitle;
  for (const MenuItem& item : menuItems()) {
    QString title = QString::fromLatin1(item.menu);
    QAction* action = nullptr;
    if (!item.caption) {
      action = menuBar()->addAction(title);
    } else {
      if (!current || currentTitle != title) {
        if (currentTitle == QLatin1String("&File")) {
          auto* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
          editMenu_ = new EditMenu(*edit, *highlvl_, *findBar_);
        }
        current = menuBar()->addMenu(title);
        currentTitle = title;
        if (title == QLatin1String("&Debug")) debugMenu_ = current;
      }
      if (item.command == MainCommand::Exit) buildFileSubmenus(*current);
      if (item.separated) current->addSeparator();
      action = current->addAction(QString::fromLatin1(item.caption));
    }
    action->setObjectName(QString::fromLatin1(item.handler));
    if (!item.shortcuts.isEmpty()) action->setShortcuts(item.shortcuts);
    MainCommand command = item.command;
    connect(action, &QAction::triggered, this, [this, command] { emit commandRequested(command); });
    actions_.emplace_back(command, action);
  }
}

void MainWindow::buildFileSubmenus(QMenu& file) {
  file.addSeparator();
  recentMenu_ = file.addMenu(QStringLiteral("Open &recent"));
  recentMenu_->setObjectName(QStringLiteral("OpenRecentMenu"));
  examplesMenu_ = file.addMenu(QStringLiteral("E&xamples"));
  examplesMenu_->setObjectName(QStringLiteral("ExamplesMenu"));
  file.addSeparator();
}

void MainWindow::buildHiddenGroups(QWidget* central) {
  QGroupBox* options = group("Options", central, {656, 376, 105, 233});
  optionsGroup_ = options;
  int top = 16;
  for (const HiddenButton& b : kOptionButtons) {
    auto* button = new QPushButton(QString::fromLatin1(b.caption), options);
    button->setObjectName(QString::fromLatin1(b.name));
    button->setGeometry(8, top, 81, 17);
    MainCommand command = b.command;
    connect(button, &QPushButton::clicked, this,
            [this, command] { emit commandRequested(command); });
    top += 24;
  }
  options->hide();

  QGroupBox* icon = group("Icon", central, {664, 408, 105, 81});
  iconGroup_ = icon;
  label3_ = label("Make Exe first", icon, 8, 16);
  label3_->setObjectName(QStringLiteral("Label3"));
  QFont bold = label3_->font();
  bold.setBold(true);
  label3_->setFont(bold);
  label3_->adjustSize();
  label("Then select icons", icon, 8, 32)->setObjectName(QStringLiteral("Label4"));
  auto* change = new QPushButton(QStringLiteral("Change icon"), icon);
  change->setObjectName(QStringLiteral("Button10"));
  change->setGeometry(8, 52, 89, 21);
  connect(change, &QPushButton::clicked, this,
          [this] { emit commandRequested(MainCommand::Icon); });
  icon->hide();
}

void MainWindow::buildRunTools() {
  toolBar_ = addToolBar(QStringLiteral("Run"));
  toolBar_->setObjectName(QStringLiteral("RunToolBar"));
  toolBar_->setMovable(false);
  toolBar_->setToolButtonStyle(Qt::ToolButtonTextOnly);
  runButton_ = toolBar_->addAction(QStringLiteral("Run"));
  runButton_->setObjectName(QStringLiteral("RunButton"));
  runButton_->setToolTip(QStringLiteral("Run (F9)"));
  connect(runButton_, &QAction::triggered, this,
          [this] { emit commandRequested(MainCommand::Run); });
  for (MainCommand c : {MainCommand::Stop, MainCommand::Continue, MainCommand::Step,
                        MainCommand::StepOver, MainCommand::StepOut, MainCommand::RunToCursor})
    toolBar_->addAction(action(c));
  action(MainCommand::Continue)->setToolTip(QStringLiteral("Continue (F9)"));
  // A run brings up the console, which takes the focus: Stop must be at hand there too.
  action(MainCommand::Stop)->setShortcutContext(Qt::ApplicationShortcut);

  runStatus_ = new QLabel(this);
  runStatus_->setObjectName(QStringLiteral("RunStatus"));
  warningStatus_ = new QLabel(this);
  warningStatus_->setObjectName(QStringLiteral("WarningStatus"));
  warningStatus_->setStyleSheet(QStringLiteral("color: #8a5a00"));
  statusBar()->addWidget(runStatus_);
  statusBar()->addWidget(warningStatus_, 1);

  variables_ = new VariablesPanel(this);
  watch_ = new WatchPanel(this);
  callStack_ = new CallStackPanel(this);
  // The Variables panel above the Watch list and the Call stack, which share a place as tabs: three
  // panels one above the other would make the fixed window taller than its editor.
  addDockWidget(Qt::RightDockWidgetArea, variables_);
  splitDockWidget(variables_, watch_, Qt::Vertical);
  tabifyDockWidget(watch_, callStack_);
  debugMenu_->addSeparator();
  for (QDockWidget* panel : std::initializer_list<QDockWidget*>{variables_, watch_, callStack_}) {
    panel->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
    panel->hide();
    debugMenu_->addAction(panel->toggleViewAction());
  }
  showRunState(false, false);
}

void MainWindow::showRunState(bool running, bool paused) {
  runButton_->setEnabled(!running);
  action(MainCommand::Stop)->setEnabled(running);
  action(MainCommand::Continue)->setEnabled(paused);
}

void MainWindow::showRunStatus(const QString& text) {
  if (runStatus_->text() != text) runStatus_->setText(text);
}

void MainWindow::showWarnings(const QString& text) {
  if (warningStatus_->text() != text) warningStatus_->setText(text);
}

void MainWindow::showDebugPanels() {
  for (QDockWidget* panel : std::initializer_list<QDockWidget*>{variables_, watch_, callStack_})
    panel->show();
  watch_->raise();
  // The window grows by the panels' width once its layout has taken them in.
  QTimer::singleShot(0, this, &MainWindow::keepOnScreen);
}

void MainWindow::keepOnScreen() {
  if (!isVisible()) return;
  placeWindow(*this, frameGeometry().topLeft());
}

QAction* MainWindow::action(MainCommand command) const {
  for (const auto& [c, a] : actions_)
    if (c == command) return a;
  return nullptr;
}

void MainWindow::showExplorer(const std::vector<std::string>& entries) {
  if (entries == shownEntries_) return;
  shownEntries_ = entries;
  int scroll = explorer_->verticalScrollBar() ? explorer_->verticalScrollBar()->value() : 0;
  explorer_->setUpdatesEnabled(false);
  explorer_->clear();
  QStringList items;
  items.reserve(static_cast<qsizetype>(entries.size()));
  for (const std::string& e : entries) items << fromBytes(e);
  explorer_->addItems(items);
  explorer_->verticalScrollBar()->setValue(scroll);
  explorer_->setUpdatesEnabled(true);
}

void MainWindow::showExecutionPoint(const std::string& text) {
  if (text == shownPoint_) return;
  shownPoint_ = text;
  // A working text can be any length and hold line breaks; the label shows one line of what fits.
  QString shown = fromBytes(text.size() > 300 ? text.substr(0, 300) : text);
  for (QChar& c : shown)
    if (c.unicode() < 32) c = QLatin1Char(' ');
  label6_->setText(label6_->fontMetrics().elidedText(shown, Qt::ElideRight, label6_->width()));
}

void MainWindow::showOnlyTranslate(bool checked) {
  if (checkBox1_->isChecked() == checked) return;
  QSignalBlocker block(checkBox1_);
  checkBox1_->setChecked(checked);
}

void MainWindow::showBuiltFile(const std::string& name) {
  label3_->setText(fromBytes(name));
  label3_->adjustSize();
}

void MainWindow::centreOnScreen() {
  centreOnPrimaryScreen(*this);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  emit closeRequested(event);
}

}  // namespace trel::gui
