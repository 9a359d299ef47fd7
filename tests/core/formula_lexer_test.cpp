// The formula lexer: literals, numbers, comments, constant substitution and its errors.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "formula/code_format.h"
#include "formula/lexer.h"
#include "formula_test_util.h"

using trel::TArtFormula;
using trel::TCalcItem;
using trel::testing::eval;
using trel::testing::evalWith;

TEST(FormulaLexer, TextLiteralsJoinAdjacentPieces) {
  EXPECT_EQ(eval("'it''s'"), "it's");
  EXPECT_EQ(eval("''''"), "");
  EXPECT_EQ(eval("'a'#65'b'"), "aAb");
  EXPECT_EQ(eval("\"say 'hi'\""), "say 'hi'");
  EXPECT_EQ(eval("#72#105"), "Hi");
  EXPECT_EQ(eval("#321"), "A");  // the low 8 bits of the code
  EXPECT_EQ(eval("'line\nbreak'"), "line\nbreak");
}

TEST(FormulaLexer, UnclosedOrEmptyPiecesAreSyntaxErrors) {
  EXPECT_EQ(eval("'abc"), "error: Syntax error");
  EXPECT_EQ(eval("'abc' + \"x"), "error: Syntax error");
  EXPECT_EQ(eval("#"), "error: Syntax error");
  EXPECT_EQ(eval("#99999999999"), "error: Syntax error");
}

TEST(FormulaLexer, Numbers) {
  EXPECT_EQ(eval("1.5e3"), "1500");
  EXPECT_EQ(eval("2E-3"), "0.002");
  EXPECT_EQ(eval("1."), "1");
  EXPECT_EQ(eval("1e"), "error: Syntax error");
  EXPECT_EQ(eval("1e999"), "error: Syntax error");
  EXPECT_EQ(eval("1e-999"), "0");
  EXPECT_EQ(eval("1.5.3"), "error: Syntax error");
  EXPECT_EQ(eval("PI"), "3.14159265358979");
  // Whole numbers of up to fifteen digits are exact; a longer one is rounded to a double.
  EXPECT_EQ(eval("123456789012345 - 123456789012344"), "1");
  EXPECT_EQ(eval("007 + 0"), "7");
  EXPECT_EQ(eval("9007199254740993 - 9007199254740992"), "0");
}

TEST(FormulaLexer, HexadecimalNumbersStartWithADecimalDigit) {
  EXPECT_EQ(eval("$0FF"), "255");
  EXPECT_EQ(eval("$FFFFFFFF"), "error: Variable FFFFFFFF does not exists");
  EXPECT_EQ(eval("$0FFFFFFFF"), "-1");
  EXPECT_EQ(eval("$123456789"), "error: Syntax error");
}

TEST(FormulaLexer, LeadingPointOnlyWithNoLeadingZero) {
  TArtFormula f;
  EXPECT_EQ(evalWith(f, ".5"), "error: Syntax error");
  f.NoLeadingZero = true;
  EXPECT_EQ(evalWith(f, ".5"), "0.5");
}

TEST(FormulaLexer, Comments) {
  EXPECT_EQ(eval("{note} 1 + 2"), "3");
  EXPECT_EQ(eval("1 + {note}}} 2"), "3");
  EXPECT_EQ(eval("{a}{b} 1"), "error: Illegal character '{'");
  EXPECT_EQ(eval("{a} // line\n 5"), "5");
  EXPECT_EQ(eval("// one\n// two\n{three} 7"), "7");
  EXPECT_EQ(eval("1 // to the end"), "1");
}

TEST(FormulaLexer, ConstantsAreReplacedWithoutRegardToCase) {
  EXPECT_EQ(eval("TRUE + 1"), "2");
  EXPECT_EQ(eval("if 1 then 5 endif"), "5");
  EXPECT_EQ(eval("7 div 2 + 7 MOD 2"), "4");
  EXPECT_EQ(eval("1 shr 3"), "8");   // SHR stands for "<<"
  EXPECT_EQ(eval("16 shl 2"), "4");  // and SHL for ">>"
  EXPECT_EQ(eval("Ln(1)"), "0");
  // A replacement can meet the character before it: "&" then AND is "&&".
  EXPECT_EQ(eval("6 & AND 3"), "2");
}

TEST(FormulaLexer, EveryOperatorsSpellingIsItsToken) {
  std::array<bool, 256> alphabet{};
  for (char c : std::string_view("_ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"))
    alphabet[static_cast<unsigned char>(c)] = true;
  trel::LexerSettings settings;
  settings.alphabet = &alphabet;
  trel::FormulaLexer lex;
  for (const trel::fcode::OperatorInfo& o : trel::fcode::kOperators) {
    lex.start(o.spelling, settings, nullptr);
    EXPECT_EQ(lex.next(), o.token) << o.spelling;
    EXPECT_EQ(lex.next(), trel::tok::kEnd) << o.spelling;
  }
  lex.start("==", settings, nullptr);
  EXPECT_EQ(lex.next(), trel::tok::kLike);
}

