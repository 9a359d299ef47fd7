// The host: every platform service the core needs goes through this interface. There are three
// hosts: Qt (the IDE and standalone windows), terminal (qn and standalone runs without a display)
// and a scriptable test host.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "machine/diagnostic.h"

namespace trel {

struct FileDialogRequest {
  std::string filter;            // "Source|*.qn|Icon file|*.exe"
  std::string defaultExtension;  // ".qn"
  std::string initialDirectory;  // empty: the dialog's last folder
};

// The main window's two file dialogs. OpenDialog1 serves Open, the icon command and running
// programs (__OPEN@@); SaveDialog1 serves Save. An empty folder means the dialog's last one.
inline FileDialogRequest OpenDialog1(std::string initialDirectory = {}) {
  return {"Source|*.qn|Icon file|*.exe", ".qn", std::move(initialDirectory)};
}
inline FileDialogRequest SaveDialog1(std::string initialDirectory = {}) {
  return {"Source|*.qn", ".qn", std::move(initialDirectory)};
}

// Message box style flags: the buttons in the low four bits, the icon in the next four.
namespace mb {
inline constexpr int kOk = 0x00, kOkCancel = 0x01, kAbortRetryIgnore = 0x02, kYesNoCancel = 0x03,
                     kYesNo = 0x04, kRetryCancel = 0x05;
inline constexpr int kIconError = 0x10, kIconQuestion = 0x20, kIconWarning = 0x30,
                     kIconInformation = 0x40;
// Button numbers a message box answers with.
inline constexpr int kIdOk = 1, kIdCancel = 2, kIdAbort = 3, kIdRetry = 4, kIdIgnore = 5,
                     kIdYes = 6, kIdNo = 7;
}  // namespace mb

class Host {
 public:
  virtual ~Host() = default;

  // Serves pending events: clicks on made windows, the console's ">>" button, Run, "Only
  // translate". The interpreter calls it twice per step, so it must be cheap when nothing waits.
  virtual void processEvents() = 0;

  // A plain message box (no caption of its own), also used by the error display.
  virtual void showMessage(const std::string& text) = 0;
  // A message box with caption and style flags; answers the number of the button pressed.
  virtual int messageBox(const std::string& text, const std::string& caption, int flags) = 0;
  // An input box; nothing when the user cancels.
  virtual std::optional<std::string> inputBox(const std::string& caption, const std::string& prompt,
                                              const std::string& value) = 0;
  virtual std::optional<std::string> openFileDialog(const FileDialogRequest& request) = 0;
  virtual std::optional<std::string> saveFileDialog(const FileDialogRequest& request) = 0;

  // The console window's output memo and visibility changed (see ConsoleModel).
  virtual void consoleLineAdded(const std::string& line) { (void)line; }
  virtual void consoleCleared() {}
  virtual void consoleVisibilityChanged(bool visible) { (void)visible; }
  // The source editor's text (Machine::highlvl) was replaced by a running program.
  virtual void editorTextReplaced() {}
  // An error or warning tied to a source line, after the message box that showed it (if any).
  virtual void diagnostic(const Diagnostic& d) { (void)d; }

  // Script-made windows. makeForm answers the new window's native handle; labels and pixels go to
  // a window given by that handle (0: no window, the label is made without a parent).
  virtual uint64_t makeForm(const std::string& name, const std::string& caption, int width,
                            int height) = 0;
  virtual void makeLabel(uint64_t form, const std::string& name, const std::string& caption,
                         int left, int top, int height) = 0;
  virtual void drawPixel(uint64_t form, uint32_t color, int x, int y) = 0;
  // The native handle of the application window ("!AH").
  virtual uint64_t applicationHandle() = 0;

  // Ends the process with the status. A test host may record the request and return instead; the
  // caller then ends its run as if the process had ended.
  virtual void endProcess(int status) = 0;
};

}  // namespace trel
