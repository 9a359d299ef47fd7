// Reading a zero-terminated text at an address that foreign code handed back (the result of an
// EXTS call), without trusting it: a function that returns a number where a text was expected
// must not bring the machine down.
#pragma once

#include <optional>
#include <string>

namespace trel {

// The bytes from `address` up to its first zero byte, or nothing when the address is null or any
// of those bytes lies in memory the process cannot read.
std::optional<std::string> readForeignText(const char* address);

}  // namespace trel
