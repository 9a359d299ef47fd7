// Signed 32-bit integers in text: optional leading blanks, optional "+" or "-", then decimal
// digits, or hexadecimal digits after "$", "x", "X", "0x" or "0X" (up to 8 digits, so "$FFFFFFFF"
// reads as -1). Anything else, or a decimal value out of range, does not convert.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace trel {

bool tryTextToInt(std::string_view text, int32_t& value);
// The value of a hexadecimal digit (either case), or -1.
int hexDigit(char c);
inline bool isIntegerText(std::string_view text) {
  int32_t v;
  return tryTextToInt(text, v);
}
// Throws trel::Error "'" + text + "' is not a valid integer value" when the text does not convert.
int32_t textToInt(std::string_view text);
// Throws that same error for a text that a caller found not to convert.
[[noreturn]] void throwInvalidInteger(std::string_view text);
std::string intToText(int64_t value);
// Writes the decimal digits of value (with a "-" when negative) at out; answers the end. out needs
// room for 20 characters.
char* formatInt(char* out, int64_t value);
// Upper-case hexadecimal digits, at least `minDigits` of them.
std::string hexText(uint64_t value, int minDigits);

}  // namespace trel
