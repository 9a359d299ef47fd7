#include "rtl/integer_text.h"

#include <charconv>

#include "rtl/errors.h"

namespace trel {

namespace {

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

bool tryTextToInt(std::string_view s, int32_t& value) {
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

std::string intToText(int64_t value) {
  char buf[24];
  auto r = std::to_chars(buf, buf + sizeof buf, value);
  return std::string(buf, r.ptr);
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
