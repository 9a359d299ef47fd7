// Start-up and close of the main window: the mode decision, the embedded program, "code.qn".
#include "shell/main_form.h"

namespace trel {

void TForm1::FormCreate() {}
void TForm1::Timer1Timer() { timer1Enabled = false; }
void TForm1::FormClose() {}

}  // namespace trel
