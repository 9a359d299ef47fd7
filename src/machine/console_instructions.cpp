// %ECHO, %OUTF and %NO_OUT: they write to the console or hide it, and act only while it is visible.
#include "machine/instructions.h"

namespace trel {

Outcome runEcho(Machine& m, RunFrame& f) {
  f.dropKeyword(Instruction::Echo);
  std::string operand = trim(f.text());
  if (!m.console.visible()) return Outcome::Continue;
  if (operand == "endl") {
    m.console.appendEndl();
    return Outcome::Continue;
  }
  std::string line(valueOrLiteral(m, operand));
  m.console.addLine(line);
  return Outcome::Continue;
}

Outcome runOutFile(Machine& m, RunFrame& f) {
  f.dropKeyword(Instruction::OutFile);
  std::string path = trim(f.text());
  if (m.console.visible()) writeWholeFile(path, m.console.text());
  return Outcome::Continue;
}

Outcome runNoOut(Machine& m, RunFrame&) {
  m.console.hide();
  return Outcome::Continue;
}

}  // namespace trel
