// The Qt host: the platform services of the core on Qt. Dialogs and message boxes are Qt's; the
// console, the editor, script-made windows and pumps are passed to the windows through QtViews.
//
// processEvents() is called twice per interpreter step. Serving Qt's queue costs microseconds even
// when it is empty, so the host counts calls and looks at the clock only every `stride` calls; it
// pumps when about 10 ms have passed since the last pump. The stride adapts: when steps are slow
// (a heavy formula, a native call) it shrinks so that a click still gets through within a few
// milliseconds; when they are fast it grows back to 1,024.
#pragma once

#include <QWidget>

#include <chrono>
#include <cstdint>

#include "gui/dialogs.h"
#include "machine/host.h"

namespace trel::gui {

// What the host passes on to the windows.
class QtViews {
 public:
  virtual ~QtViews() = default;
  // Right before Qt's queue is served during a run: bring the log, console and labels up to date.
  virtual void beforePump() = 0;
  virtual void consoleLinesChanged() = 0;
  virtual void consoleCleared() = 0;
  virtual void consoleVisibilityChanged(bool visible) = 0;
  virtual void editorTextReplaced() = 0;
  // An error or warning tied to a source line (after its message box).
  virtual void diagnostic(const Diagnostic& d) { (void)d; }
  // A message box was shown and answered (an error's box of a running program marks its line).
  virtual void messageBoxShown(const std::string& text, int flags) {
    (void)text;
    (void)flags;
  }
  virtual uint64_t makeForm(const std::string& name, const std::string& caption, int width,
                            int height) = 0;
  virtual void makeLabel(uint64_t form, const std::string& name, const std::string& caption,
                         int left, int top, int height) = 0;
  virtual void drawPixel(uint64_t form, uint32_t colour, int x, int y) = 0;
  virtual uint64_t mainWindowHandle() = 0;
  // The window dialogs belong to (null: none).
  virtual QWidget* dialogParent() = 0;
};

class QtHost : public Host {
 public:
  QtHost();
  void attach(QtViews* views) { views_ = views; }

  void processEvents() override;
  // Serves Qt's queue now, whatever the clock says.
  void pump();
  uint64_t pumpCount() const { return pumps_; }

  void showMessage(const std::string& text) override;
  // Asks askMessageBox(), then tells the windows that the box was shown.
  int messageBox(const std::string& text, const std::string& caption, int flags) final;
  std::optional<std::string> inputBox(const std::string& caption, const std::string& prompt,
                                      const std::string& value) override;
  // The file dialogs: askOpenFile and askSaveFile, unless an answer was preset. The chosen name is
  // kept until forgetChosenFile().
  std::optional<std::string> openFileDialog(const FileDialogRequest& request) final;
  std::optional<std::string> saveFileDialog(const FileDialogRequest& request) final;
  // The next open dialog answers `path` without showing itself (Open recent, Examples).
  void presetOpenAnswer(std::string path) { presetOpen_ = std::move(path); }
  const std::optional<std::string>& chosenFile() const { return chosenFile_; }
  void forgetChosenFile() {
    chosenFile_.reset();
    presetOpen_.reset();
  }

  void consoleLineAdded(const std::string& line) override;
  void consoleCleared() override;
  void consoleVisibilityChanged(bool visible) override;
  void editorTextReplaced() override;
  void diagnostic(const Diagnostic& d) override;

  uint64_t makeForm(const std::string& name, const std::string& caption, int width,
                    int height) override;
  void makeLabel(uint64_t form, const std::string& name, const std::string& caption, int left,
                 int top, int height) override;
  void drawPixel(uint64_t form, uint32_t color, int x, int y) override;
  uint64_t applicationHandle() override;
  void endProcess(int status) override;

 protected:
  QWidget* dialogParent() const;
  // The message box itself: Qt's dialog, answering the button pressed.
  virtual int askMessageBox(const std::string& text, const std::string& caption, int flags);
  virtual std::optional<std::string> askOpenFile(const FileDialogRequest& request);
  virtual std::optional<std::string> askSaveFile(const FileDialogRequest& request);

 private:
  using Clock = std::chrono::steady_clock;
  static constexpr uint32_t kMaxStride = 1024;

  QtViews* views_ = nullptr;
  uint32_t countdown_ = kMaxStride;
  uint32_t stride_ = kMaxStride;
  Clock::time_point lastCheck_;
  Clock::time_point lastPump_;
  uint64_t pumps_ = 0;
  FileDialogMemory openDialog1_;
  FileDialogMemory saveDialog1_;
  std::optional<std::string> presetOpen_;
  std::optional<std::string> chosenFile_;
};

}  // namespace trel::gui
