// How the debugger's panels show a variable's value: as text the user reads (control characters
// escaped, so a line break or a zero byte is seen rather than acted on) or as hexadecimal bytes.
#pragma once

#include <QString>

#include <string_view>

namespace trel::gui {

// Values longer than this are cut with an ellipsis; a panel row is no place for a whole file.
inline constexpr size_t kShownValueBytes = 400;

// The bytes as UTF-8, each control character (and the backslash) written as \xNN.
QString readableValue(std::string_view value);
// The bytes as two-digit hexadecimal numbers separated by blanks ("48 69").
QString hexValue(std::string_view value);

}  // namespace trel::gui
