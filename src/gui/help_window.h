// The help window "HELP - Trel": a read-only rich-text control (RichEdit1) filling the window,
// showing "halp.rtf" through our own reader.
#pragma once

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

 signals:
  void closed();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QTextEdit* richEdit_;
};

}  // namespace trel::gui