TEST(FormulaLexer, UnknownAndIllegal) {
  EXPECT_EQ(eval(""), "error: Syntax error");
  EXPECT_EQ(eval("foo"), "error: Unknown identifier 'foo'");
  EXPECT_EQ(eval("1 ? 2"), "error: Illegal character '?'");
  EXPECT_EQ(eval("a : b"), "error: Unknown identifier 'a'");
  EXPECT_EQ(eval("1 : 2"), "error: Syntax error");
  EXPECT_EQ(eval("SUM"), "error: \"(\" expected");
}

// "+", "-", "&", "|", "!" and "," look at the token after them, past blanks and constants (for
// "++", "&&", a "," before ")" ...). The token after them is the one that look found, with its
// error: a name that names nothing there is reported even where a "," stands in the wrong place.
TEST(FormulaLexer, TheTokenAfterAnOperatorIsTheOneItLookedAt) {
  EXPECT_EQ(eval("SIN(1,q)"), "error: Unknown identifier 'q'");
  EXPECT_EQ(eval("1 ! q"), "error: Unknown identifier 'q'");
  TArtFormula names;
  names.UnQuotedString = true;
  EXPECT_EQ(evalWith(names, "SIN(1,q)"), "error: \")\" expected");
  EXPECT_EQ(evalWith(names, "1 ! q"), "error: Syntax error");
  TArtFormula f;
  std::vector<TCalcItem> v{TCalcItem(6), TCalcItem(3)};
  EXPECT_EQ(evalWith(f, "a & & b", {"a", "b"}, &v), "2");
  EXPECT_EQ(evalWith(f, "a+ +b", {"a", "b"}, &v), "error: Syntax error");
  EXPECT_EQ(evalWith(f, "MAX(a; b;; )", {"a", "b"}, &v), "6");
  EXPECT_EQ(eval("5 & AND 3"), "1");
  EXPECT_EQ(eval("1 - TRUE + FALSE"), "0");
}

TEST(FormulaLexer, UnquotedStringAndAlphabet) {
  TArtFormula f;
  f.UnQuotedString = true;
  EXPECT_EQ(evalWith(f, "hello @ 1"), "hello1");
  TArtFormula g;
  g.setVarNameLiterals("abc");
  EXPECT_EQ(evalWith(g, "b9", {"b9"}), "0");
  EXPECT_EQ(evalWith(g, "x"), "error: Illegal character 'x'");
}

TEST(FormulaLexer, ANulEndsTheText) {
  EXPECT_EQ(eval(std::string("1 + 2\0garbage", 13)), "3");
  EXPECT_EQ(eval(std::string("'ab\0cd'", 7)), "error: Syntax error");
}

TEST(FormulaLexer, LongFormulasStayLinear) {
  // Every TRUE and IF is replaced in place; many replacements must not copy the text each time.
  std::string many;
  for (int i = 0; i < 100000; ++i) many += "TRUE+";
  EXPECT_EQ(eval(many + "0"), "100000");
  std::string ifs;
  for (int i = 0; i < 20000; ++i) ifs += "IF 1 THEN 2 ELSE 3 ENDD + ";
  EXPECT_EQ(eval(ifs + "0"), "40000");
}

TEST(FormulaLexer, DeepNestingIsRefused) {
  EXPECT_EQ(eval(std::string(1000000, '(')), "error: Expression too complex");
  EXPECT_EQ(eval(std::string(1000, '(') + "1" + std::string(1000, ')')),
            "error: Expression too complex");
  EXPECT_EQ(eval(std::string(100, '(') + "1" + std::string(100, ')')), "1");
  EXPECT_EQ(eval(std::string(1000000, '!') + "1"), "error: Expression too complex");
  EXPECT_EQ(eval(std::string(101, '!') + "1"), "0");
  EXPECT_EQ(eval(std::string(1000000, ',')), "error: Expression too complex");
  std::string calls;
  for (int i = 0; i < 2000; ++i) calls += "SIN(";
  EXPECT_EQ(eval(calls + "0" + std::string(2000, ')')), "error: Expression too complex");
}

TEST(FormulaLexer, RandomBytesEndInAnError) {
  uint32_t state = 12345;
  int errors = 0;
  for (int round = 0; round < 300; ++round) {
    std::string text;
    for (int i = 0; i < 2000; ++i) {
      state = state * 1664525u + 1013904223u;
      text.push_back(static_cast<char>(state >> 24));
    }
    errors += eval(text).rfind("error: ", 0) == 0;
  }
  EXPECT_GT(errors, 250);
}
