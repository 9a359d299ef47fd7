// Build exe: a copy of the stub with the low-level program in its embedded-code entry.
#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <optional>
#include <thread>

#include "resources/embedded_code.h"
#include "resources/resources.h"
#include "resources/string_table.h"
#include "rtl/errors.h"
#include "rtl/random.h"
#include "rtl/replacement_file.h"
#include "shell/main_form.h"

namespace trel {

namespace {

// Two hexadecimal digits per character, and the entry's count is 16 bits wide.
constexpr size_t kMaxBuiltProgram = kMaxStringUnits / 2;

// A built program can be run by whoever may read it, also when the stub it came from could not.
unsigned executableMode(const std::string& stub) {
  struct stat st;
  unsigned mode = ::stat(stub.c_str(), &st) == 0 ? (st.st_mode & 0777) : 0755;
  return mode | ((mode & 0444) >> 2);
}

// Why the existing `target` cannot be replaced, added to the message when it is not what the
// message already says (a file set read-only).
std::string whyNotWritable(const std::string& target) {
  std::error_code ec;
  if (std::filesystem::is_directory(target, ec))
    return std::string(" (") + std::strerror(EISDIR) + ")";
  if (!std::filesystem::is_regular_file(target, ec)) return " (not a regular file)";
  return {};
}

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

  // The stub's program and resources with the entry go to a temporary file beside the target,
  // renamed over it once: on any failure, or when the process is stopped meanwhile, the target
  // stays as it was and no part-built file is left.
  const std::string target = fileName.empty() ? fileName : replacementTarget(fileName);
  std::error_code ec;
  if (target.empty()) throw Error(fileFailedToLoadMessage(fileName));
  if (std::filesystem::exists(target, ec) && !isWritableFile(target))
    throw Error(cannotWriteFileMessage(fileName) + whyNotWritable(target));
  std::optional<ResourceUpdate> update;
  try {
    update.emplace(stubFileName, target, executableMode(stubFileName));
  } catch (const Error&) {
    throw Error(fileFailedToLoadMessage(fileName));
  }
  if (buildWaitMilliseconds > 0)
    std::this_thread::sleep_for(std::chrono::milliseconds(buildWaitMilliseconds));
  update->write(kStringTableResource, stringBlockName(kEmbeddedCodeString), kNeutralLanguage,
                blockWithString(update->resources(), kEmbeddedCodeString, entry, fileName));
  try {
    update->commit();
  } catch (const FileError& e) {
    // A folder that does not exist is the old "failed to load"; anything else names its cause.
    if (e.code() == ENOENT || e.code() == ENOTDIR) throw Error(fileFailedToLoadMessage(fileName));
    throw Error(cannotWriteFileMessage(fileName) + " (" + e.reason() + ")");
  }
  machine.ListBox1.clear();
}

}  // namespace trel
