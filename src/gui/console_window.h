// The console window (TForm2): the output memo Memo1 over the console model's lines, the input
// box Edit1 and the ">>" button. It shows the model and forwards the button; it keeps no output of
// its own.
#pragma once

#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

#include "gui/console_history.h"
#include "gui/line_view.h"
#include "machine/console_model.h"

namespace trel::gui {

class ConsoleWindow : public QWidget {
  Q_OBJECT
 public:
  explicit ConsoleWindow(ConsoleModel& model);

  // Takes in lines the model added since the last call.
  void sync() { memo_->sync(); }
  // The model's lines were cleared.
  void reset() { memo_->reset(); }
  // Copies the input box into the model (Edit1) and back.
  void storeInput();
  void clearInput();

  LineView& memo() { return *memo_; }
  QPlainTextEdit& input() { return *input_; }
  QPushButton& runButton() { return *button_; }
  const ConsoleHistory& history() const { return history_; }

 signals:
  // ">>" was pressed; the input box's text is already in the model.
  void runLineRequested();
  void closedByUser();

 protected:
  void closeEvent(QCloseEvent* event) override;
  // Ctrl+Enter runs the input box; Up on its first line and Down on its last recall lines run
  // before.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void runInput();
  void recall(const std::string& text);

  ConsoleModel& model_;
  LineView* memo_;
  QPlainTextEdit* input_;
  QPushButton* button_;
  ConsoleHistory history_;
};

}  // namespace trel::gui
