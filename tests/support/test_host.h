// A scriptable host for headless tests. It records what a run shows (console lines, message
// boxes, made windows, pixels), answers dialogs from a list, and at a chosen call of
// processEvents() runs an action: a console line, the Run command, a click, "Only translate".
// Actions run the way the IDE's event handlers do: an error they raise is shown as a message box
// and does not leave processEvents().
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "machine/host.h"
#include "machine/machine.h"
#include "translator/translator.h"

namespace trel::testing {

class TestHost : public Host {
 public:
  struct Form {
    uint64_t handle;
    std::string name, caption;
    int width, height;
  };
  struct Label {
    uint64_t form;
    std::string name, caption;
    int left, top, height;
  };
  struct Pixel {
    uint64_t form;
    uint32_t color;
    int x, y;
  };

  // Set before scheduling actions that need the machine.
  Machine* machine = nullptr;

  // Runs `action` during the n-th call of processEvents() (counting from 1).
  void at(uint64_t pumpCall, std::function<void()> action) {
    actions_[pumpCall].push_back(std::move(action));
  }
  void consoleLineAt(uint64_t pumpCall, const std::string& line);
  void runCommandAt(uint64_t pumpCall);
  void onlyTranslateAt(uint64_t pumpCall);
  void clickAt(uint64_t pumpCall, const std::string& senderClass, const std::string& senderName);

  uint64_t pumpCalls = 0;
  std::deque<std::string> answers;    // dialog answers; none left: cancelled
  std::vector<std::string> messages;  // "caption: text", or the text alone
  std::vector<std::string> printed;   // console lines in the order they were added
  std::vector<std::string> openDialogDirectories;
  std::vector<Form> forms;
  std::vector<Label> labels;
  std::vector<Pixel> pixels;
  int consoleShows = 0;
  int editorReplacements = 0;
  bool processEnded = false;
  int endStatus = -1;

  void processEvents() override;
  void showMessage(const std::string& text) override { messages.push_back(text); }
  int messageBox(const std::string& text, const std::string& caption, int flags) override;
  std::optional<std::string> inputBox(const std::string& caption, const std::string& prompt,
                                      const std::string& value) override;
  std::optional<std::string> openFileDialog(const FileDialogRequest& request) override;
  std::optional<std::string> saveFileDialog(const FileDialogRequest& request) override;
  void consoleLineAdded(const std::string& line) override { printed.push_back(line); }
  void consoleVisibilityChanged(bool visible) override { consoleShows += visible ? 1 : 0; }
  void editorTextReplaced() override { ++editorReplacements; }
  uint64_t makeForm(const std::string& name, const std::string& caption, int width,
                    int height) override;
  void makeLabel(uint64_t form, const std::string& name, const std::string& caption, int left,
                 int top, int height) override;
  void drawPixel(uint64_t form, uint32_t color, int x, int y) override;
  uint64_t applicationHandle() override { return 1; }
  void endProcess(int status) override {
    processEnded = true;
    endStatus = status;
  }

 private:
  std::map<uint64_t, std::vector<std::function<void()>>> actions_;
  uint64_t nextHandle_ = 2;
};

// A machine with its test host, for tests that run programs.
struct TestBench {
  TestHost host;
  Machine machine{host, sourceTranslator()};
  TestBench() { host.machine = &machine; }

  // A program run of the lines taken as low-level code; errors are caught and shown as the
  // application's error display would show them. Answers false when an error ended the run.
  bool exec(const std::vector<std::string>& code);
  // The Run command on the lines taken as source.
  bool run(const std::vector<std::string>& source);
  // A console-line run of one line.
  bool console(const std::string& line);
  // Log lines of the last run.
  std::vector<std::string> log() const { return machine.debug.lines(); }
  std::string var(const std::string& name) const { return machine.table.GetVariable(name); }
  std::string lastMessage() const { return host.messages.empty() ? "" : host.messages.back(); }
};

}  // namespace trel::testing
