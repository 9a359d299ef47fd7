// formulaf: the 76 built-in functions as one table. An entry's index is its position; the
// compiler finds names in it (without regard to case, in index order) and compiles calls to the
// index, the evaluator calls the entry's handler.
#pragma once

#include <array>
#include <string_view>

namespace trel {

class TFormulaCalc;
struct TCalcItem;

// A handler reads its arguments from the value stack (they stay there) and fills in the result,
// which starts as the number 0. For a fixed count c, argument i (from 1) is at depth c - i; for a
// variable count, depth 0 holds the count m and argument i is at depth m - i + 1.
using FormulaHandler = void (*)(TFormulaCalc& calc, TCalcItem& result);

struct FTableItem {
  std::string_view name;  // upper case
  int count;              // 0 to 3, or kAnyCount
  FormulaHandler handler;
};

inline constexpr int kAnyCount = -1;
inline constexpr int kFunctionCount = 76;

extern const std::array<FTableItem, kFunctionCount> kFunctionTable;

// The functions the "$" forms compile calls to.
namespace fn {
inline constexpr int kSet = 0, kVal = 1, kInc = 5, kDec = 6;
}

}  // namespace trel
