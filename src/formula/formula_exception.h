// The errors the formula component raises.
#pragma once

#include <exception>
#include <string>

#include "rtl/errors.h"

namespace trel {

// A formula that does not compile or cannot be computed; the message is what the user sees.
class FormulaException : public Error {
 public:
  explicit FormulaException(const std::string& message) : Error(message) {}
};

// The host asked to abandon a running formula (the user stopped the program). It carries no
// message: nothing is shown for it.
class FormulaStopped : public std::exception {
 public:
  const char* what() const noexcept override { return "The formula was stopped"; }
};

}  // namespace trel
