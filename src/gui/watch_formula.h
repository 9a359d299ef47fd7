// Computes a watched formula on a machine's current values. Kept free of Qt: the formula
// component's headers use names that Qt's keywords would take.
#pragma once

#include <cstdint>
#include <string>

namespace trel {
class Machine;
}

namespace trel::gui {

struct WatchResult {
  bool ok = true;
  std::string text;  // the result, or the error's message
};

// A watch must never hang the IDE: the formula component looks at the step limit every few
// thousand instructions, and a watch gets this many looks (some tenths of a second) to end.
inline constexpr uint64_t kWatchStepBudget = 2000;

// The formula's result on the machine's values, which stay as they were (the step counters too).
WatchResult computeWatch(Machine& machine, const std::string& formula);

}  // namespace trel::gui
