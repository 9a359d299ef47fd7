// Build exe: a copy of the stub with the low-level program in its embedded-code entry.
#include "shell/main_form.h"

namespace trel {

void TForm1::Button4Click() {}

}  // namespace trel
