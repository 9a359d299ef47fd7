// 8-bit text helpers. Texts are bytes (std::string); only the ASCII letters a to z change case,
// and trimming removes every character of code 32 and below.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace trel {

inline bool isBlankOrControl(char c) {
  return static_cast<unsigned char>(c) <= 32;
}

std::string_view trimView(std::string_view s);
std::string_view trimLeftView(std::string_view s);
std::string_view trimRightView(std::string_view s);
inline std::string trim(std::string_view s) {
  return std::string(trimView(s));
}
inline std::string trimLeft(std::string_view s) {
  return std::string(trimLeftView(s));
}
inline std::string trimRight(std::string_view s) {
  return std::string(trimRightView(s));
}

std::string upperCase(std::string_view s);
std::string lowerCase(std::string_view s);
inline char upperChar(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

bool startsWith(std::string_view s, std::string_view prefix);
// Case-insensitive (ASCII) prefix test.
bool startsWithNoCase(std::string_view s, std::string_view prefix);
bool contains(std::string_view s, std::string_view part);
// Drops the first n characters (all of them when n exceeds the length).
std::string_view dropFront(std::string_view s, size_t n);

// Replaces every occurrence of `from` (case-sensitive) by `to`.
std::string replaceAll(std::string_view s, std::string_view from, std::string_view to);
// Replaces the first occurrence of `from`, compared without regard to ASCII case.
std::string replaceFirstNoCase(std::string_view s, std::string_view from, std::string_view to);

// Splits at every line break (CR LF, lone CR or lone LF): a text with k breaks gives k + 1 lines.
// The empty text gives one empty line. `starts`, when given, receives where each line begins.
std::vector<std::string> splitAtLineBreaks(std::string_view text,
                                           std::vector<size_t>* starts = nullptr);
// Makes `lines` what splitAtLineBreaks(text) gives, keeping the lines it already holds where they
// still stand at its start and its end: after a small edit of a long text only the lines between
// are made anew.
void resplitAtLineBreaks(std::vector<std::string>& lines, std::string_view text);
// Splits a file's text into lines: like splitAtLineBreaks, but a break at the very end does not
// start another line and the empty text has no lines.
std::vector<std::string> splitFileLines(std::string_view text);
// Joins lines with CR LF between them (none after the last).
std::string joinCrLf(const std::vector<std::string>& lines);

// Reads a whole file; throws trel::Error with a clear message when it cannot, also when it holds
// more than kMaxReadBytes (sources, libraries and the guide are far smaller; a device such as
// /dev/zero never ends).
inline constexpr size_t kMaxReadBytes = size_t{64} << 20;
std::string readWholeFile(const std::string& path);
// Writes a whole file through a temporary file and a rename, so that a failure never leaves the
// target half-written. Throws trel::Error when it cannot.
void writeFileAtomically(const std::string& path, std::string_view content);
// Writes (creates or replaces) a file in place. Throws trel::Error when it cannot.
void writeWholeFile(const std::string& path, std::string_view content);

}  // namespace trel
