#include "formula/operator_stack.h"

namespace trel {

void TFormulaStack::popCodeInto(std::string& code) {
  uint8_t b = pop();
  code.push_back(static_cast<char>(b));
  if (b == fcode::kCall && bytes_.size() >= 2) {
    code.push_back(static_cast<char>(pop()));  // index
    code.push_back(static_cast<char>(pop()));  // count
  }
}

}  // namespace trel
