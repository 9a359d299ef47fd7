// What every fuzz target shares: the input as bytes and the check that stops the run on a broken
// promise of the code under test (the fuzzer reports the abort with the input that caused it).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace trel::fuzz {

inline std::string_view inputText(const uint8_t* data, size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

[[noreturn]] inline void broken(const char* what) {
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::abort();
}

}  // namespace trel::fuzz

#define FUZZ_CHECK(condition) ((condition) ? (void)0 : ::trel::fuzz::broken(#condition))
