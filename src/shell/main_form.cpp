#include "shell/main_form.h"

#include "shell/commands.h"
#include "translator/translator.h"

namespace trel {

TForm1::TForm1(Host& h, std::vector<std::string> arguments)
    : host(h), machine(h, sourceTranslator()), arguments_(std::move(arguments)) {
  machine.firstArgumentPresent = !firstArgument().empty();
}

void TForm1::Button1Click() {
  trel::Button1Click(machine);
}

void TForm1::ConsoleButton1Click() {
  trel::ConsoleButton1Click(machine);
}

void TForm1::Button7Click() {
  trel::Button7Click(machine);
}

}  // namespace trel
