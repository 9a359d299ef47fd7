// Start-up and close of the main window: the mode decision, the embedded program, "code.qn".
#include <filesystem>

#include "resources/embedded_code.h"
#include "rtl/program_name.h"
#include "rtl/random.h"
#include "rtl/text.h"
#include "shell/main_form.h"

namespace trel {

namespace {

constexpr char kEditorFile[] = "code.qn";

}  // namespace

void TForm1::FormCreate() {
  std::error_code ec;
  machine.startupDirectory = std::filesystem::current_path(ec).string();
  seedRandomFromEnvironment();
  // An error here is shown and start-up goes on: a standalone program runs what was decoded
  // before the error, the IDE starts with the editor's initial text.
  try {
    if (!ideMode()) {
      // Emptied before the entry is read, so that a file whose resources cannot be read runs an
      // empty program rather than the initial comment line.
      machine.code.clear();
      std::string program;
      try {
        // Messages name the program as the user started it, not the file it is read through.
        decodeEmbeddedCode(readEmbeddedEntry(executablePath, programName(executablePath)), program);
      } catch (...) {
        machine.setCodeText(program);
        throw;
      }
      machine.setCodeText(program);
    } else {
      loadHighlvl(readWholeFile(kEditorFile));
      highlvlChange();  // the loaded text is an editor change like any other
    }
  } catch (const std::exception& e) {
    startupReportedError = true;
    showError(host, e);
  }
}

void TForm1::Timer1Timer() {
  timer1Enabled = false;
  if (ideMode()) return;
  mainWindowVisible = false;
  // Start-up has shown why there is nothing to run; an empty run would only add a second error.
  if (startupReportedError && machine.code.empty()) return;
  machine.compile(RunMode::Program);
}

void TForm1::FormClose() {
  // Only the IDE keeps its editor text: a built program's editor holds nothing of the user's, and
  // writing it would replace the "code.qn" of whatever folder the program was started in.
  if (!ideMode()) return;
  writeFileAtomically(kEditorFile, highlvlText());
}

}  // namespace trel
