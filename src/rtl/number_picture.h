// The number-picture formatter: "0" a digit, "#" a digit left out when it would be a leading or
// trailing zero, "." the decimal separator, "," thousands grouping, "E+" / "E-" (or "e+" / "e-")
// followed by zeros an exponent, text in quotes copied, ";" separating the pictures for positive,
// negative and zero values. Any other character is copied.
#pragma once

#include <string>
#include <string_view>

namespace trel {

// The process's thousands separator: "." where the decimal separator is ",", else ",".
char thousandSeparator();

// An empty picture gives the general format. The value must be finite.
std::string formatNumberPicture(std::string_view picture, double value);

}  // namespace trel
