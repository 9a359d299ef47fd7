// The console window's state ("TForm2"): the output memo's lines, the input box (Edit1) and
// whether the window is visible. The view (Qt window or terminal) follows it through the host's
// console notifications and never holds output of its own.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace trel {

class Host;

class ConsoleModel {
 public:
  explicit ConsoleModel(Host& host);

  const std::vector<std::string>& lines() const { return lines_; }
  void clear();
  // Adds one line at the end ("Lines.Add").
  void addLine(std::string_view line);
  // Appends CR LF and "_" to the end of the whole text ("%ECHO endl"): on an empty memo this makes
  // an empty line and a "_" line, otherwise one "_" line.
  void appendEndl();
  // All lines, each followed by CR LF, as %OUTF saves them.
  std::string text() const;

  bool visible() const { return visible_; }
  void show();
  void hide();

  // The console input box ("Edit1"); console mode runs its whole text as one line.
  std::string Edit1;

 private:
  Host& host_;
  std::vector<std::string> lines_;
  bool visible_ = false;
};

}  // namespace trel
