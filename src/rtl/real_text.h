// Reals in text, read and written with the process-wide decimal separator.
#pragma once

#include <string>
#include <string_view>

namespace trel {

// Optional blanks, optional sign, digits with an optional decimal separator and fraction (at least
// one digit in all), an optional exponent ("E" or "e", optional sign, digits), optional blanks.
bool tryTextToReal(std::string_view text, double& value);
// Throws trel::Error "'" + text + "' is not a valid floating point value".
double textToReal(std::string_view text);
// General format: at most 15 significant digits, no trailing zeros, exponent form ("1E20",
// "1E-6") for very large or very small magnitudes.
std::string realToText(double value);

// The characters of a number written with "." as separator, nothing around it: digits with an
// optional point and fraction (at least one digit in all), an optional exponent. A value too
// small for a double reads as 0; one too large does not convert.
bool tryDecimalToReal(std::string_view text, double& value);

}  // namespace trel
