// The Edit menu: the editor's own commands (undo, clipboard, selection), the find bar, go to line,
// toggling "//" at the start of the selected lines, and the whitespace display.
#pragma once

#include <QMenu>
#include <QObject>

#include <array>

namespace trel::gui {

class FindBar;
class SourceEditor;

enum class EditCommand {
  Undo,
  Redo,
  Cut,
  Copy,
  Paste,
  SelectAll,
  Find,
  FindNext,
  FindPrevious,
  Replace,
  GoToLine,
  ToggleComment,
  ShowWhitespace,
  Count
};

class EditMenu : public QObject {
  Q_OBJECT
 public:
  EditMenu(QMenu& menu, SourceEditor& editor, FindBar& findBar);
  QAction* action(EditCommand command) const { return actions_[static_cast<size_t>(command)]; }
  // Asks for a line number from 1 and moves the caret there.
  void askGoToLine();

 private:
  void run(EditCommand command);

  SourceEditor& editor_;
  FindBar& findBar_;
  std::array<QAction*, static_cast<size_t>(EditCommand::Count)> actions_{};
};

}  // namespace trel::gui
