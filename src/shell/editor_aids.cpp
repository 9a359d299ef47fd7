// The editor aids and file commands: function list, low-level viewer, log, help, New, Open, Save.
#include "shell/main_form.h"

namespace trel {

void TForm1::highlvlChange() {}
void TForm1::explorerClick(int) {}
void TForm1::Listlowlevelproc1Click() {}
void TForm1::Button6Click() {}
void TForm1::Button5Click() {}
void TForm1::Button8Click() {}
void TForm1::Button2Click() {}
void TForm1::Button3Click() {}
void TForm1::New1Click() {}

}  // namespace trel
