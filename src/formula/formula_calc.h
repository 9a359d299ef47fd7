// TFormulaCalc: the value stack the evaluator runs formula code on, with the conversions of
// values to numbers and texts. Depth 0 is the top item.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "formula/calc_item.h"

namespace trel {

class TArtFormula;

// Texts longer than this are refused ("Text too long"), so that a formula doubling a text in a
// loop ends in an error rather than exhausting memory.
inline constexpr size_t kMaxTextLength = size_t{1} << 24;
void checkTextLength(size_t length);

class TFormulaCalc {
 public:
  explicit TFormulaCalc(TArtFormula& owner);

  void clear();
  int top() const { return top_; }
  TArtFormula& owner() { return owner_; }

  void pushNumber(double v) {
    TCalcItem& slot = nextSlot();
    slot.kind = CalcKind::Number;
    slot.number = v;
    ++top_;
  }
  void push(const TCalcItem& item) {
    nextSlot() = item;
    ++top_;
  }

  // --- for the handlers: items and their conversions at a depth
  TCalcItem& itemAt(int depth);
  double numberAt(int depth) { return toNumber(itemAt(depth)); }
  std::string textAt(int depth) { return toText(itemAt(depth)); }

  // --- conversions (a reference asks the owner's GetVarValue)
  double toNumber(const TCalcItem& item);
  // False when the value is no number; other errors are raised.
  bool tryToNumber(const TCalcItem& item, double& value);
  std::string toText(const TCalcItem& item);

  // Runs formula code to its end or its stop instruction.
  void run(std::string_view code);

 private:
  TCalcItem& nextSlot() {
    if (static_cast<size_t>(top_) == items_.size()) grow();
    return items_[top_];
  }
  void grow();
  void need(int count) const;
  void call(unsigned index, unsigned count);
  std::string referenceText(const TCalcItem& item);
  // Operators that meet texts or external references.
  void addSlow(TCalcItem& l, TCalcItem& r);
  double compare(TCalcItem& l, TCalcItem& r);

  TArtFormula& owner_;
  std::vector<TCalcItem> items_;
  int top_ = 0;
  int highWater_ = 0;
  TCalcItem result_;
};

}  // namespace trel
