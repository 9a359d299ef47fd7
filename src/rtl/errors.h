// The error that ends a run or a command. Its text is what the user sees in the message box.
#pragma once

#include <cstdint>
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

// A file operation the system refused; reason() is the system's word for why ("No space left on
// device", "Permission denied").
class FileError : public Error {
 public:
  FileError(const std::string& message, int code, std::string reason)
      : Error(message), code_(code), reason_(std::move(reason)) {}
  int code() const { return code_; }  // the errno value
  const std::string& reason() const { return reason_; }

 private:
  int code_;
  std::string reason_;
};

// A run stopped by one of its limits; a type of its own so the exit status can tell it apart.
class LimitError : public Error {
 public:
  using Error::Error;
};

// The step limit (qn --max-steps) was reached.
class StepLimitError : public LimitError {
 public:
  StepLimitError() : LimitError("Step limit reached") {}
};

// The run holds more memory than its limit allows.
class MemoryLimitError : public LimitError {
 public:
  explicit MemoryLimitError(uint64_t limitBytes)
      : LimitError("Memory limit reached: the run holds more than " +
                   std::to_string(limitBytes >> 20) + " MB") {}
};

}  // namespace trel
