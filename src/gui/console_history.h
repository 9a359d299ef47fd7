// The console lines run so far, for recalling with Up and Down. Walking back from the end keeps
// the text being typed, and walking forward past the newest line gives it back.
#pragma once

#include <string>
#include <vector>

namespace trel::gui {

class ConsoleHistory {
 public:
  // A line was run; an empty line, or the same as the newest, is not kept again.
  void add(const std::string& line) {
    if (!line.empty() && (lines_.empty() || lines_.back() != line)) lines_.push_back(line);
    position_ = lines_.size();
  }
  // The older line before the one shown; false at the oldest. `typed` is the text shown now.
  bool back(const std::string& typed, std::string& shown) {
    if (position_ == 0) return false;
    if (position_ == lines_.size()) draft_ = typed;
    shown = lines_[--position_];
    return true;
  }
  // The newer line, or the draft after the newest; false when the draft is shown already.
  bool forward(std::string& shown) {
    if (position_ >= lines_.size()) return false;
    ++position_;
    shown = position_ == lines_.size() ? draft_ : lines_[position_];
    return true;
  }
  const std::vector<std::string>& lines() const { return lines_; }

 private:
  std::vector<std::string> lines_;
  size_t position_ = 0;
  std::string draft_;
};

}  // namespace trel::gui
