// @FORMULA: the formula component computes the rest of the line against all machine variables and
// the result lands in RG0.
#pragma once

namespace trel {

// The formula component `F` of the main window and whatever it keeps between instructions.
struct FormulaState;

}  // namespace trel
