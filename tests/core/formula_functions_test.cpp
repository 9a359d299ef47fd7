// The built-in functions, family by family.
#include <gtest/gtest.h>

#include "formula_test_util.h"
#include "rtl/date_time_formats.h"
#include "rtl/random.h"

using trel::TArtFormula;
using trel::TCalcItem;
using trel::testing::eval;
using trel::testing::evalWith;

TEST(FormulaFunctions, Numbers) {
  EXPECT_EQ(eval("INT(-2.5)"), "-2");
  EXPECT_EQ(eval("FRAC(-2.5)"), "-0.5");
  EXPECT_EQ(eval("SIGN(-3)"), "-1");
  EXPECT_EQ(eval("SIGN(0)"), "0");
  EXPECT_EQ(eval("SINH(0) + COSH(0)"), "1");
  EXPECT_EQ(eval("LG(1000)"), "3");
  EXPECT_EQ(eval("LN(EXP(2))"), "2");
  EXPECT_EQ(eval("SQRT(16) + ABS(-1)"), "5");
  EXPECT_EQ(eval("ATAN(1) * 4"), "3.14159265358979");
  EXPECT_EQ(eval("SQRT(-1)"), "error: Invalid floating point operation");
  EXPECT_EQ(eval("LOG(0)"), "error: Floating point division by zero");
  EXPECT_EQ(eval("ASIN(2)"), "error: Invalid floating point operation");
  EXPECT_EQ(eval("EXP(1000)"), "error: Floating point overflow");
  EXPECT_EQ(eval("SIN('x')"), "error: 'x' is not a valid floating point value");
}

TEST(FormulaFunctions, Rounding) {
  EXPECT_EQ(eval("ROUND(2.5, 0)"), "2");
  EXPECT_EQ(eval("ROUND(3.5, 0)"), "4");
  EXPECT_EQ(eval("ROUND(1.2345, 2)"), "1.23");
  EXPECT_EQ(eval("TRUNC(1.239, 2)"), "1.23");
  EXPECT_EQ(eval("ROUND(1260, -2)"), "1300");
  EXPECT_EQ(eval("TRUNC(-1.99, 0)"), "-1");
}

TEST(FormulaFunctions, RandomNumbers) {
  trel::seedRandom(7);
  std::string first = eval("RND");
  trel::seedRandom(7);
  EXPECT_EQ(eval("RND"), first);
  EXPECT_EQ(eval("(RND >= 0) & (RND < 1)"), "1");
  EXPECT_EQ(eval("RANDOMIZE"), "0");
}

TEST(FormulaFunctions, Statistics) {
  EXPECT_EQ(eval("MAX(3, 9, 2)"), "9");
  EXPECT_EQ(eval("MIN(3, 9, 2)"), "2");
  EXPECT_EQ(eval("SUM(1, 2, 3)"), "6");
  EXPECT_EQ(eval("SUMOFSQUARES(1, 2, 3)"), "14");
  EXPECT_EQ(eval("CONCAT(1, 'a', 2.5)"), "1a2.5");
  EXPECT_EQ(eval("COUNT(1, '', 'x')"), "2");
  EXPECT_EQ(eval("AVG(1, 2, 3, 4)"), "2.5");
  EXPECT_EQ(eval("VARIANCE(1, 2, 3, 4)"), "1.66666666666667");
  EXPECT_EQ(eval("VARIANCEP(1, 2, 3, 4)"), "1.25");
  EXPECT_EQ(eval("STDDEVP(1, 3)"), "1");
  EXPECT_EQ(eval("STDDEV(1, 3)"), "1.4142135623731");
  EXPECT_EQ(eval("STDDEVP(0.1, 0.1, 0.1)"), "0");  // never the root of a rounding error below 0
  EXPECT_EQ(eval("VARIANCE(1)"), "error: Invalid floating point operation");
  EXPECT_EQ(eval("MAX(1, 'x')"), "error: 'x' is not a valid floating point value");
}

TEST(FormulaFunctions, StatisticsWithoutArgumentsGiveZero) {
  for (const char* f : {"MAX()", "MIN()", "AVG()", "STDDEV()", "STDDEVP()", "SUM()",
                        "SUMOFSQUARES()", "COUNT()", "VARIANCE()", "VARIANCEP()"})
    EXPECT_EQ(eval(f), "0") << f;
  EXPECT_EQ(eval("CONCAT()"), "");
}

