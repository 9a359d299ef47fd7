#include "rtl/integer_text.h"

#include <bit>

#include "rtl/errors.h"

namespace trel {

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool tryTextToInt(std::string_view s, int32_t& value) {
  // Most texts are short plain decimals: read those without the general path's checks.
  if (!s.empty() && s.size() <= 9) {
    size_t k = s[0] == '-' ? 1 : 0;
    if (k < s.size()) {
      int32_t v = 0;
      for (; k < s.size() && s[k] >= '0' && s[k] <= '9'; ++k) v = v * 10 + (s[k] - '0');
      if (k == s.size()) {
        value = s[0] == '-' ? -v : v;
        return true;
      }
    }
  }
  size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  bool hex = false;
  if (i < s.size() && (s[i] == '$' || s[i] == 'x' || s[i] == 'X')) {
    hex = true;
    ++i;
  } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i >= s.size()) return false;
  uint64_t acc = 0;
  if (hex) {
    for (; i < s.size(); ++i) {
      int d = hexDigit(s[i]);
      if (d < 0) return false;
      acc = acc * 16 + static_cast<uint64_t>(d);
      if (acc > 0xFFFFFFFFull) return false;
    }
    uint32_t bits = static_cast<uint32_t>(acc);
    if (negative) bits = 0u - bits;
    value = static_cast<int32_t>(bits);
    return true;
  }
  for (; i < s.size(); ++i) {
    char c = s[i];
    if (c < '0' || c > '9') return false;
    acc = acc * 10 + static_cast<uint64_t>(c - '0');
    if (acc > 2147483648ull) return false;
  }
  if (!negative && acc > 2147483647ull) return false;
  value = negative ? static_cast<int32_t>(-static_cast<int64_t>(acc)) : static_cast<int32_t>(acc);
  return true;
}

void throwInvalidInteger(std::string_view text) {
  throw Error("'" + std::string(text) + "' is not a valid integer value");
}

int32_t textToInt(std::string_view text) {
  int32_t v;
  if (!tryTextToInt(text, v)) throwInvalidInteger(text);
  return v;
}

char* formatInt(char* out, int64_t value) {
  static constexpr char kPairs[] =
      "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
      "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
      "8081828384858687888990919293949596979899";
  uint64_t v = static_cast<uint64_t>(value);
  if (value < 0) {
    *out++ = '-';
    v = 0 - v;
  }
  // The number of digits from the number of bits (1233 / 4096 is just above log10 2), corrected
  // by one comparison.
  static constexpr uint64_t kPowers[20] = {1,
                                           10,
                                           100,
                                           1000,
                                           10000,
                                           100000,
                                           1000000,
                                           10000000,
                                           100000000,
                                           1000000000,
                                           10000000000,
                                           100000000000,
                                           1000000000000,
                                           10000000000000,
                                           100000000000000,
                                           1000000000000000,
                                           10000000000000000,
                                           100000000000000000,
                                           1000000000000000000,
                                           10000000000000000000u};
  int estimate = (std::bit_width(v) * 1233) >> 12;
  int digits = estimate + (v >= kPowers[estimate] ? 1 : 0);
  if (digits == 0) digits = 1;
  char* end = out + digits;
  char* p = end;
  while (v >= 100) {
    unsigned pair = static_cast<unsigned>(v % 100) * 2;
    v /= 100;
    *--p = kPairs[pair + 1];
    *--p = kPairs[pair];
  }
  if (v >= 10) {
    unsigned pair = static_cast<unsigned>(v) * 2;
    *--p = kPairs[pair + 1];
    *--p = kPairs[pair];
  } else {
    *--p = static_cast<char>('0' + v);
  }
  return end;
}

std::string intToText(int64_t value) {
  char buf[24];
  return std::string(buf, formatInt(buf, value));
}

std::string hexText(uint64_t value, int minDigits) {
  static const char digits[] = "0123456789ABCDEF";
  char buf[20];
  int n = 0;
  do {
    buf[n++] = digits[value & 15];
    value >>= 4;
  } while (value != 0);
  while (n < minDigits && n < 16) buf[n++] = '0';
  std::string r;
  r.reserve(n);
  while (n > 0) r.push_back(buf[--n]);
  return r;
}

}  // namespace trel
