// The words the lexer knows before the host's variables: keywords with token codes of their own,
// the constants table (a name and the text that replaces it in the source), and the names of the
// built-in functions.
//
// The keyword forms of the language (IF ... THEN ... ENDIF, WHILE ... DO ... WEND and the rest)
// are nothing but constants: each word is replaced by a piece of call syntax before the parser
// sees it. Note that SHR stands for "<<" (shift left) and SHL for ">>".
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace trel {

struct TConstItem {
  std::string_view name;  // upper case
  std::string_view value;
};

extern const std::array<TConstItem, 30> kFormulaConstants;

struct FormulaWord {
  enum Kind : uint8_t { Keyword, Constant, Function } kind;
  uint8_t token;                 // Keyword: its token code
  std::string_view replacement;  // Constant: the text put in its place
  int function;                  // Function: index in the function table
};

// The lengths of the words: an identifier of any other length is none of them.
inline constexpr size_t kShortestWord = 2, kLongestWord = 12;

const FormulaWord* findFormulaWordOfLength(std::string_view identifier);

// Finds an identifier among the keywords, the constants and the built-in functions, in that
// order, without regard to case; null when it is none of them.
inline const FormulaWord* findFormulaWord(std::string_view identifier) {
  if (identifier.size() < kShortestWord || identifier.size() > kLongestWord) return nullptr;
  return findFormulaWordOfLength(identifier);
}

}  // namespace trel
