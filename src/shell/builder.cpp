// Build exe: a copy of the stub with the low-level program in its embedded-code entry.
#include <chrono>
#include <filesystem>
#include <thread>

#include "resources/embedded_code.h"
#include "resources/replacement_file.h"
#include "resources/string_table.h"
#include "rtl/errors.h"
#include "rtl/random.h"
#include "shell/main_form.h"

namespace trel {

namespace {

// Two hexadecimal digits per character, and the entry's count is 16 bits wide.
constexpr size_t kMaxBuiltProgram = kMaxStringUnits / 2;

}  // namespace

void TForm1::Button4Click() {
  // The command embeds what the code holds now; it does not translate.
  const std::string program = machine.codeText();
  if (program.size() > kMaxBuiltProgram)
    throw Error("Cannot build: the program has " + std::to_string(program.size()) +
                " characters, and a built program holds at most " +
                std::to_string(kMaxBuiltProgram) + ".");
  const std::string entry = encodeEmbeddedCode(program);

  const std::string defaultName = std::to_string(randomInt(65535)) + "_qn.exe";
  const std::string fileName =
      host.inputBox("Filename", "Exported exe file name", defaultName).value_or(defaultName);
  Label3 = fileName;

  // A failed copy ends the build: writing the entry into an older file of that name would leave a
  // program that looks built but is not the one in the code.
  if (copyFileReplacing(stubFileName, fileName) != CopyOutcome::Copied) {
    std::error_code ec;
    bool targetExists = !fileName.empty() && std::filesystem::exists(fileName, ec);
    throw Error(targetExists && !isWritableFile(fileName) ? cannotWriteFileMessage(fileName)
                                                          : fileFailedToLoadMessage(fileName));
  }
  if (buildWaitMilliseconds > 0)
    std::this_thread::sleep_for(std::chrono::milliseconds(buildWaitMilliseconds));
  WriteStringResource(fileName, entry, static_cast<int>(kEmbeddedCodeString));
  machine.ListBox1.clear();
}

}  // namespace trel
