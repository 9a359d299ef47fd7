// %stdhndl, __OPEN@@ and __NATIVE@@: standard handles, the open dialog and nested runs of another
// source file.
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "machine/instructions.h"
#include "rtl/errors.h"

namespace trel {

namespace {

// Restores the start-up directory when the dialog is done, also when the host raises an error.
class StartupDirectoryRestorer {
 public:
  explicit StartupDirectoryRestorer(const Machine& m) : m_(m) {}
  ~StartupDirectoryRestorer() { m_.restoreStartupDirectory(); }
  StartupDirectoryRestorer(const StartupDirectoryRestorer&) = delete;
  StartupDirectoryRestorer& operator=(const StartupDirectoryRestorer&) = delete;

 private:
  const Machine& m_;
};

std::string fullPath(const std::string& chosen) {
  std::error_code ec;
  std::filesystem::path full = std::filesystem::absolute(chosen, ec);
  return ec ? chosen : full.lexically_normal().string();
}

// Each nested run is a call of compile inside the current one, so a program that runs itself
// would otherwise nest until the stack overflows.
constexpr int kMaxNestedRuns = 1000;

int runDepth(const Machine& m) {
  int depth = 0;
  for (const RunFrame* f = m.frame; f; f = f->outer) ++depth;
  return depth;
}

// The text of the source file a nested run loads; the editor text is only replaced once it has
// been read whole.
std::string readSourceFile(const std::string& path) {
  // No file name holds a zero byte; the system would read only the part before it.
  if (path.find('\0') != std::string::npos) {
    std::string shown = replaceAll(path, std::string_view("\0", 1), "\\0");
    throw Error("Cannot open file \"" + shown + "\". " + std::strerror(EINVAL));
  }
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec))
    throw Error("Cannot open file \"" + path + "\". " + std::strerror(EISDIR));
  return readWholeFile(path);
}

}  // namespace

Outcome runStdHandles(Machine& m, RunFrame&) {
  m.table.DeclareVariable("stdhndl1");
  m.table.DeclareVariable("stdhndl2");
  m.table.SetVariable("stdhndl1", "0");
  m.table.SetVariable("stdhndl2", "1");
  return Outcome::Continue;
}

Outcome runOpen(Machine& m, RunFrame&) {
  StartupDirectoryRestorer restorer(m);
  std::optional<std::string> chosen = m.host.openFileDialog(OpenDialog1());
  // A dialog can only be accepted with a file named, so an empty answer counts as cancelled.
  if (!chosen || chosen->empty()) return Outcome::Continue;
  m.table.DeclareVariable("OpenDialog1.filename");
  m.table.SetVariable("OpenDialog1.filename", fullPath(*chosen));
  return Outcome::Continue;
}

Outcome runNative(Machine& m, RunFrame& f) {
  f.dropKeyword(Instruction::Native);
  std::string path = m.table.GetVariable(f.text());
  if (runDepth(m) >= kMaxNestedRuns)
    throw Error("Too many nested runs: " + path + " was not run (at most " +
                std::to_string(kMaxNestedRuns) + " runs may nest)");
  m.highlvl = splitFileLines(readSourceFile(path));
  m.sourceName = path;
  m.host.editorTextReplaced();
  m.translator.translate(m);
  m.compile(RunMode::Program);
  return Outcome::EndRun;
}

}  // namespace trel
