// The help window "HELP - Trel": a read-only rich-text control (RichEdit1) filling the window,
// showing "halp.rtf" through our own reader, with a search field under it while searching. The
// window may be resized.
#pragma once

#include <QLineEdit>
#include <QTextEdit>
#include <QWidget>

#include <string>

#include "help/rtf_reader.h"

namespace trel::gui {

// Puts a read document into a Qt text document: sizes, bold, italic, underline, colours, fixed
// pitch, alignment, indent and spacing.
void fillTextDocument(QTextDocument& target, const RtfDocument& source);

class HelpWindow : public QWidget {
  Q_OBJECT
 public:
  HelpWindow();
  // Shows the rich text (RichEdit1's content); the view keeps it until the next call.
  void showText(const std::string& rtf);
  QTextEdit& richEdit() { return *richEdit_; }
  // Scrolls to the index entry of a keyword or formula function (a paragraph that starts with
  // the name and a colon, after the heading "Index"), selects its name; false when none.
  bool showTopic(const QString& name);
  // The search field under the text (Ctrl+F shows it): Enter finds the next match.
  QLineEdit& searchField() { return *search_; }
  bool findNext(bool backwards = false);

 signals:
  void closed();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QTextEdit* richEdit_;
  QLineEdit* search_;
};

}  // namespace trel::gui
