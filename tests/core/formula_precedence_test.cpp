// Operator precedence and associativity, and the operator pairs the lexer forms.
#include <gtest/gtest.h>

#include <string>

#include "formula/code_format.h"
#include "formula_test_util.h"

using trel::testing::eval;
using trel::testing::evalWith;
namespace fcode = trel::fcode;

TEST(FormulaPrecedence, PowerIsLeftAssociativeAndAboveNegation) {
  EXPECT_EQ(eval("2^3^2"), "64");
  EXPECT_EQ(eval("-2^2"), "-4");
  EXPECT_EQ(eval("2^-1"), "0.5");
  EXPECT_EQ(eval("-2*3"), "-6");
  EXPECT_EQ(eval("!0 + 1"), "2");
  EXPECT_EQ(eval("!!0"), "-1");
}

TEST(FormulaPrecedence, Classes) {
  EXPECT_EQ(eval("1 + 2 * 3"), "7");
  EXPECT_EQ(eval("10 - 4 - 3"), "3");
  EXPECT_EQ(eval("2 * 3 % 4"), "2");
  EXPECT_EQ(eval("1 + 1 @ 2"), "22");
  EXPECT_EQ(eval("1 | 0 & 0"), "1");
  EXPECT_EQ(eval("1 + 2 = 3"), "1");
  EXPECT_EQ(eval("(1 + 2) * 3"), "9");
  EXPECT_EQ(eval("6 / 2 * 3"), "9");
}

TEST(FormulaPrecedence, EveryPairOfOperatorsAsTheTableSays) {
  // Of an operator and an infix operator after it, the one of the lower class takes the operand
  // between them; of one class, the first when the second associates to the left.
  trel::TArtFormula f;
  auto code = [&](const std::string& text) {
    try {
      return f.Compile(text, 0, nullptr);
    } catch (const std::exception& e) {
      return "error: " + std::string(e.what());
    }
  };
  for (const fcode::OperatorInfo& p : fcode::kOperators) {
    for (const fcode::OperatorInfo& q : fcode::kOperators) {
      if (q.fixity != fcode::Fixity::Infix) continue;
      const std::string P(p.spelling), Q(q.spelling);
      const bool first = p.precedence < q.precedence ||
                         (p.precedence == q.precedence && q.assoc == fcode::Assoc::Left);
      if (p.fixity == fcode::Fixity::Infix) {
        const std::string text = "2 " + P + " 3 " + Q + " 4";
        const std::string grouped =
            first ? "(2 " + P + " 3) " + Q + " 4" : "2 " + P + " (3 " + Q + " 4)";
        EXPECT_EQ(code(text), code(grouped)) << text;
      } else {
        const std::string text = P + " 3 " + Q + " 4";
        const std::string grouped = first ? "(" + P + " 3) " + Q + " 4" : P + " (3 " + Q + " 4)";
        EXPECT_EQ(code(text), code(grouped)) << text;
      }
    }
  }
  EXPECT_EQ(code("2 - 3 - 4"), code("(2 - 3) - 4"));
  EXPECT_NE(code("2 - 3 - 4"), code("2 - (3 - 4)"));
}

TEST(FormulaPrecedence, ComparisonsBindMostLoosely) {
  // x > 1 & x < 5 is (x > (1 & x)) < 5: with x = 3 that is (3 > 1) < 5.
  std::vector<trel::TCalcItem> v{trel::TCalcItem(3)};
  trel::TArtFormula f;
  EXPECT_EQ(evalWith(f, "x > 1 & x < 5", {"x"}, &v), "1");
  v[0].setNumber(0);
  EXPECT_EQ(evalWith(f, "x > 1 & x < 5", {"x"}, &v), "1");
  EXPECT_EQ(evalWith(f, "(x > 1) & (x < 5)", {"x"}, &v), "0");
}

TEST(FormulaPrecedence, PairsOfCharactersAreOneToken) {
  EXPECT_EQ(eval("1 - -2"), "error: Syntax error");
  EXPECT_EQ(eval("1-(-2)"), "3");
  EXPECT_EQ(eval("1 + +2"), "error: Syntax error");
  EXPECT_EQ(eval("+2"), "2");
  EXPECT_EQ(eval("6 && 3"), "2");
  EXPECT_EQ(eval("6 & & 3"), "2");  // blanks may stand between the two characters
  EXPECT_EQ(eval("5 || 2"), "7");
  EXPECT_EQ(eval("5 BXOR 1"), "4");
  EXPECT_EQ(eval("1 XOR 1"), "0");
  EXPECT_EQ(eval("2 <= 2"), "1");
  EXPECT_EQ(eval("2 >= 3"), "0");
  EXPECT_EQ(eval("2 <> 3"), "1");
}

TEST(FormulaPrecedence, WhatMayFollowAnExpression) {
  EXPECT_EQ(eval("1;2"), "error: Syntax error");
  EXPECT_EQ(eval("1,2"), "error: Syntax error");
  EXPECT_EQ(eval("1)"), "error: Syntax error");
  EXPECT_EQ(eval("(1"), "error: \")\" expected");
  EXPECT_EQ(eval("1 GLOBAL anything at all"), "1");
  EXPECT_EQ(eval("2 SUB x"), "2");
  EXPECT_EQ(eval("3 CONST y = 1"), "3");
  EXPECT_EQ(eval("4 PROCEDURE p"), "4");
  EXPECT_EQ(eval("GLOBAL"), "error: Syntax error");
  EXPECT_EQ(eval("1 +"), "error: Syntax error");
}

TEST(FormulaPrecedence, CallsAndTheirArguments) {
  EXPECT_EQ(eval("SIN 1"), "error: \"(\" expected");
  EXPECT_EQ(eval("SIN(1,2)"), "error: \")\" expected");
  EXPECT_EQ(eval("MIDSTR('abc',1)"), "error: Not enough parameters");
  EXPECT_EQ(eval("MIDSTR('abc'"), "error: Not enough parameters");
  EXPECT_EQ(eval("RND < 1"), "1");
  EXPECT_EQ(eval("RND() < 1"), "1");
  EXPECT_EQ(eval("RND(1)"), "error: \")\" expected");
  EXPECT_EQ(eval("MAX(1,2,)"), "2");
  EXPECT_EQ(eval("MAX(1,5,2) + 1"), "6");
  EXPECT_EQ(eval("MAX(1 2)"), "error: Syntax error");
  EXPECT_EQ(eval("sin(0) + SIN(0)"), "0");
  EXPECT_EQ(eval("ABS(-2 * 3) ^ 2"), "36");
}

TEST(FormulaPrecedence, AssignmentIsOnlyForNamesAfterDollar) {
  std::vector<trel::TCalcItem> v(1);
  trel::TArtFormula f;
  EXPECT_EQ(evalWith(f, "x := 1", {"x"}, &v), "error: Syntax error");
  EXPECT_EQ(evalWith(f, "$x := 1", {"x"}, &v), "1");
  EXPECT_EQ(evalWith(f, "1 + $x := 2 * 3", {"x"}, &v), "7");
  EXPECT_EQ(v[0].number, 6);
}

TEST(FormulaPrecedence, CommentsInsideCalls) {
  EXPECT_EQ(eval("MAX(1, {two} 2, {none} )"), "2");
  EXPECT_EQ(eval("MIDSTR( 'abcdef' // text\n , 2 ; 2)"), "bc");
}
