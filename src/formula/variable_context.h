// The variables of the formula being compiled or run: the host's variables (through
// FormulaVariables) followed by the ones DEFINE and DEFINES make while it runs. A variable's index
// is its position: the host's first, then the run-time ones in the order they were made.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "formula/calc_item.h"
#include "formula/formula_variables.h"

namespace trel {

class VariableContext {
 public:
  bool caseSensitive = false;

  // --- compiling: names of the host's variables and their "used" flags
  void beginCompile(FormulaVariables& variables);
  int findHost(std::string_view name) { return vars_ ? vars_->find(name, caseSensitive) : -1; }
  void markUsed(int index) {
    if (usedIn_[index] == compile_) return;
    usedIn_[index] = compile_;
    ++usedCount_;
  }
  bool allUsed() const { return usedCount_ == hostCount_; }
  int hostCount() const { return hostCount_; }

  // --- running
  // Drops the run-time variables of an earlier run and binds the host's values.
  void beginRun(FormulaVariables& variables);
  // Binds the host's values only, for a run that makes no variables and stores nothing.
  void bindValues(FormulaVariables& variables) {
    vars_ = &variables;
    hostCount_ = variables.count();
    direct_ = variables.values();
    if (!direct_) newLoadRound();
  }
  // The same for variables whose `count` values the run reads from `values`.
  void bindArray(FormulaVariables& variables, int count, TCalcItem* values) {
    vars_ = &variables;
    hostCount_ = count;
    direct_ = values;
  }
  // After a run that failed, the host's stored values are put back as they were.
  void endRun(bool completed);

  // The host's own storage of the values, when the run works on it directly; else null.
  const TCalcItem* directValues() const { return direct_; }
  TCalcItem& hostValue(int index) {
    if (direct_) return direct_[index];
    if (loadedIn_[index] != run_) load(index);
    return own_[index];
  }
  // The first variable bearing the name, host's first; -1 when there is none.
  int find(std::string_view name);
  TCalcItem& value(int index);
  void store(int index, const TCalcItem& v);
  // Makes a run-time variable; false when the name is found already.
  bool define(std::string_view name, const TCalcItem& v);

 private:
  void load(int index);
  void newLoadRound();
  std::string key(std::string_view name) const;

  FormulaVariables* vars_ = nullptr;
  int hostCount_ = 0;
  TCalcItem* direct_ = nullptr;
  // Values read on demand: own_[i] is current when loadedIn_[i] == run_.
  std::vector<TCalcItem> own_;
  std::vector<uint32_t> loadedIn_;
  uint32_t run_ = 0;
  std::vector<std::pair<int, TCalcItem>> undo_;
  std::vector<uint32_t> usedIn_;
  uint32_t compile_ = 0;
  int usedCount_ = 0;
  std::vector<TCalcItem> runtimeValues_;
  std::unordered_map<std::string, int> runtimeIndex_;
};

}  // namespace trel
