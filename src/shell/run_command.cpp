// The Run command and the console window's ">>" button.
#include "shell/commands.h"
#include "translator/translator.h"

namespace trel {

void Button1Click(Machine& m, const std::function<void()>& afterTranslate) {
  m.console.clear();
  translate(m);
  if (afterTranslate) afterTranslate();
  m.compile(RunMode::Program);
  if (m.console.visible()) {
    m.console.addLine("");
    m.console.addLine("");
    m.console.addLine("Trel: QN+ End of executing");
  }
}

void ConsoleButton1Click(Machine& m) {
  m.compile(RunMode::ConsoleLine);
  m.console.Edit1.clear();
}

}  // namespace trel