TEST(FormulaFunctions, StatisticsExpandExternalVariables) {
  TArtFormula f;
  f.ExternGetVar = true;
  std::vector<std::string> asked;
  f.GetVarsCount = [](const std::string& name, int& count, bool) {
    count = name == "list" ? 3 : 0;
  };
  f.GetVarValue = [&](const std::string& name, int n, std::string& value, bool wantNumber) {
    asked.push_back(name + std::to_string(n) + (wantNumber ? "#" : "$"));
    value = std::to_string(10 * (n + 1));
  };
  EXPECT_EQ(evalWith(f, "SUM(list, 1)"), "61");
  EXPECT_EQ(asked, (std::vector<std::string>{"list2#", "list1#", "list0#"}));
  EXPECT_EQ(evalWith(f, "CONCAT('<', list, '>')"), "<102030>");
  EXPECT_EQ(evalWith(f, "COUNT(list)"), "3");
  EXPECT_EQ(evalWith(f, "SUM(empty)"), "error: empty returns zero vars!");
  EXPECT_EQ(evalWith(f, "list + 1"), "11");  // elsewhere: the value of index 0
  f.GetVarsCount = nullptr;
  EXPECT_EQ(evalWith(f, "SUM(list)"), "error: GetVarsCount or GetVarValue not set!");
  f.GetVarValue = nullptr;
  EXPECT_EQ(evalWith(f, "list * 2"), "error: GetVarValue not set!");
}

TEST(FormulaFunctions, Choice) {
  EXPECT_EQ(eval("IFF(0, 1/1, 'no')"), "no");
  EXPECT_EQ(eval("IFF(1, 0, 5)"), "0");
  EXPECT_EQ(eval("IFF(1, 10, 1/0)"), "error: Floating point division by zero");
}

TEST(FormulaFunctions, Texts) {
  EXPECT_EQ(eval("CHR(65)"), "A");
  EXPECT_EQ(eval("CODE('A')"), "65");
  EXPECT_EQ(eval("CODE('')"), "0");
  EXPECT_EQ(eval("LENGTH('abc') + LENGTH(12.5)"), "7");
  EXPECT_EQ(eval("'[' @ TRIM('  a b ') @ TRIMLEFT(' c ') @ TRIMRIGHT(' d ') @ ']'"), "[a bc  d]");
  EXPECT_EQ(eval("UPPERCASE('abcÄ') @ LOWERCASE('XY')"), "ABCÄxy");
  EXPECT_EQ(eval("MIDSTR('abcdef', 2, 3)"), "bcd");
  EXPECT_EQ(eval("MIDSTR('abc', 0, 2)"), "ab");
  EXPECT_EQ(eval("MIDSTR('abc', 2, 99)"), "bc");
  EXPECT_EQ(eval("MIDSTR('abc', 9, 1) @ MIDSTR('abc', 1, 0) @ '.'"), ".");
  EXPECT_EQ(eval("RIGHTSTR('abc', 5)"), "abc");
  EXPECT_EQ(eval("RIGHTSTR('abc', 2)"), "bc");
  EXPECT_EQ(eval("LEFTSTR('abc', 0) @ LEFTSTR('abc', 2)"), "ab");
  EXPECT_EQ(eval("POS('B', 'abc')"), "0");
  EXPECT_EQ(eval("POS('c', 'abcc')"), "3");
  TArtFormula f;
  f.CaseSensitiveString = false;
  EXPECT_EQ(evalWith(f, "POS('B', 'abc')"), "2");
  EXPECT_EQ(eval("STRINGOFCHAR('xy', 3)"), "xxx");
  EXPECT_EQ(eval("STRINGOFCHAR('', 3) @ STRINGOFCHAR('x', -1) @ '.'"), ".");
  EXPECT_EQ(eval("STRINGOFCHAR('x', 1e15)"),
            "error: Text too long (more than 16777216 characters)");
  EXPECT_EQ(eval("HEX('ff') + HEX('FFFFFFFFFFFFFFFF')"), "254");
  EXPECT_EQ(eval("HEX('fg')"), "error: 'fg' is not a valid hexadecimal number");
  EXPECT_EQ(eval("ISNUMBER('12') @ ISNUMBER('x') @ ISNUMBER(3)"), "101");
}

