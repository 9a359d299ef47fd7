// TFormulaStack: the compiler's stack of pending operators, one byte each, with the markers "("
// and "," between the parts of a bracket or call. A pending call is three bytes: argument count,
// function index, the call instruction (on top).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "formula/code_format.h"

namespace trel {

class TFormulaStack {
 public:
  TFormulaStack() { bytes_.reserve(200); }
  void reset() { bytes_.clear(); }
  void push(uint8_t b) { bytes_.push_back(b); }
  void pushCall(uint8_t count, uint8_t index) {
    bytes_.push_back(count);
    bytes_.push_back(index);
    bytes_.push_back(fcode::kCall);
  }
  // 0 when empty.
  uint8_t pop() {
    if (bytes_.empty()) return 0;
    uint8_t b = bytes_.back();
    bytes_.pop_back();
    return b;
  }
  uint8_t top() const { return bytes_.empty() ? 0 : bytes_.back(); }
  bool empty() const { return bytes_.empty(); }
  // Pops one operator and appends its code: one byte, or the call instruction, index, count.
  void popCodeInto(std::string& code) {
    uint8_t b = pop();
    code.push_back(static_cast<char>(b));
    if (b == fcode::kCall && bytes_.size() >= 2) {
      code.push_back(static_cast<char>(pop()));  // index
      code.push_back(static_cast<char>(pop()));  // count
    }
  }

 private:
  std::vector<uint8_t> bytes_;
};

}  // namespace trel
