// The error that ends a run or a command. Its text is what the user sees in the message box.
#pragma once

#include <stdexcept>
#include <string>

namespace trel {

class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& message) : std::runtime_error(message), text_(message) {}
  // The whole message; what() stops at a zero byte, which names from programs may hold.
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

// The message of any error, whole when it is one of ours.
inline std::string errorText(const std::exception& error) {
  if (auto* own = dynamic_cast<const Error*>(&error)) return own->text();
  return error.what();
}

// Raised when `qn --max-steps` stops a run; a separate type so the exit status can tell it apart.
class StepLimitError : public Error {
 public:
  StepLimitError() : Error("Step limit reached") {}
};

}  // namespace trel
