// The console window's state ("TForm2"): the output memo's lines, the input box (Edit1) and
// whether the window is visible. The view (Qt window or terminal) follows it through the host's
// console notifications and never holds output of its own.
//
// The memo keeps at most maxLines lines and about maxBytes bytes: past either, the oldest
// quarter goes at once (so dropping costs O(1) per line on average), and the first line then reads
// "[N earlier lines dropped]", as in the assembly log.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace trel {

class Host;

class ConsoleModel {
 public:
  size_t maxLines = size_t{1} << 20;
  size_t maxBytes = size_t{256} << 20;

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
  // Bytes the memo holds now (the lines and what each costs besides).
  size_t bytes() const { return bytes_; }
  uint64_t droppedCount() const { return dropped_; }
  void show();
  void hide();

  // The console input box ("Edit1"); console mode runs its whole text as one line.
  std::string Edit1;

 private:
  Host& host_;
  void add(std::string_view line);
  void dropOldest();

  std::vector<std::string> lines_;
  size_t bytes_ = 0;
  uint64_t dropped_ = 0;
  bool visible_ = false;
};

}  // namespace trel
