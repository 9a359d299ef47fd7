// The Run command and the console window's ">>" button.
#include "machine/machine.h"

namespace trel {

void Machine::Button1Click(const std::function<void()>& afterTranslate) {
  console.clear();
  translate();
  if (afterTranslate) afterTranslate();
  compile(1);
  if (console.visible()) {
    console.addLine("");
    console.addLine("");
    console.addLine("Trel: QN+ End of executing");
  }
}

void Machine::ConsoleButton1Click() {
  compile(2);
  console.Edit1.clear();
}

}  // namespace trel
