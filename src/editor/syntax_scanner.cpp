#include "editor/syntax_scanner.h"

#include <algorithm>

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

void scanLine(std::string_view line, std::vector<SyntaxSpan>& out) {
  if (line.find("//") != std::string_view::npos) {
    if (!line.empty()) out.push_back({0, line.size(), SyntaxStyle::Comment});
    return;
  }
  size_t i = 0;
  const size_t n = line.size();
  auto emit = [&](size_t end, SyntaxStyle style) {
    if (end > i) out.push_back({i, end - i, style});
    i = end;
  };

  while (i < n) {
    const unsigned char c = static_cast<unsigned char>(line[i]);
    if (isBlank(c)) {
      size_t end = i;
      while (end < n && isBlank(static_cast<unsigned char>(line[end]))) ++end;
      emit(end, SyntaxStyle::Blank);
      continue;
    }
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
      emit(n, SyntaxStyle::Preprocessor);
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
}

}  // namespace trel
