// How operators convert their operands, the text form of numbers, and arithmetic errors.
#include <gtest/gtest.h>

#include <cmath>

#include "formula_test_util.h"
#include "rtl/decimal_separator.h"
#include "rtl/real_text.h"

using trel::TArtFormula;
using trel::testing::eval;
using trel::testing::evalWith;

TEST(FormulaConversion, PlusAddsNumbersElseJoinsTexts) {
  EXPECT_EQ(eval("'1' + 2"), "3");
  EXPECT_EQ(eval("'a' + 2"), "a2");
  EXPECT_EQ(eval("2 + 'a'"), "2a");
  EXPECT_EQ(eval("' 2 ' + 1"), "3");
  EXPECT_EQ(eval("'a' - 2"), "error: 'a' is not a valid floating point value");
  EXPECT_EQ(eval("'a' @ 'b'"), "ab");
  EXPECT_EQ(eval("1 @ 2.5"), "12.5");
}

TEST(FormulaConversion, ComparisonsFallBackToTexts) {
  EXPECT_EQ(eval("'10' = 10"), "1");
  EXPECT_EQ(eval("'9' < '10'"), "1");  // both are numbers
  EXPECT_EQ(eval("'b' > 'a'"), "1");
  EXPECT_EQ(eval("'abc' = 'ABC'"), "0");
  TArtFormula f;
  f.CaseSensitiveString = false;
  EXPECT_EQ(evalWith(f, "'abc' = 'ABC'"), "1");
  EXPECT_EQ(evalWith(f, "'abc' < 'ABD'"), "1");
  EXPECT_EQ(eval("'abc.txt' LIKE '*.TXT'"), "1");
  EXPECT_EQ(eval("'abc.txt' == 'a?c.[st]xt'"), "1");
  EXPECT_EQ(eval("'abc' LIKE '[abc'"), "error: Invalid mask: '[abc'");
}

TEST(FormulaConversion, EmptyTexts) {
  EXPECT_EQ(eval("'' + 1"), "1");
  EXPECT_EQ(eval("'' * 1"), "error: '' is not a valid floating point value");
  TArtFormula f;
  f.ZeroEmptyString = true;
  EXPECT_EQ(evalWith(f, "'' + 1"), "1");
  EXPECT_EQ(evalWith(f, "'' * 1 + 5"), "5");
}

TEST(FormulaConversion, GeneralNumberFormat) {
  EXPECT_EQ(eval("1/3"), "0.333333333333333");
  EXPECT_EQ(eval("1E20"), "1E20");
  EXPECT_EQ(eval("0.5"), "0.5");
  EXPECT_EQ(eval("123456789012345"), "123456789012345");
  EXPECT_EQ(eval("1234567890123456"), "1.23456789012346E15");
  EXPECT_EQ(eval("0.0001"), "0.0001");
  EXPECT_EQ(eval("0.00001"), "1E-5");
  EXPECT_EQ(eval("-2.5E-10"), "-2.5E-10");
  EXPECT_EQ(eval("0 * -1"), "0");
}

TEST(FormulaConversion, TheProcessSeparatorOutsideCompile) {
  trel::DecimalSeparatorScope comma(',');
  // The formula's own numbers are written with "."; texts and results use the process separator.
  EXPECT_EQ(eval("1.5 + 1"), "2,5");
  EXPECT_EQ(eval("'1,5' * 2"), "3");
  EXPECT_EQ(eval("1.5 +"), "error: Syntax error");
  EXPECT_EQ(trel::decimalSeparator(), ',');
}

TEST(FormulaConversion, IntegerOperators) {
  EXPECT_EQ(eval("7 \\ 2"), "3");
  EXPECT_EQ(eval("-7 \\ 2"), "-3");
  EXPECT_EQ(eval("-7 % 2"), "-1");
  EXPECT_EQ(eval("7.9 % 2.9"), "1");
  EXPECT_EQ(eval("5 \\ 0"), "error: Division by zero");
  EXPECT_EQ(eval("5 % 0"), "error: Division by zero");
  EXPECT_EQ(eval("-9223372036854775808 \\ -1"), "9.22337203685478E18");
  EXPECT_EQ(eval("1E19 \\ 2"), "error: Invalid floating point operation");
}

