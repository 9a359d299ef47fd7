#include "gui/qt_host.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

namespace trel::gui {

namespace {

constexpr auto kPumpInterval = std::chrono::milliseconds(10);
// Clock checks further apart than this make the stride shrink, closer than the second grow.
constexpr auto kSlowCheck = std::chrono::milliseconds(2);
constexpr auto kFastCheck = std::chrono::microseconds(250);

}  // namespace

QtHost::QtHost() : lastCheck_(Clock::now()), lastPump_(lastCheck_) {}

void QtHost::processEvents() {
  if (--countdown_ != 0) return;
  Clock::time_point now = Clock::now();
  auto sinceCheck = now - lastCheck_;
  lastCheck_ = now;
  if (sinceCheck > kSlowCheck && stride_ > 1)
    stride_ /= 2;
  else if (sinceCheck < kFastCheck && stride_ < kMaxStride)
    stride_ *= 2;
  countdown_ = stride_;
  if (now - lastPump_ >= kPumpInterval) pump();
}

void QtHost::pump() {
  ++pumps_;
  if (views_) views_->beforePump();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  lastPump_ = lastCheck_ = Clock::now();
}

QWidget* QtHost::dialogParent() const {
  return views_ ? views_->dialogParent() : nullptr;
}

void QtHost::showMessage(const std::string& text) {
  messageBox(text, "Trel", mb::kOk);
}

int QtHost::messageBox(const std::string& text, const std::string& caption, int flags) {
  int answer = askMessageBox(text, caption, flags);
  if (views_) views_->messageBoxShown(text, flags);
  return answer;
}

int QtHost::askMessageBox(const std::string& text, const std::string& caption, int flags) {
  return runMessageBox(dialogParent(), text, caption, flags);
}

std::optional<std::string> QtHost::inputBox(const std::string& caption, const std::string& prompt,
                                            const std::string& value) {
  return runInputBox(dialogParent(), caption, prompt, value);
}

std::optional<std::string> QtHost::openFileDialog(const FileDialogRequest& request) {
  std::optional<std::string> chosen;
  if (presetOpen_) {
    chosen = std::move(presetOpen_);
    presetOpen_.reset();
  } else {
    chosen = askOpenFile(request);
  }
  if (chosen) chosenFile_ = chosen;
  return chosen;
}

std::optional<std::string> QtHost::saveFileDialog(const FileDialogRequest& request) {
  std::optional<std::string> chosen = askSaveFile(request);
  if (chosen) chosenFile_ = chosen;
  return chosen;
}

std::optional<std::string> QtHost::askOpenFile(const FileDialogRequest& request) {
  return openDialog1_.open(dialogParent(), request);
}

std::optional<std::string> QtHost::askSaveFile(const FileDialogRequest& request) {
  return saveDialog1_.save(dialogParent(), request);
}

void QtHost::consoleLineAdded(const std::string&) {
  if (views_) views_->consoleLinesChanged();
}

void QtHost::consoleCleared() {
  if (views_) views_->consoleCleared();
}

void QtHost::consoleVisibilityChanged(bool visible) {
  if (views_) views_->consoleVisibilityChanged(visible);
}

void QtHost::editorTextReplaced() {
  if (views_) views_->editorTextReplaced();
}

void QtHost::diagnostic(const Diagnostic& d) {
  if (views_) views_->diagnostic(d);
}

uint64_t QtHost::makeForm(const std::string& name, const std::string& caption, int width,
                          int height) {
  return views_ ? views_->makeForm(name, caption, width, height) : 0;
}

void QtHost::makeLabel(uint64_t form, const std::string& name, const std::string& caption, int left,
                       int top, int height) {
  if (views_) views_->makeLabel(form, name, caption, left, top, height);
}

void QtHost::drawPixel(uint64_t form, uint32_t color, int x, int y) {
  if (views_) views_->drawPixel(form, color, x, y);
}

uint64_t QtHost::applicationHandle() {
  return views_ ? views_->mainWindowHandle() : 0;
}

void QtHost::endProcess(int status) {
  std::fflush(stdout);
  std::fflush(stderr);
  std::_Exit(status);
}

}  // namespace trel::gui
