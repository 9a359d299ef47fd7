#include "gui/edit_menu.h"

#include <QInputDialog>

#include <algorithm>

#include "gui/find_bar.h"
#include "gui/source_editor.h"

namespace trel::gui {

namespace {

struct EditItem {
  EditCommand command;
  const char* caption;
  const char* name;
  QList<QKeySequence> shortcuts;
  bool separated = false;  // a separator above the item
};

// The Edit menu, in order.
const std::vector<EditItem>& editItems() {
  static const std::vector<EditItem> items = {
      {EditCommand::Undo, "&Undo", "EditUndo", {QKeySequence::Undo}},
      {EditCommand::Redo, "&Redo", "EditRedo", {QKeySequence::Redo}},
      {EditCommand::Cut, "Cu&t", "EditCut", {QKeySequence::Cut}, true},
      {EditCommand::Copy, "&Copy", "EditCopy", {QKeySequence::Copy}},
      {EditCommand::Paste, "&Paste", "EditPaste", {QKeySequence::Paste}},
      {EditCommand::SelectAll, "Select &all", "EditSelectAll", {QKeySequence::SelectAll}},
      {EditCommand::Find, "&Find...", "EditFind", {QKeySequence(Qt::CTRL | Qt::Key_F)}, true},
      {EditCommand::FindNext, "Find &next", "EditFindNext", {QKeySequence(Qt::Key_F3)}},
      {EditCommand::FindPrevious,
       "Find pre&vious",
       "EditFindPrevious",
       {QKeySequence(Qt::SHIFT | Qt::Key_F3)}},
      {EditCommand::Replace, "R&eplace...", "EditReplace", {QKeySequence(Qt::CTRL | Qt::Key_H)}},
      {EditCommand::GoToLine,
       "&Go to line...",
       "EditGoToLine",
       {QKeySequence(Qt::CTRL | Qt::Key_G)},
       true},
      {EditCommand::ToggleComment,
       "Toggle co&mment",
       "EditToggleComment",
       {QKeySequence(Qt::CTRL | Qt::Key_Slash)}},
      {EditCommand::ShowWhitespace, "Show &whitespace", "EditShowWhitespace", {}, true},
  };
  return items;
}

}  // namespace

EditMenu::EditMenu(QMenu& menu, SourceEditor& editor, FindBar& findBar)
    : QObject(&menu), editor_(editor), findBar_(findBar) {
  for (const EditItem& item : editItems()) {
    if (item.separated) menu.addSeparator();
    QAction* a = menu.addAction(QString::fromLatin1(item.caption));
    a->setObjectName(QString::fromLatin1(item.name));
    a->setShortcuts(item.shortcuts);
    EditCommand command = item.command;
    connect(a, &QAction::triggered, this, [this, command] { run(command); });
    actions_[static_cast<size_t>(command)] = a;
  }
  QAction* whitespace = action(EditCommand::ShowWhitespace);
  whitespace->setCheckable(true);
  connect(whitespace, &QAction::toggled, &editor_, [this](bool on) {
    editor_.setWhitespaceVisibility(on ? QsciScintilla::WsVisible : QsciScintilla::WsInvisible);
  });
  auto enableUndo = [this] {
    action(EditCommand::Undo)->setEnabled(editor_.isUndoAvailable());
    action(EditCommand::Redo)->setEnabled(editor_.isRedoAvailable());
  };
  connect(&editor_, &QsciScintilla::textChanged, this, enableUndo);
  connect(&menu, &QMenu::aboutToShow, this, enableUndo);
}

void EditMenu::run(EditCommand command) {
  switch (command) {
    case EditCommand::Undo:
      editor_.undo();
      break;
    case EditCommand::Redo:
      editor_.redo();
      break;
    case EditCommand::Cut:
      editor_.cut();
      break;
    case EditCommand::Copy:
      editor_.copy();
      break;
    case EditCommand::Paste:
      editor_.paste();
      break;
    case EditCommand::SelectAll:
      editor_.selectAll();
      break;
    case EditCommand::Find:
      findBar_.open(false);
      break;
    case EditCommand::FindNext:
      if (findBar_.findField().text().isEmpty())
        findBar_.open(false);
      else
        findBar_.findNext();
      break;
    case EditCommand::FindPrevious:
      if (findBar_.findField().text().isEmpty())
        findBar_.open(false);
      else
        findBar_.findPrevious();
      break;
    case EditCommand::Replace:
      findBar_.open(true);
      break;
    case EditCommand::GoToLine:
      askGoToLine();
      break;
    case EditCommand::ToggleComment:
      editor_.toggleLineComment();
      break;
    case EditCommand::ShowWhitespace:
    case EditCommand::Count:
      break;
  }
}

void EditMenu::askGoToLine() {
  int line = 0, index = 0;
  editor_.getCursorPosition(&line, &index);
  const int last = std::max(1, editor_.lines());
  bool ok = false;
  int chosen =
      QInputDialog::getInt(editor_.window(), QStringLiteral("Go to line"),
                           QStringLiteral("Line (1 to %1):").arg(last), line + 1, 1, last, 1, &ok);
  if (ok) editor_.goToLine(chosen);
}

}  // namespace trel::gui
