// %stdhndl, __OPEN@@ and __NATIVE@@: standard handles, the open dialog and nested runs of another
// source file.
#include <filesystem>
#include <system_error>

#include "machine/instructions.h"

namespace trel {

Outcome runStdHandles(Machine& m, RunFrame&) {
  m.table.DeclareVariable("stdhndl1");
  m.table.DeclareVariable("stdhndl2");
  m.table.SetVariable("stdhndl1", "0");
  m.table.SetVariable("stdhndl2", "1");
  return Outcome::Continue;
}

Outcome runOpen(Machine& m, RunFrame&) {
  FileDialogRequest request{"Source|*.qn|Icon file|*.exe", ".qn", ""};
  std::optional<std::string> chosen = m.host.openFileDialog(request);
  if (chosen) {
    std::error_code ec;
    std::filesystem::path full = std::filesystem::absolute(*chosen, ec);
    m.table.DeclareVariable("OpenDialog1.filename");
    m.table.SetVariable("OpenDialog1.filename", ec ? *chosen : full.string());
  }
  m.restoreStartupDirectory();
  return Outcome::Continue;
}

Outcome runNative(Machine& m, RunFrame& f) {
  f.dropKeyword(11);
  std::string path = m.table.GetVariable(f.text());
  m.highlvl = splitFileLines(readWholeFile(path));
  m.host.editorTextReplaced();
  m.translate();
  m.compile(1);
  return Outcome::EndRun;
}

}  // namespace trel
