// The host's variables as a formula sees them: a count, lookup by name, and values. A formula
// refers to a variable by its index; the host's values are read when a run first needs them.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "formula/calc_item.h"

namespace trel {

class FormulaVariables {
 public:
  virtual ~FormulaVariables() = default;
  virtual int count() const = 0;
  // The first variable in index order bearing the name (exactly, or with letters compared
  // without regard to case), or -1.
  virtual int find(std::string_view name, bool caseSensitive) = 0;
  // Storage of all values as formula values, when the host keeps them so. A run then works on it
  // directly (and puts it back as it was when the run fails).
  virtual TCalcItem* values() { return nullptr; }
  // Otherwise the value of a variable at the start of a run, read on demand. What a run stores
  // into such variables is not handed back.
  virtual void read(int index, TCalcItem& value) {
    (void)index;
    value.setNumber(0);
  }
};

// Variables given as a list of names and an array of values.
class ArrayVariables : public FormulaVariables {
 public:
  void setNames(int n, const std::string* names);
  void setValues(TCalcItem* values) { values_ = values; }
  int count() const override { return static_cast<int>(names_.size()); }
  int find(std::string_view name, bool caseSensitive) override;
  TCalcItem* values() override { return values_; }

 private:
  std::vector<std::string> names_;
  TCalcItem* values_ = nullptr;
  // Built on the first lookup in long lists: name (upper-cased unless exact) -> first index.
  std::unordered_map<std::string, int> exact_, folded_;
  bool indexed_ = false;
};

}  // namespace trel
