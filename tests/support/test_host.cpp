#include "test_host.h"

#include "shell/commands.h"

namespace trel::testing {

void TestHost::processEvents() {
  ++pumpCalls;
  auto it = actions_.find(pumpCalls);
  if (it == actions_.end()) return;
  std::vector<std::function<void()>> due = std::move(it->second);
  actions_.erase(it);
  for (auto& action : due) {
    try {
      action();
    } catch (const std::exception& e) {
      showError(*this, e);
    }
  }
}

void TestHost::consoleLineAt(uint64_t pumpCall, const std::string& line) {
  at(pumpCall, [this, line] {
    machine->console.Edit1 = line;
    ConsoleButton1Click(*machine);
  });
}

void TestHost::runCommandAt(uint64_t pumpCall) {
  at(pumpCall, [this] { Button1Click(*machine); });
}

void TestHost::onlyTranslateAt(uint64_t pumpCall) {
  at(pumpCall, [this] { machine->CheckBox1 = true; });
}

void TestHost::clickAt(uint64_t pumpCall, const std::string& senderClass,
                       const std::string& senderName) {
  at(pumpCall, [this, senderClass, senderName] { machine->MyFormClick(senderClass, senderName); });
}

int TestHost::messageBox(const std::string& text, const std::string& caption, int flags) {
  messages.push_back(caption.empty() ? text : caption + ": " + text);
  if ((flags & 0x0F) == mb::kOk) return mb::kIdOk;
  if (answers.empty()) return mb::kIdCancel;
  std::string a = answers.front();
  answers.pop_front();
  return std::stoi(a);
}

std::optional<std::string> TestHost::inputBox(const std::string&, const std::string&,
                                              const std::string&) {
  if (answers.empty()) return std::nullopt;
  std::string a = answers.front();
  answers.pop_front();
  return a;
}

std::optional<std::string> TestHost::openFileDialog(const FileDialogRequest& request) {
  openDialogDirectories.push_back(request.initialDirectory);
  return inputBox("", "", "");
}

std::optional<std::string> TestHost::saveFileDialog(const FileDialogRequest&) {
  return inputBox("", "", "");
}

uint64_t TestHost::makeForm(const std::string& name, const std::string& caption, int width,
                            int height) {
  uint64_t handle = nextHandle_++;
  forms.push_back({handle, name, caption, width, height});
  return handle;
}

void TestHost::makeLabel(uint64_t form, const std::string& name, const std::string& caption,
                         int left, int top, int height) {
  labels.push_back({form, name, caption, left, top, height});
}

void TestHost::drawPixel(uint64_t form, uint32_t color, int x, int y) {
  pixels.push_back({form, color, x, y});
}

namespace {
bool guarded(Host& host, const std::function<void()>& body) {
  try {
    body();
    return true;
  } catch (const std::exception& e) {
    showError(host, e);
    return false;
  }
}
}  // namespace

bool TestBench::exec(const std::vector<std::string>& code) {
  machine.code = code;
  return guarded(host, [&] { machine.compile(RunMode::Program); });
}

bool TestBench::run(const std::vector<std::string>& source) {
  machine.highlvl = source;
  return guarded(host, [&] { Button1Click(machine); });
}

bool TestBench::console(const std::string& line) {
  machine.console.Edit1 = line;
  return guarded(host, [&] { ConsoleButton1Click(machine); });
}

}  // namespace trel::testing
