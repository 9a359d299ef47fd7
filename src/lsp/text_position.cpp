#include "lsp/text_position.h"

#include <algorithm>

namespace trel::lsp {

namespace {

// The length of the UTF-8 sequence a lead byte starts, and the UTF-16 units it encodes; a byte
// that cannot lead one is a sequence of one byte and one unit.
struct Sequence {
  size_t bytes;
  size_t units;
};

Sequence sequenceAt(std::string_view line, size_t at) {
  const unsigned char c = static_cast<unsigned char>(line[at]);
  size_t bytes = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 1;
  if (at + bytes > line.size()) return {1, 1};
  for (size_t k = 1; k < bytes; ++k)
    if ((static_cast<unsigned char>(line[at + k]) & 0xC0) != 0x80) return {1, 1};
  return {bytes, bytes == 4 ? 2u : 1u};
}

bool isWordByte(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c >= 128 ||
         std::string_view("_.%@$!#").find(static_cast<char>(c)) != std::string_view::npos;
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

size_t utf16Length(std::string_view line) {
  return utf16ColumnOf(line, line.size());
}

size_t byteOffsetOf(std::string_view line, size_t utf16Column) {
  size_t at = 0, units = 0;
  while (at < line.size() && units < utf16Column) {
    Sequence s = sequenceAt(line, at);
    at += s.bytes;
    units += s.units;
  }
  return at;
}

size_t utf16ColumnOf(std::string_view line, size_t byteOffset) {
  size_t at = 0, units = 0;
  byteOffset = std::min(byteOffset, line.size());
  while (at < byteOffset) {
    Sequence s = sequenceAt(line, at);
    at += s.bytes;
    units += s.units;
  }
  return units;
}

std::optional<WordSpan> wordAt(std::string_view line, size_t byteOffset) {
  byteOffset = std::min(byteOffset, line.size());
  size_t start = byteOffset, end = byteOffset;
  // The cursor may stand just after the word (at its end), as when one has just typed it.
  if ((end >= line.size() || !isWordByte(static_cast<unsigned char>(line[end]))) && start > 0 &&
      isWordByte(static_cast<unsigned char>(line[start - 1])))
    end = --start;
  while (start > 0 && isWordByte(static_cast<unsigned char>(line[start - 1]))) --start;
  while (end < line.size() && isWordByte(static_cast<unsigned char>(line[end]))) ++end;
  if (start == end) return std::nullopt;
  if (start >= 2 && line.substr(start - 2, 2) == "::") start -= 2;  // a label: ::name
  return WordSpan{std::string(line.substr(start, end - start)), start, end};
}

std::optional<std::string> pathOfUri(std::string_view uri) {
  constexpr std::string_view kScheme = "file://";
  if (uri.substr(0, kScheme.size()) != kScheme) return std::nullopt;
  std::string_view rest = uri.substr(kScheme.size());
  size_t slash = rest.find('/');  // a host part (usually empty or "localhost") comes first
  if (slash == std::string_view::npos) return std::nullopt;
  rest = rest.substr(slash);
  std::string path;
  for (size_t i = 0; i < rest.size(); ++i) {
    if (rest[i] == '%' && i + 2 < rest.size() && hexValue(rest[i + 1]) >= 0 &&
        hexValue(rest[i + 2]) >= 0) {
      path.push_back(static_cast<char>(hexValue(rest[i + 1]) * 16 + hexValue(rest[i + 2])));
      i += 2;
    } else {
      path.push_back(rest[i]);
    }
  }
  return path;
}

std::string uriOfPath(std::string_view path) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string uri = "file://";
  for (unsigned char c : path) {
    bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                 std::string_view("/-._~").find(static_cast<char>(c)) != std::string_view::npos;
    if (plain) {
      uri.push_back(static_cast<char>(c));
    } else {
      uri.push_back('%');
      uri.push_back(kHex[c >> 4]);
      uri.push_back(kHex[c & 15]);
    }
  }
  return uri;
}

}  // namespace trel::lsp
