#include "gui/session.h"

#include "rtl/errors.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "gui/made_windows_icon.h"
#include "gui/window_placement.h"
#include "rtl/text.h"

namespace trel::gui {

namespace {

// The handler each main-window command runs (Exit closes the window instead).
struct CommandHandler {
  MainCommand command;
  void (TForm1::*handler)();
};
constexpr CommandHandler kHandlers[] = {
    {MainCommand::New, &TForm1::New1Click},
    {MainCommand::Open, &TForm1::Button2Click},
    {MainCommand::Save, &TForm1::Button3Click},
    {MainCommand::BuildExe, &TForm1::Button4Click},
    {MainCommand::Export, &TForm1::Button7Click},
    {MainCommand::Icon, &TForm1::Button10Click},
    {MainCommand::ShowLowLevel, &TForm1::Button6Click},
    {MainCommand::SaveDebugLog, &TForm1::Button5Click},
    {MainCommand::ListLowLevelProc, &TForm1::Listlowlevelproc1Click},
    {MainCommand::Help, &TForm1::Button8Click},
};

constexpr int kTimer1Interval = 100;

constexpr int kSplashMilliseconds = 2000;
const QColor kKeywordColour(255, 102, 0);

// While the editor holds unsaved changes, its text goes to the recovery file this often, unless
// TREL_AUTOSAVE_MS gives another number of milliseconds.
constexpr int kAutosaveInterval = 30000;

int autosaveInterval() {
  bool ok = false;
  const int ms = qEnvironmentVariableIntValue("TREL_AUTOSAVE_MS", &ok);
  return ok && ms > 0 ? ms : kAutosaveInterval;
}

// Typing in a long source copies the whole text each time, so wait for a pause there.
constexpr int kLongSourceLines = 20000;
constexpr int kLongSourceSyncDelay = 250;

// Brings a window to the front. The offscreen platform (headless tests) cannot and would warn.
void bringToFront(QWidget& window) {
  if (QGuiApplication::platformName() == QLatin1String("offscreen")) return;
  window.raise();
  window.activateWindow();
}

}  // namespace

Session::Session(QtHost& host, std::vector<std::string> arguments)
    : host_(host),
      form_(host, std::move(arguments)),
      main_(std::make_unique<MainWindow>(form_.machine.debug)),
      console_(std::make_unique<ConsoleWindow>(form_.machine.console)),
      lowLevel_(std::make_unique<LowLevelWindow>()),
      help_(std::make_unique<HelpWindow>()),
      made_([this](const std::string& senderClass, const std::string& name) {
        command([&] { form_.machine.MyFormClick(senderClass, name); });
      }),
      quit_([](int status) { QCoreApplication::exit(status); }) {
  debugging_ = std::make_unique<Debugging>(
      form_, *main_, *lowLevel_, [this](const std::function<void()>& h) { return command(h); },
      [this] { refresh(); });
  host_.attach(this);
  timer1_.setSingleShot(true);
  timer1_.setInterval(kTimer1Interval);
  connect(&timer1_, &QTimer::timeout, this, &Session::onTimer1);
  editorSync_.setSingleShot(true);
  connect(&editorSync_, &QTimer::timeout, this, [this] { command([] {}); });

  // Commands run from the event loop rather than inside the menu's own event handling; a run
  // started there can still be re-entered from its pumps.
  connect(main_.get(), &MainWindow::commandRequested, this, &Session::runCommand,
          Qt::QueuedConnection);
  connect(main_.get(), &MainWindow::explorerClicked, this, &Session::onExplorerClicked);
  connect(main_.get(), &MainWindow::onlyTranslateToggled, this,
          [this](bool checked) { form_.machine.CheckBox1 = checked; });
  connect(main_.get(), &MainWindow::closeRequested, this, &Session::onMainWindowClose);
  connect(&main_->editor(), &SourceEditor::userEdited, this, &Session::onEditorEdited);
  connect(&main_->editor(), &SourceEditor::helpRequested, this, &Session::helpAtCursor);
  connect(&main_->editor(), &QsciScintilla::modificationChanged, this, &Session::updateCaption);
  connect(main_->recentMenu().menuAction(), &QAction::hovered, this, &Session::fillRecentMenu);
  connect(&main_->recentMenu(), &QMenu::aboutToShow, this, &Session::fillRecentMenu);
  autosave_.setInterval(autosaveInterval());
  connect(&autosave_, &QTimer::timeout, this, &Session::autosaveNow);
  connect(console_.get(), &ConsoleWindow::runLineRequested, this, [this] {
    command([this] { form_.ConsoleButton1Click(); });
    console_->clearInput();
  });
  connect(console_.get(), &ConsoleWindow::closedByUser, this,
          [this] { form_.machine.console.hide(); });
  connect(lowLevel_.get(), &LowLevelWindow::closed, this,
          [this] { form_.lowLevelVisible = false; });
  connect(help_.get(), &HelpWindow::closed, this, [this] { form_.helpVisible = false; });
  qApp->installEventFilter(this);
}

Session::~Session() {
  qApp->removeEventFilter(this);
  host_.attach(nullptr);
}

void Session::start() {
  main_->editor().qnLexer().setKeywordColour(kKeywordColour);
  // A built program's windows, its message boxes among them, carry the icon of the executable
  // its program is read from.
  if (!form_.ideMode())
    if (QIcon icon = programIcon(form_.executablePath); !icon.isNull())
      QApplication::setWindowIcon(icon);
  form_.FormCreate();  // shows its own errors and goes on
  main_->editor().loadLines(form_.machine.highlvl);
  form_.highlvlChange();
  if (!form_.firstArgument().empty()) {
    splash_ = std::make_unique<SplashWindow>();
    splash_->showFor(kSplashMilliseconds);
  }
  refresh();
  if (form_.ideMode()) {
    fillExamplesMenu();
    restorePlaces();
  }
  if (!placesRestored_) main_->centreOnScreen();
  main_->show();
  // Only now does the window manager frame the window: centre it again at its real size.
  QTimer::singleShot(0, this, [this] {
    if (placesRestored_)
      main_->keepOnScreen();
    else
      main_->centreOnScreen();
  });
  if (splash_) bringToFront(*splash_);
  if (form_.timer1Enabled) timer1_.start();
  if (form_.ideMode()) {
    offerRecovery();
    autosave_.start();
    // For tests of a whole IDE process only: unsaved edits, as if typed at the caret.
    const QByteArray typed = qgetenv("TREL_TEST_TYPED_TEXT");
    if (!typed.isEmpty())
      main_->editor().SendScintilla(SourceEditor::SCI_ADDTEXT,
                                    static_cast<unsigned long>(typed.size()), typed.constData());
  }
}

bool Session::command(const std::function<void()>& handler) {
  syncEditorToForm();
  bool ok = true;
  try {
    handler();
  } catch (const std::exception& e) {
    showError(form_.machine, e);
    ok = false;
  }
  refresh();
  if (quitAfterRuns_ && !form_.machine.frame) {
    int status = *quitAfterRuns_;
    quitAfterRuns_.reset();
    quit_(status);
  }
  if (standaloneRunOver_) QTimer::singleShot(0, this, &Session::endWhenNoWindowIsVisible);
  return ok;
}

void Session::runCommand(MainCommand c) {
  if (c == MainCommand::Exit) {
    main_->close();
    return;
  }
  if (c == MainCommand::Run) {
    debugging_->run();
    return;
  }
  if (c > MainCommand::Help) {
    debugging_->handle(c);
    return;
  }
  for (const CommandHandler& h : kHandlers) {
    if (h.command != c) continue;
    host_.forgetChosenFile();
    bool ok = command([this, &h] { (form_.*h.handler)(); });
    if (ok) afterCommand(c);
    return;
  }
}

void Session::syncEditorToForm() {
  if (!editorDirty_) return;
  editorDirty_ = false;
  editorSync_.stop();
  // Only the lines an edit touched are made anew: copying every line of a long text took about
  // 10 ms a pause.
  resplitAtLineBreaks(form_.machine.highlvl, main_->editor().bytes());
  form_.highlvlChange();
}

void Session::onEditorEdited() {
  debugging_->editorEdited();
  autosaveDirty_ = true;
  editorDirty_ = true;
  editorSync_.start(main_->editor().lines() > kLongSourceLines ? kLongSourceSyncDelay : 0);
}

void Session::onExplorerClicked(int row) {
  command([this, row] { form_.explorerClick(row); });
  if (form_.explorerHoldsLowLevel) {
    presentLowLevel();
  } else {
    main_->editor().selectInCrLfText(form_.machine.highlvl, form_.selStart, form_.selLength);
    main_->editor().setFocus();
  }
}

void Session::presentLowLevel() {
  if (!form_.lowLevelVisible) return;
  lowLevel_->showSnapshot(form_.lowLevelMemo1, form_.lowLevelMemo2, form_.lowLevelSelectedLine);
  if (!lowLevel_->isVisible()) {
    if (viewerPlace_)
      placeWindow(*lowLevel_, *viewerPlace_);
    else
      centreWindow(*lowLevel_, main_->frameGeometry().center());
  }
  lowLevel_->show();
  bringToFront(*lowLevel_);
}

void Session::presentHelp() {
  if (!form_.helpVisible) return;
  help_->showText(form_.RichEdit1);
  if (!help_->isVisible()) centreWindow(*help_, main_->frameGeometry().center());
  help_->show();
  bringToFront(*help_);
}

void Session::refresh() {
  refreshPending_ = false;
  main_->debugView().sync();
  main_->showExecutionPoint(form_.machine.Label6());
  main_->showOnlyTranslate(form_.machine.CheckBox1);
  main_->showExplorer(form_.explorer);
  if (form_.Label3 != shownLabel3_) {
    shownLabel3_ = form_.Label3;
    main_->showBuiltFile(form_.Label3);
  }
  console_->sync();
}

void Session::scheduleRefresh() {
  if (refreshPending_) return;
  refreshPending_ = true;
  QTimer::singleShot(0, this, &Session::refresh);
}

void Session::beforePump() {
  refresh();
}

void Session::consoleLinesChanged() {
  scheduleRefresh();
}

void Session::consoleCleared() {
  console_->reset();
  scheduleRefresh();
}

void Session::placeConsole() {
  if (consolePlaced_) return;
  consolePlaced_ = true;
  if (consolePlace_)
    placeWindow(*console_, *consolePlace_);
  else if (main_->isVisible())
    placeWindow(*console_, main_->frameGeometry().topLeft() + QPoint(200, 140));
  else
    centreOnPrimaryScreen(*console_);
}

void Session::consoleVisibilityChanged(bool visible) {
  if (!visible) {
    console_->hide();
    return;
  }
  placeConsole();
  console_->sync();
  console_->show();
  bringToFront(*console_);
}

void Session::editorTextReplaced() {
  editorDirty_ = false;
  editorSync_.stop();
  main_->editor().replaceLines(form_.machine.highlvl);
  scheduleRefresh();
}

void Session::diagnostic(const Diagnostic& d) {
  debugging_->diagnostic(d);
}

void Session::messageBoxShown(const std::string& text, int flags) {
  debugging_->messageBoxShown(text, flags);
}

uint64_t Session::makeForm(const std::string& name, const std::string& caption, int width,
                           int height) {
  return made_.makeForm(name, caption, width, height);
}

void Session::makeLabel(uint64_t form, const std::string& name, const std::string& caption,
                        int left, int top, int height) {
  made_.makeLabel(form, name, caption, left, top, height);
}

void Session::drawPixel(uint64_t form, uint32_t colour, int x, int y) {
  made_.drawPixel(form, colour, x, y);
}

uint64_t Session::mainWindowHandle() {
  return static_cast<uint64_t>(main_->winId());
}

QWidget* Session::dialogParent() {
  if (main_->isVisible()) return main_.get();
  if (console_->isVisible()) return console_.get();
  return nullptr;
}

void Session::onTimer1() {
  const bool standalone = !form_.ideMode();
  if (standalone) main_->hide();
  bool ok = command([this] { form_.Timer1Timer(); });
  if (!standalone) return;
  // The program returned without ending the process: it ends when its last window closes.
  exitStatus_ = ok && !form_.startupReportedError ? 0 : 1;
  standaloneRunOver_ = true;
  QTimer::singleShot(0, this, &Session::endWhenNoWindowIsVisible);
}

void Session::endWhenNoWindowIsVisible() {
  if (!standaloneRunOver_) return;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (!w->isVisible() || w == splash_.get()) continue;
    Qt::WindowType type = w->windowType();
    if (type == Qt::Popup || type == Qt::ToolTip) continue;
    return;
  }
  standaloneRunOver_ = false;  // end once
  quit_(exitStatus_);
}

