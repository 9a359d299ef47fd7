// The terminal host: console lines go to standard output as they are added, message boxes to
// standard error (caption, ": ", text), and dialogs take their answers from a list (qn --answers)
// or, when asked to, from standard input.
#pragma once

#include <chrono>
#include <cstdio>
#include <deque>
#include <string>

#include "machine/host.h"

namespace trel {

class TerminalHost : public Host {
 public:
  TerminalHost();
  ~TerminalHost() override;

  // Answers for dialogs, used in order; with none left a dialog is cancelled.
  std::deque<std::string> answers;
  // Read dialog answers from standard input once the list is empty (a standalone program run in
  // a terminal asks its user).
  bool askOnStandardInput = false;
  // Where message boxes go (standard error unless a command prints its message as its output).
  std::FILE* messageStream = stderr;
  // Print diagnostics (FILE:LINE: error: MESSAGE) on standard error after the message lines.
  bool printDiagnostics = false;

  void processEvents() override;
  void showMessage(const std::string& text) override;
  int messageBox(const std::string& text, const std::string& caption, int flags) override;
  std::optional<std::string> inputBox(const std::string& caption, const std::string& prompt,
                                      const std::string& value) override;
  std::optional<std::string> openFileDialog(const FileDialogRequest& request) override;
  std::optional<std::string> saveFileDialog(const FileDialogRequest& request) override;
  void consoleLineAdded(const std::string& line) override;
  void diagnostic(const Diagnostic& d) override;
  uint64_t makeForm(const std::string& name, const std::string& caption, int width,
                    int height) override;
  void makeLabel(uint64_t form, const std::string& name, const std::string& caption, int left,
                 int top, int height) override;
  void drawPixel(uint64_t form, uint32_t color, int x, int y) override;
  uint64_t applicationHandle() override { return 1; }
  void endProcess(int status) override;

  void flush();

 private:
  std::optional<std::string> nextAnswer(const std::string& prompt);

  uint32_t pumpCalls_ = 0;
  std::chrono::steady_clock::time_point lastFlush_;
  uint64_t nextFormHandle_ = 2;
};

// One message box as one line: CR LF and lone line breaks inside the text become blanks.
std::string messageLine(const std::string& caption, const std::string& text);

}  // namespace trel
