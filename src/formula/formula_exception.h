// The errors the formula component raises.
#pragma once

#include <cstddef>
#include <exception>
#include <optional>
#include <string>

#include "rtl/errors.h"

namespace trel {

// A formula that does not compile or cannot be computed; the message is what the user sees.
class FormulaException : public Error {
 public:
  explicit FormulaException(const std::string& message) : Error(message) {}
  FormulaException(const std::string& message, size_t offset) : Error(message), offset_(offset) {}
  // Where in the formula text (from 0) the compiler stopped, when it is known.
  std::optional<size_t> offset() const { return offset_; }

 private:
  std::optional<size_t> offset_;
};

// The host asked to abandon a running formula (the user stopped the program). It carries no
// message: nothing is shown for it.
class FormulaStopped : public std::exception {
 public:
  const char* what() const noexcept override { return "The formula was stopped"; }
};

}  // namespace trel
