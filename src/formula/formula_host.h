// What a running formula asks of its host: the dialogs of INPUT and MSG, and whether the user
// wants it stopped.
#pragma once

#include <string>

namespace trel {

class FormulaHost {
 public:
  virtual ~FormulaHost() = default;
  // An input box; the edited text, or the empty text when the user cancels.
  virtual std::string input(const std::string& caption, const std::string& prompt,
                            const std::string& value) = 0;
  // A message box with the style flags; the number of the button pressed.
  virtual int message(const std::string& text, const std::string& caption, int flags) = 0;
  // Asked every few thousand instructions, and before every instruction when Step is on; true
  // abandons the formula (FormulaStopped).
  virtual bool stopRequested() = 0;
};

}  // namespace trel
