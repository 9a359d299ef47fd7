#include "machine/console_model.h"

#include "machine/host.h"

namespace trel {

namespace {

// What a line costs besides its characters.
constexpr size_t kLineOverhead = sizeof(std::string);

std::string droppedNotice(uint64_t dropped) {
  return "[" + std::to_string(dropped) + " earlier lines dropped]";
}

}  // namespace

ConsoleModel::ConsoleModel(Host& host) : host_(host) {
  for (std::string_view line : {"Trel Default Output console", "Trel is QN+ interpreter", ""})
    add(line);
}

void ConsoleModel::clear() {
  lines_.clear();
  bytes_ = 0;
  dropped_ = 0;
  host_.consoleCleared();
}

void ConsoleModel::add(std::string_view line) {
  lines_.emplace_back(line);
  bytes_ += line.size() + kLineOverhead;
}

void ConsoleModel::addLine(std::string_view line) {
  add(line);
  host_.consoleLineAdded(lines_.back());
  if (lines_.size() > maxLines || bytes_ > maxBytes) dropOldest();
}

void ConsoleModel::dropOldest() {
  // The notice, when there is one, stays first and is not counted as a line of output.
  size_t first = dropped_ ? 1 : 0;
  size_t keepBytes = maxBytes / 4 * 3, keepLines = maxLines / 4 * 3;
  size_t end = first;
  while (end + 1 < lines_.size() &&
         (bytes_ > keepBytes || lines_.size() - (end - first) > keepLines)) {
    bytes_ -= lines_[end].size() + kLineOverhead;
    ++end;
  }
  dropped_ += end - first;
  if (first == 1) bytes_ -= lines_[0].size() + kLineOverhead;
  lines_.erase(lines_.begin(), lines_.begin() + static_cast<std::ptrdiff_t>(end));
  std::string notice = droppedNotice(dropped_);
  bytes_ += notice.size() + kLineOverhead;
  lines_.insert(lines_.begin(), std::move(notice));
  // The view shows the memo afresh.
  host_.consoleCleared();
}

void ConsoleModel::appendEndl() {
  if (lines_.empty()) addLine("");
  addLine("_");
}

std::string ConsoleModel::text() const {
  std::string out;
  for (const auto& l : lines_) {
    out += l;
    out += "\r\n";
  }
  return out;
}

void ConsoleModel::show() {
  visible_ = true;
  // A shown window is also brought forward, so the view hears of it every time.
  host_.consoleVisibilityChanged(true);
}

void ConsoleModel::hide() {
  if (!visible_) return;
  visible_ = false;
  host_.consoleVisibilityChanged(false);
}

}  // namespace trel
