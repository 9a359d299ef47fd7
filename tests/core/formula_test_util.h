// Helpers for the formula tests: compute a formula with a fresh component and get its result
// text, or "error: " and the message.
#pragma once

#include <string>
#include <vector>

#include "formula/art_formula.h"

namespace trel::testing {

inline std::string evalWith(TArtFormula& f, const std::string& text,
                            const std::vector<std::string>& names = {},
                            std::vector<TCalcItem>* values = nullptr) {
  std::vector<TCalcItem> own(names.size());
  std::vector<TCalcItem>& v = values ? *values : own;
  try {
    std::string result;
    f.CompileAndCompute(text, static_cast<int>(names.size()), result, v.data(), names.data());
    return result;
  } catch (const std::exception& e) {
    return std::string("error: ") + e.what();
  }
}

inline std::string eval(const std::string& text) {
  TArtFormula f;
  return evalWith(f, text);
}

}  // namespace trel::testing
