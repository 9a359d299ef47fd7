// A host that shows nothing and answers nothing: every dialog is cancelled, windows get no handle,
// and a request to end the process is ignored. The language server translates in the background
// on it, and the fuzz targets run the core on it, so no input can wait for a person.
#pragma once

#include "machine/host.h"

namespace trel {

class QuietHost : public Host {
 public:
  void processEvents() override {}
  void showMessage(const std::string&) override {}
  int messageBox(const std::string&, const std::string&, int) override { return mb::kIdCancel; }
  std::optional<std::string> inputBox(const std::string&, const std::string&,
                                      const std::string&) override {
    return std::nullopt;
  }
  std::optional<std::string> openFileDialog(const FileDialogRequest&) override {
    return std::nullopt;
  }
  std::optional<std::string> saveFileDialog(const FileDialogRequest&) override {
    return std::nullopt;
  }
  uint64_t makeForm(const std::string&, const std::string&, int, int) override { return 0; }
  void makeLabel(uint64_t, const std::string&, const std::string&, int, int, int) override {}
  void drawPixel(uint64_t, uint32_t, int, int) override {}
  uint64_t applicationHandle() override { return 0; }
  void endProcess(int) override {}
};

}  // namespace trel
