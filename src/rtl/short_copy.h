// Copying a few bytes without a call to memcpy: texts of a few characters (log line parts,
// variable values) are copied with at most two overlapping loads and stores, where the call
// would cost more than the copy.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace trel {

// Copies n bytes from in to out (the two must not overlap) and returns out + n.
inline char* copyShort(char* out, const char* in, size_t n) {
  if (n >= 8) {
    if (n > 16) {
      if (n > 32) {
        std::memcpy(out, in, n);
        return out + n;
      }
      char a[16], b[16];
      std::memcpy(a, in, 16);
      std::memcpy(b, in + n - 16, 16);
      std::memcpy(out, a, 16);
      std::memcpy(out + n - 16, b, 16);
      return out + n;
    }
    uint64_t a, b;
    std::memcpy(&a, in, 8);
    std::memcpy(&b, in + n - 8, 8);
    std::memcpy(out, &a, 8);
    std::memcpy(out + n - 8, &b, 8);
  } else if (n >= 4) {
    uint32_t a, b;
    std::memcpy(&a, in, 4);
    std::memcpy(&b, in + n - 4, 4);
    std::memcpy(out, &a, 4);
    std::memcpy(out + n - 4, &b, 4);
  } else if (n > 0) {
    out[0] = in[0];
    out[n / 2] = in[n / 2];
    out[n - 1] = in[n - 1];
  }
  return out + n;
}

}  // namespace trel