TEST(FormulaConversion, BitsAndShifts) {
  EXPECT_EQ(eval("1 << 3"), "8");
  EXPECT_EQ(eval("-1 >> 60"), "15");
  EXPECT_EQ(eval("1 << 64"), "0");
  EXPECT_EQ(eval("1 << 256"), "1");  // only the low 8 bits of the count
  EXPECT_EQ(eval("12 && 10"), "8");
  EXPECT_EQ(eval("!!5"), "-6");
}

TEST(FormulaConversion, LogicalOperatorsComputeBothSides) {
  EXPECT_EQ(eval("2 & 0"), "0");
  EXPECT_EQ(eval("2 | 0"), "1");
  EXPECT_EQ(eval("!5"), "0");
  EXPECT_EQ(eval("!0"), "1");
  EXPECT_EQ(eval("0 & (1/0)"), "error: Floating point division by zero");
}

TEST(FormulaConversion, ArithmeticErrors) {
  EXPECT_EQ(eval("1/0"), "error: Floating point division by zero");
  EXPECT_EQ(eval("0/0"), "error: Invalid floating point operation");
  EXPECT_EQ(eval("1e308 * 10"), "error: Floating point overflow");
  EXPECT_EQ(eval("(-8) ^ 0.5"), "error: Invalid floating point operation");
  EXPECT_EQ(eval("0 ^ -1"), "error: Floating point division by zero");
  EXPECT_EQ(eval("0 ^ 0"), "1");
}

TEST(FormulaConversion, RealTextReadsAndWrites) {
  double v = 0;
  EXPECT_TRUE(trel::tryTextToReal(" -1.5e2 ", v));
  EXPECT_EQ(v, -150);
  EXPECT_TRUE(trel::tryTextToReal("1e-400", v));
  EXPECT_EQ(v, 0);
  EXPECT_FALSE(trel::tryTextToReal("1e400", v));
  EXPECT_FALSE(trel::tryTextToReal("1,5", v));
  EXPECT_FALSE(trel::tryTextToReal("+-1", v));
  EXPECT_FALSE(trel::tryTextToReal(".", v));
  EXPECT_FALSE(trel::tryTextToReal("-", v));
  EXPECT_TRUE(trel::tryTextToReal("-0", v));
  EXPECT_TRUE(v == 0 && std::signbit(v));
  EXPECT_TRUE(trel::tryTextToReal("9007199254740993", v));  // sixteen digits, rounded
  EXPECT_EQ(v, 9007199254740992.0);
  EXPECT_EQ(trel::realToText(9.999999999999999e14), "1E15");
  EXPECT_EQ(trel::realToText(-0.1), "-0.1");
  // Whole numbers: the largest written as an integer, the first in exponent form, negative zero.
  EXPECT_EQ(trel::realToText(-999999999999999.0), "-999999999999999");
  EXPECT_EQ(trel::realToText(1e15), "1E15");
  EXPECT_EQ(trel::realToText(-0.0), "0");
}

TEST(FormulaConversion, EmptyTextsCountAsZeroOnlyWhenAsked) {
  TArtFormula f;
  EXPECT_EQ(evalWith(f, "'' = 0"), "0");  // compared as texts: "" and "0"
  f.ZeroEmptyString = true;
  EXPECT_EQ(evalWith(f, "'' = 0"), "1");
  EXPECT_EQ(evalWith(f, "ISNUMBER('')"), "1");
}

TEST(FormulaConversion, JoinedTextsHaveALimit) {
  EXPECT_EQ(eval("LENGTH(STRINGOFCHAR('x', 10000000) + STRINGOFCHAR('y', 6000000))"), "16000000");
  EXPECT_EQ(eval("STRINGOFCHAR('x', 10000000) + STRINGOFCHAR('y', 8000000)"),
            "error: Text too long (more than 16777216 characters)");
}
