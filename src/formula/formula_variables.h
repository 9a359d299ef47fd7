// The host's variables as a formula sees them: a count, lookup by name, and values. A formula
// refers to a variable by its index; the host's values are read when a run first needs them.
#pragma once

#include <array>
#include <cstdint>
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
  ArrayVariables() {
    single_.fill(-1);
    singleFolded_.fill(-1);
  }
  void setNames(int n, const std::string* names);
  void setValues(TCalcItem* values) { values_ = values; }
  int count() const override { return static_cast<int>(names_.size()); }
  int find(std::string_view name, bool caseSensitive) override;
  TCalcItem* values() override { return values_; }

 private:
  // What a name is looked up by first: its length and its first letter in upper case, so that
  // a lookup in a short list compares the characters of a few names at most.
  static uint64_t keyOf(std::string_view name);

  std::vector<std::string> names_;
  std::vector<uint64_t> keys_;  // keyOf each name
  // The first variable whose name is the one character, exactly and without regard to case
  // (by the upper-case character); -1 for none. Names of one letter are the common case.
  std::array<int32_t, 256> single_, singleFolded_;
  TCalcItem* values_ = nullptr;
  // Built on the first lookup in long lists: name (upper-cased unless exact) -> first index.
  std::unordered_map<std::string, int> exact_, folded_;
  bool indexed_ = false;
};

}  // namespace trel
