// The error that ends a run or a command. Its text is what the user sees in the message box.
#pragma once

#include <stdexcept>
#include <string>

namespace trel {

class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// Raised when `qn --max-steps` stops a run; a separate type so the exit status can tell it apart.
class StepLimitError : public Error {
 public:
  StepLimitError() : Error("Step limit reached") {}
};

}  // namespace trel