bool Session::eventFilter(QObject* watched, QEvent* event) {
  if (standaloneRunOver_ && (event->type() == QEvent::Hide || event->type() == QEvent::Close)) {
    auto* w = qobject_cast<QWidget*>(watched);
    if (w && w->isWindow()) QTimer::singleShot(0, this, &Session::endWhenNoWindowIsVisible);
  }
  return QObject::eventFilter(watched, event);
}

void Session::endOnSignal(int signal) {
  syncEditorToForm();
  try {
    form_.FormClose();
    if (form_.ideMode()) {
      std::error_code ignored;
      std::filesystem::remove(recoveryPath(), ignored);
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "trel: %s\n", errorText(e).c_str());
  }
  std::fflush(stdout);
  if (debugging_->isPaused()) {
    quitWhenRunsEnd(128 + signal);
    return;
  }
  if (form_.machine.frame)
    std::_Exit(128 + signal);  // a running program would never give control back
  quit_(128 + signal);
}

void Session::quitWhenRunsEnd(int status) {
  // A paused run waits in an event loop of its own: told to stop, it ends between two steps and
  // the command that started it returns, which ends the application.
  quitAfterRuns_ = status;
  debugging_->stopAll();
}

void Session::onMainWindowClose(QCloseEvent* event) {
  syncEditorToForm();
  try {
    form_.FormClose();
  } catch (const std::exception& e) {
    // The editor text could not be kept: closing now would lose it, so the user decides.
    int answer =
        host_.messageBox(errorText(e) + "\n\nClose anyway? The editor text has not been saved.",
                         "Trel", mb::kYesNo | mb::kIconWarning);
    if (answer != mb::kIdYes) {
      event->ignore();
      return;
    }
  }
  event->accept();
  if (form_.ideMode()) {
    rememberPlaces();
    std::error_code ignored;
    std::filesystem::remove(recoveryPath(), ignored);  // code.qn holds the text now
  }
  if (debugging_->isPaused()) {
    quitWhenRunsEnd(exitStatus_);
    return;
  }
  if (form_.machine.frame) {
    // A program is running in a pump below this handler; the event loop would never get control
    // back from it, so the process ends here.
    std::fflush(stdout);
    std::_Exit(exitStatus_);
  }
  quit_(exitStatus_);
}

}  // namespace trel::gui
