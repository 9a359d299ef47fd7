#include "shell/main_form.h"

namespace trel {

TForm1::TForm1(Host& host, std::vector<std::string> arguments)
    : Machine(host), arguments_(std::move(arguments)) {
  firstArgumentPresent = !firstArgument().empty();
}

}  // namespace trel
