#include "machine/console_model.h"

#include "machine/host.h"

namespace trel {

ConsoleModel::ConsoleModel(Host& host)
    : host_(host), lines_{"Trel Default Output console", "Trel is QN+ interpreter", ""} {}

void ConsoleModel::clear() {
  lines_.clear();
  host_.consoleCleared();
}

void ConsoleModel::addLine(std::string_view line) {
  lines_.emplace_back(line);
  host_.consoleLineAdded(lines_.back());
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
