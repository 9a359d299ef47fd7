// The source editor's colouring rules, without any widget: a line of QN+ source is cut into spans
// of one style each. Every line is coloured on its own: QN+ has no comment that spans lines.
//
// Rules: a line that holds "//" anywhere (inside double quotes too) is one comment, because the
// interpreter blanks such a line whole and runs nothing of it; "(* *)", "{ }", "/* */" and ";" are
// ordinary text. Otherwise blanks and control characters are blanks; a double quote opens
// a string closed by the next double quote or the end of the line; "#" starts a preprocessor part
// to the end of the line; a keyword is matched without regard to case, one that starts with a
// letter only where no word or number character precedes it and one that ends in a letter only
// where no letter or "_" follows; a word starts with a letter, "_" or a byte of 128 and above; a
// number starts with a digit; any other character is a symbol.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace trel {

enum class SyntaxStyle : uint8_t {
  Default,
  Comment,
  Keyword,
  Identifier,
  Number,
  String,
  Preprocessor,
  Blank,
  Symbol
};
inline constexpr int kSyntaxStyleCount = 9;

struct SyntaxSpan {
  size_t start;
  size_t length;
  SyntaxStyle style;
};

// The 43 keywords, as the editor's keyword list gives them.
const std::vector<std::string_view>& syntaxKeywords();

// Appends the spans of one line (without its line break) to `out`; they cover the line without
// gaps.
void scanLine(std::string_view line, std::vector<SyntaxSpan>& out);

}  // namespace trel
