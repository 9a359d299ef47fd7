// The embedded-code entry: the low-level program a built executable runs, kept as string 101 of
// its resources in hexadecimal text. Each character of the program (its lines joined with CR LF)
// becomes two upper-case hexadecimal digits of its 8-bit code, with nothing between them, so
// "//A" followed by CR LF is "2F2F410D0A".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace trel {

inline constexpr uint32_t kEmbeddedCodeString = 101;

std::string encodeEmbeddedCode(std::string_view program);

// Decodes an entry text, appending the characters to `program`. Only the text before the first
// zero, CR or LF character is read. The text is cut into pieces of two characters (a last single
// character is a piece by itself); a piece of value 0 adds nothing. A piece that is not
// hexadecimal raises "'" + piece + "' is not a valid integer value"; `program` then holds what the
// pieces before it gave.
void decodeEmbeddedCode(std::string_view entry, std::string& program);

// The entry text of an executable file, empty when the file carries none. Throws ResourceError
// when the file's resources cannot be read, trel::Error when its string block is damaged.
std::string readEmbeddedEntry(const std::string& executablePath);
// The same, naming the file `shownAs` in its messages.
std::string readEmbeddedEntry(const std::string& executablePath, const std::string& shownAs);

}  // namespace trel
