// The icon command: copies icon image 1 of one executable into another.
#include "shell/main_form.h"

namespace trel {

void TForm1::Button10Click() {}

}  // namespace trel