TEST(FormulaFunctions, NumberFormats) {
  EXPECT_EQ(eval("FORMAT('#,##0.00', 1234567.891)"), "1,234,567.89");
  EXPECT_EQ(eval("FORMAT('0.00', 2.675)"), "2.68");
  EXPECT_EQ(eval("FORMAT('0.00;(0.00);zero', -5)"), "(5.00)");
  EXPECT_EQ(eval("FORMAT('0.00;(0.00);zero', 0)"), "zero");
  EXPECT_EQ(eval("FORMATF('%.2f', 3.14159)"), "3.14");
  EXPECT_EQ(eval("FORMATF('%d items', 3)"), "3 items");
  EXPECT_EQ(eval("FORMATF('%d %d', 3)"),
            "error: Format '%d %d' invalid or incompatible with argument");
}

TEST(FormulaFunctions, DatesAndTimes) {
  EXPECT_EQ(eval("DAYOFWEEK(ENCODEDATE(2024, 1, 1))"), "1");
  EXPECT_EQ(eval("DAYOFWEEK(ENCODEDATE(2024, 1, 7))"), "7");
  EXPECT_EQ(eval("ISLEAPYEAR(1900) @ ISLEAPYEAR(2000) @ ISLEAPYEAR(2024)"), "011");
  EXPECT_EQ(eval("ENCODEDATE(1899, 12, 30)"), "0");
  EXPECT_EQ(eval("ENCODEDATE(2000, 1, 1)"), "36526");
  EXPECT_EQ(eval("ENCODEDATE(2023, 2, 29)"), "error: Invalid argument to date encode");
  EXPECT_EQ(eval("ENCODEDATE(1e300, 1, 1)"), "error: Invalid floating point operation");
  std::string t = "(ENCODEDATE(2024, 2, 29) + 0.75 + 1.5/86400)";
  EXPECT_EQ(eval("YEAR(" + t + ") @ '-' @ MONTH(" + t + ") @ '-' @ DAY(" + t + ")"), "2024-2-29");
  EXPECT_EQ(eval("HOUR(" + t + ") @ ':' @ MINUTE(" + t + ") @ ':' @ SECOND(" + t + ")"), "18:0:1");
  EXPECT_EQ(eval("MILLISECOND(" + t + ")"), "500");
  EXPECT_EQ(eval("YEAR(1e300)"), "error: Date and time value out of range");
  EXPECT_EQ(eval("NOW > ENCODEDATE(2020, 1, 1)"), "1");
}

TEST(FormulaFunctions, DateTextsFollowTheProcessFormats) {
  trel::DateTimeFormats saved = trel::dateTimeFormats();
  trel::DateTimeFormats german = saved;
  german.shortDateFormat = "dd.mm.yyyy";
  german.dateSeparator = '.';
  german.longTimeFormat = "hh:nn:ss";
  trel::setDateTimeFormats(german);
  EXPECT_EQ(eval("DATE('29.02.2024') = ENCODEDATE(2024, 2, 29)"), "1");
  EXPECT_EQ(eval("FORMATDATE('c', DATE('29.02.2024 18:30'))"), "29.02.2024 18:30:00");
  EXPECT_EQ(eval("FORMATDATE('ddddd', ENCODEDATE(2024, 3, 5))"), "05.03.2024");
  EXPECT_EQ(eval("DATE('2024-03-05') = ENCODEDATE(2024, 3, 5)"), "1");
  EXPECT_EQ(eval("DATE('31.02.2024')"), "error: '31.02.2024' is not a valid date and time");
  trel::setDateTimeFormats(saved);
}

namespace {
class ScriptedHost : public trel::FormulaHost {
 public:
  std::vector<std::string> seen;
  std::string input(const std::string& caption, const std::string& prompt,
                    const std::string& value) override {
    seen.push_back(caption + "|" + prompt + "|" + value);
    return "typed";
  }
  int message(const std::string& text, const std::string& caption, int flags) override {
    seen.push_back(caption + "|" + text + "|" + std::to_string(flags));
    return 6;
  }
  bool stopRequested() override { return false; }
};
}  // namespace

TEST(FormulaFunctions, DialogsGoThroughTheHost) {
  TArtFormula f;
  ScriptedHost host;
  f.host = &host;
  EXPECT_EQ(evalWith(f, "INPUT('Title', 'Name?', 'bob') @ MSG('Sure?', 'Ask', 36.9)"), "typed6");
  EXPECT_EQ(host.seen, (std::vector<std::string>{"Title|Name?|bob", "Ask|Sure?|36"}));
  TArtFormula alone;
  EXPECT_EQ(evalWith(alone, "INPUT('a', 'b', 'c') @ MSG('a', 'b', 0)"), "0");
}
