#include "editor/syntax_scanner.h"

#include <algorithm>
#include <array>

namespace trel {

namespace {

// Longest first, so "DEF (ENTRY)" wins over "DEF" and "<>" over "<".
std::vector<std::string_view> keywordsLongestFirst() {
  std::vector<std::string_view> k = syntaxKeywords();
  std::stable_sort(k.begin(), k.end(),
                   [](std::string_view a, std::string_view b) { return a.size() > b.size(); });
  return k;
}

bool isLetter(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(unsigned char c) {
  return c >= '0' && c <= '9';
}
bool isWordStart(unsigned char c) {
  return isLetter(c) || c == '_' || c >= 128;
}
bool isWordChar(unsigned char c) {
  return isWordStart(c) || isDigit(c) || c == '.';
}
bool isBlank(unsigned char c) {
  return c <= 32;
}

unsigned char upper(unsigned char c) {
  return c >= 'a' && c <= 'z' ? c - 32 : c;
}

bool matchesNoCase(std::string_view text, size_t at, std::string_view word) {
  if (text.size() - at < word.size()) return false;
  for (size_t i = 0; i < word.size(); ++i)
    if (upper(static_cast<unsigned char>(text[at + i])) != static_cast<unsigned char>(word[i]))
      return false;
  return true;
}

// Length of the keyword at `at`, or 0. `inWord`: a word character stands right before `at`.
size_t keywordAt(std::string_view line, size_t at, bool inWord) {
  static const std::vector<std::string_view> keywords = keywordsLongestFirst();
  for (std::string_view k : keywords) {
    if (inWord && isLetter(static_cast<unsigned char>(k.front()))) continue;
    if (!matchesNoCase(line, at, k)) continue;
    size_t end = at + k.size();
    bool endsInLetter = isLetter(static_cast<unsigned char>(k.back()));
    if (endsInLetter && end < line.size()) {
      unsigned char next = static_cast<unsigned char>(line[end]);
      if (isLetter(next) || next == '_' || next >= 128) continue;
    }
    return k.size();
  }
  return 0;
}

struct BlockComment {
  LineState state;
  std::string_view open, close;
};
constexpr std::array<BlockComment, 3> kBlockComments = {{
    {LineState::ParenComment, "(*", "*)"},
    {LineState::BraceComment, "{", "}"},
    {LineState::SlashComment, "/*", "*/"},
}};

std::string_view closerOf(LineState state) {
  for (const BlockComment& b : kBlockComments)
    if (b.state == state) return b.close;
  return {};
}

}  // namespace

const std::vector<std::string_view>& syntaxKeywords() {
  static const std::vector<std::string_view> keywords = {
      "-",         "##",        "*",      "/",        "::",   ":=",          "@@",
      "^^",        "+",         "<",      "<>",       "=",    ">",           "ARRAY",
      "ARRAYLOAD", "ARRAYSAVE", "CALL",   "CLASS",    "DEF",  "DEF (ENTRY)", "ECHO",
      "ENDCLASS",  "ENDIF",     "ENTRY",  "EXTERNAL", "FL",   "FORMULA",     "HALT",
      "IF ",       "IF END",    "IMPORT", "INHERIT",  "JUMP", "METHOD",      "NEW",
      "NEW CLASS", "PROPERTY",  "REPEAT", "RETURN",   "RG",   "VAR",         "WHILE",
      "XOR"};
  return keywords;
}

LineState scanLine(std::string_view line, LineState state, std::vector<SyntaxSpan>& out) {
  size_t i = 0;
  const size_t n = line.size();
  auto emit = [&](size_t end, SyntaxStyle style) {
    if (end > i) out.push_back({i, end - i, style});
    i = end;
  };
  auto toEnd = [&](SyntaxStyle style) { emit(n, style); };

  while (i < n) {
    if (state != LineState::Normal) {
      std::string_view close = closerOf(state);
      size_t end = line.find(close, i);
      if (end == std::string_view::npos) {
        toEnd(SyntaxStyle::Comment);
        return state;
      }
      emit(end + close.size(), SyntaxStyle::Comment);
      state = LineState::Normal;
      continue;
    }
    const unsigned char c = static_cast<unsigned char>(line[i]);
    const std::string_view rest = line.substr(i);
    if (isBlank(c)) {
      size_t end = i;
      while (end < n && isBlank(static_cast<unsigned char>(line[end]))) ++end;
      emit(end, SyntaxStyle::Blank);
      continue;
    }
    if (rest.starts_with("//") || c == ';') {
      toEnd(SyntaxStyle::Comment);
      break;
    }
    bool opened = false;
    for (const BlockComment& b : kBlockComments) {
      if (!rest.starts_with(b.open)) continue;
      size_t end = line.find(b.close, i + b.open.size());
      if (end == std::string_view::npos) {
        toEnd(SyntaxStyle::Comment);
        return b.state;
      }
      emit(end + b.close.size(), SyntaxStyle::Comment);
      opened = true;
      break;
    }
    if (opened) continue;
    if (c == '"') {
      size_t end = line.find('"', i + 1);
      emit(end == std::string_view::npos ? n : end + 1, SyntaxStyle::String);
      continue;
    }
    // A word keyword never starts inside a word or number; a symbol keyword may follow one.
    bool inWord = i > 0 && isWordChar(static_cast<unsigned char>(line[i - 1]));
    if (size_t k = keywordAt(line, i, inWord)) {
      emit(i + k, SyntaxStyle::Keyword);
      continue;
    }
    if (c == '#') {  // after the keyword test, so "##" stays a keyword
      toEnd(SyntaxStyle::Preprocessor);
      break;
    }
    if (isWordStart(c) || isDigit(c)) {
      size_t end = i + 1;
      while (end < n && isWordChar(static_cast<unsigned char>(line[end]))) ++end;
      emit(end, isDigit(c) ? SyntaxStyle::Number : SyntaxStyle::Identifier);
      continue;
    }
    emit(i + 1, SyntaxStyle::Symbol);
  }
  return state;
}

}  // namespace trel
