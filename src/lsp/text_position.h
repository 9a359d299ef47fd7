// Places in a document as the protocol gives them (0-based line, column in UTF-16 code units) and
// as the core sees them (lines of bytes), and file URIs.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trel::lsp {

// The UTF-16 length of a line of UTF-8 text (bytes that are not UTF-8 count one unit each).
size_t utf16Length(std::string_view line);
// The byte offset of a UTF-16 column, clamped to the line.
size_t byteOffsetOf(std::string_view line, size_t utf16Column);
// The UTF-16 column of a byte offset.
size_t utf16ColumnOf(std::string_view line, size_t byteOffset);

struct WordSpan {
  std::string text;
  size_t start = 0;  // byte offsets in the line
  size_t end = 0;
};

// The word at a byte offset of the line (or just before it): letters, digits and the characters
// QN+ names and keywords are made of ("_", ".", "%", "@", "$", "!", "#"), with the "::" in front
// of a label; nothing on a blank.
std::optional<WordSpan> wordAt(std::string_view line, size_t byteOffset);

// file:///a%20b/c.qn <-> /a b/c.qn. Answers nothing for URIs of other schemes.
std::optional<std::string> pathOfUri(std::string_view uri);
std::string uriOfPath(std::string_view path);

}  // namespace trel::lsp
