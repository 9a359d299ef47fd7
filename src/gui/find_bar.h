// The find bar under the editor: a search field with previous/next, match case, whole word and a
// highlight of every match; in replace mode a second row replaces one match or all of them.
#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include "gui/editor_search.h"

class QsciScintilla;

namespace trel::gui {

class FindBar : public QWidget {
  Q_OBJECT
 public:
  FindBar(QsciScintilla& editor, QWidget* parent);

  // Shows the bar (with the replace row when `replacing`), the field filled with the editor's
  // one-line selection, and puts the focus in it.
  void open(bool replacing);
  bool findNext();
  bool findPrevious();
  bool replaceOne();
  int replaceAll();

  QLineEdit& findField() { return *find_; }
  QLineEdit& replaceField() { return *replace_; }
  QCheckBox& matchCase() { return *matchCase_; }
  QCheckBox& wholeWord() { return *wholeWord_; }
  QCheckBox& highlightAll() { return *highlightAll_; }
  QLabel& status() { return *status_; }
  bool replacing() const { return replacing_; }

 signals:
  void shownOrHidden();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  SearchOptions options() const;
  QByteArray needle() const;
  void refreshHighlights();
  void report(bool found);

  QsciScintilla& editor_;
  QLineEdit* find_;
  QLineEdit* replace_;
  QCheckBox* matchCase_;
  QCheckBox* wholeWord_;
  QCheckBox* highlightAll_;
  QLabel* status_;
  QWidget* replaceRow_;
  bool replacing_ = false;
};

}  // namespace trel::gui
