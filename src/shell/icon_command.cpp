// The icon command: copies icon image 1 of one executable into another.
#include "resources/icon_modify_unit.h"
#include "shell/main_form.h"

namespace trel {

void TForm1::Button10Click() {
  TIconModifier modifier;
  // The main window's open dialog, as the Open command uses it; the folder is the dialog's last.
  const FileDialogRequest request = OpenDialog1();

  host.showMessage("Show me file with icon");
  if (std::optional<std::string> chosen = host.openFileDialog(request))
    modifier.SetSourceFile(*chosen);
  machine.restoreStartupDirectory();

  host.showMessage("Show me destination file");
  if (std::optional<std::string> chosen = host.openFileDialog(request))
    modifier.SetDestFile(*chosen);
  machine.restoreStartupDirectory();

  const bool changed = modifier.ChangeIcon(0, 0);
  host.messageBox(changed ? "successful." : "fail.", "info", mb::kOk | mb::kIconInformation);
}

}  // namespace trel
