#include "formula/formula_words.h"

#include <vector>

#include "formula/function_table.h"
#include "formula/lexer.h"
#include "rtl/text.h"

namespace trel {

const std::array<TConstItem, 30> kFormulaConstants = {{
    {"FALSE", "0"},       {"TRUE", "1"},
    {"DIV", "\\"},        {"MOD", "%"},
    {"AND", "&"},         {"OR", "|"},
    {"NOT", "!"},         {"BAND", "&&"},
    {"BOR", "||"},        {"BNOT", "!!"},
    {"SHR", "<<"},        {"SHL", ">>"},
    {"BEGIN", "BLOCK("},  {"END", ")"},
    {"ENDD", "))"},       {"VAR", "DEFINES("},
    {"IF", "CONDITION("}, {"THEN", ",BLOCK("},
    {"ELSE", "),BLOCK("}, {"ENDIF", "),0)"},
    {"WHILE", "LOOP("},   {"DO", ",BLOCK("},
    {"WEND", "))"},       {"FOR", "SERIES("},
    {"NEXT", "))"},       {"REPEAT", "TILL(BLOCK("},
    {"UNTIL", "),"},      {"LN", "LOG"},
    {"PROCEDURE", "SUB"}, {"FUNCTION", "SUB"},
}};

namespace {

struct KeywordItem {
  std::string_view name;
  uint8_t token;
};

constexpr KeywordItem kKeywords[] = {
    {"GLOBAL", tok::kGlobal}, {"CONST", tok::kConst},         {"SUB", tok::kSub},
    {"XOR", tok::kXor},       {"BXOR", tok::kBitXor},         {"LIKE", tok::kLike},
    {"PI", tok::kNumber},     {"CONDITION", tok::kCondition}, {"LOOP", tok::kLoop},
    {"TILL", tok::kTill},     {"SERIES", tok::kSeries},       {"RETURN", tok::kReturn},
};

// The words grouped by length and first letter, so that a lookup compares a handful at most.
class WordIndex {
 public:
  WordIndex() {
    for (const KeywordItem& k : kKeywords) add({FormulaWord::Keyword, k.token, {}, 0}, k.name);
    for (const TConstItem& c : kFormulaConstants)
      add({FormulaWord::Constant, 0, c.value, 0}, c.name);
    for (int i = 0; i < kFunctionCount; ++i)
      add({FormulaWord::Function, 0, {}, i}, kFunctionTable[i].name);
  }

  // For an identifier of kShortestWord to kLongestWord characters.
  const FormulaWord* find(std::string_view id) const {
    char first = upperChar(id[0]);
    if (first < 'A' || first > 'Z') return nullptr;
    for (const Entry& e : buckets_[id.size()][first - 'A']) {
      size_t k = 1;
      while (k < id.size() && upperChar(id[k]) == e.name[k]) ++k;
      if (k == id.size()) return &e.word;
    }
    return nullptr;
  }

 private:
  struct Entry {
    std::string_view name;
    FormulaWord word;
  };
  void add(FormulaWord w, std::string_view name) {
    buckets_[name.size()][name[0] - 'A'].push_back({name, w});
  }
  std::array<std::array<std::vector<Entry>, 26>, kLongestWord + 1> buckets_;
};

}  // namespace

const FormulaWord* findFormulaWordOfLength(std::string_view identifier) {
  static const WordIndex index;
  return index.find(identifier);
}

}  // namespace trel
