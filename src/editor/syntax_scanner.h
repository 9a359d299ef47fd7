// The source editor's colouring rules, without any widget: a line of QN+ source is cut into spans
// of one style each. Block comments may run over several lines, so a line starts in the state the
// line before ended in.
//
// Rules: blanks and control characters are blanks; "//" and ";" start a comment to the end of the
// line; "(*", "{" and "/*" open block comments closed by "*)", "}" and "*/"; a double quote opens
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

// Where a line starts: outside any block comment, or inside one of the three kinds.
enum class LineState : uint8_t { Normal, ParenComment, BraceComment, SlashComment };

struct SyntaxSpan {
  size_t start;
  size_t length;
  SyntaxStyle style;
};

// The 43 keywords, as the editor's keyword list gives them.
const std::vector<std::string_view>& syntaxKeywords();

// Appends the spans of one line (without its line break) to `out`; they cover the line without
// gaps. Answers the state the next line starts in.
LineState scanLine(std::string_view line, LineState state, std::vector<SyntaxSpan>& out);

}  // namespace trel
