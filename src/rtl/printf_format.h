// The printf-style formatter with one real argument. A format is text with specifiers
// "%" ["0:"] ["-"] [width] ["." precision] type; "%%" writes "%".
//   e  scientific, precision = significant digits (default 15), exponent of at least 3 digits
//   f  fixed, precision = decimals (default 2)
//   g  general, precision = significant digits (default 15)
//   n  fixed with thousands separators (default 2 decimals); m is the same
//   d, u, x  an integral value as decimal or upper-case hexadecimal; precision = minimum digits
//   s  the value in general format; precision = maximum characters
// The width pads with blanks on the left, or on the right after "-".
#pragma once

#include <string>
#include <string_view>

namespace trel {

// Throws trel::Error "Format '...' invalid or incompatible with argument" for a malformed
// specifier, a type that does not fit the value, or a second use of the one argument.
std::string formatPrintf(std::string_view format, double value);

}  // namespace trel
