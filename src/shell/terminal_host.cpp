#include "shell/terminal_host.h"

#include <cstdlib>
#include <iostream>

namespace trel {

namespace {

// Texts are bytes: a message is written whole, also past a zero byte.
void writeLine(std::FILE* stream, const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), stream);
  std::fputc('\n', stream);
}

}  // namespace

TerminalHost::TerminalHost() : lastFlush_(std::chrono::steady_clock::now()) {}

TerminalHost::~TerminalHost() {
  flush();
}

void TerminalHost::flush() {
  std::fflush(stdout);
  lastFlush_ = std::chrono::steady_clock::now();
}

void TerminalHost::processEvents() {
  // Called twice per step: look at the clock only every 1,024 calls, and let buffered output out
  // every few milliseconds so a long-running program's lines appear as it prints them.
  if ((++pumpCalls_ & 1023) != 0) return;
  auto now = std::chrono::steady_clock::now();
  if (now - lastFlush_ >= std::chrono::milliseconds(20)) flush();
}

std::string messageLine(const std::string& caption, const std::string& text) {
  std::string line = caption.empty() ? text : caption + ": " + text;
  std::string out;
  out.reserve(line.size());
  for (size_t i = 0; i < line.size(); ++i) {
    char c = line[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < line.size() && line[i + 1] == '\n') ++i;
      out.push_back(' ');
    } else {
      out.push_back(c);
    }
  }
  return out;
}

void TerminalHost::showMessage(const std::string& text) {
  std::fflush(stdout);
  writeLine(messageStream, messageLine("", text));
  std::fflush(messageStream);
}

void TerminalHost::diagnostic(const Diagnostic& d) {
  if (!printDiagnostics) return;
  std::fflush(stdout);
  writeLine(stderr, d.format());
  std::fflush(stderr);
}

std::optional<std::string> TerminalHost::nextAnswer(const std::string& prompt) {
  if (!answers.empty()) {
    std::string a = answers.front();
    answers.pop_front();
    return a;
  }
  if (!askOnStandardInput) return std::nullopt;
  std::fflush(stdout);
  std::fprintf(stderr, "%s", prompt.c_str());
  std::fflush(stderr);
  std::string line;
  if (!std::getline(std::cin, line)) return std::nullopt;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

int TerminalHost::messageBox(const std::string& text, const std::string& caption, int flags) {
  std::fflush(stdout);
  writeLine(messageStream, messageLine(caption, text));
  std::fflush(messageStream);
  int buttons = flags & 0x0F;
  // A box with only an OK button asks nothing; one with a choice takes the next answer.
  if (buttons == mb::kOk) return mb::kIdOk;
  std::optional<std::string> answer = nextAnswer("button number: ");
  if (answer) {
    try {
      return std::stoi(*answer);
    } catch (...) {
    }
  }
  switch (buttons) {
    case mb::kYesNo:
      return mb::kIdNo;
    case mb::kAbortRetryIgnore:
      return mb::kIdAbort;
    default:
      return mb::kIdCancel;
  }
}

std::optional<std::string> TerminalHost::inputBox(const std::string& caption,
                                                  const std::string& prompt,
                                                  const std::string& value) {
  std::string ask = messageLine(caption, prompt);
  if (!value.empty()) ask += " [" + value + "]";
  return nextAnswer(ask + ": ");
}

std::optional<std::string> TerminalHost::openFileDialog(const FileDialogRequest&) {
  return nextAnswer("file to open: ");
}

std::optional<std::string> TerminalHost::saveFileDialog(const FileDialogRequest&) {
  return nextAnswer("file to save: ");
}

void TerminalHost::consoleLineAdded(const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
}

uint64_t TerminalHost::makeForm(const std::string&, const std::string&, int, int) {
  return nextFormHandle_++;
}

void TerminalHost::makeLabel(uint64_t, const std::string&, const std::string&, int, int, int) {}

void TerminalHost::drawPixel(uint64_t, uint32_t, int, int) {}

void TerminalHost::endProcess(int status) {
  flush();
  std::fflush(stderr);
  std::_Exit(status);
}

}  // namespace trel
