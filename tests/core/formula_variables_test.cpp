// The component interface: host variables by name and index, the values Compute hands back,
// settings, and code that did not come from the compiler.
#include <gtest/gtest.h>

#include <limits>

#include "formula/code_format.h"
#include "formula_test_util.h"

using trel::FormulaException;
using trel::TArtFormula;
using trel::TCalcItem;
using trel::testing::evalWith;

TEST(FormulaVariables, ReadByNameWithoutRegardToCase) {
  TArtFormula f;
  std::vector<TCalcItem> v{TCalcItem(2), TCalcItem(3), TCalcItem::fromText("t")};
  EXPECT_EQ(evalWith(f, "A * b @ X", {"a", "B", "x"}, &v), "6t");
  // The first of two variables with one name wins.
  std::vector<TCalcItem> w{TCalcItem(1), TCalcItem(2)};
  EXPECT_EQ(evalWith(f, "dup", {"dup", "DUP"}, &w), "1");
  f.CaseSensitive = true;
  EXPECT_EQ(evalWith(f, "DUP", {"dup", "DUP"}, &w), "2");
  EXPECT_EQ(evalWith(f, "Dup", {"dup", "DUP"}, &w), "error: Unknown identifier 'Dup'");
  // One-letter names too, and a new list of names on the same component is looked up anew.
  EXPECT_EQ(evalWith(f, "a", {"A", "a"}, &w), "2");
  f.CaseSensitive = false;
  EXPECT_EQ(evalWith(f, "a", {"A", "a"}, &w), "1");
  EXPECT_EQ(evalWith(f, "a", {"b", "A"}, &w), "2");
  EXPECT_EQ(evalWith(f, "a", {"b", "c"}, &w), "error: Unknown identifier 'a'");
  f.CaseSensitive = true;
  // A variable named like a built-in function is not reachable by its name.
  std::vector<TCalcItem> s{TCalcItem(1)};
  EXPECT_EQ(evalWith(f, "SUM", {"SUM"}, &s), "error: \"(\" expected");
}

TEST(FormulaVariables, EveryIndexOfALongListIsReachable) {
  std::vector<std::string> names;
  std::vector<TCalcItem> values;
  for (int i = 0; i < 9256; ++i) {
    names.push_back("v" + std::to_string(i));
    values.emplace_back(i * 10);
  }
  TArtFormula f;
  EXPECT_EQ(evalWith(f, "v5000 + v256 + V9255", names, &values), "145110");
  EXPECT_EQ(evalWith(f, "$v7000 := 1", names, &values), "1");
  EXPECT_EQ(values[7000].number, 1);
}

TEST(FormulaVariables, ComputeHandsBackStoredValues) {
  TArtFormula f;
  std::vector<std::string> names{"a", "b"};
  std::vector<TCalcItem> v{TCalcItem(1), TCalcItem(2)};
  EXPECT_EQ(evalWith(f, "BLOCK(SET('a', 'x'), INC('b'))", names, &v), "3");
  EXPECT_EQ(v[0].text, "x");
  EXPECT_EQ(v[1].number, 3);
  // A run that fails leaves the values as they were.
  EXPECT_EQ(evalWith(f, "BLOCK(SET('a', 5), $b := 7, 1/0)", names, &v),
            "error: Floating point division by zero");
  EXPECT_EQ(v[0].text, "x");
  EXPECT_EQ(v[1].number, 3);
  // A variable read after a SET sees the stored value.
  EXPECT_EQ(evalWith(f, "BLOCK(SET('b', 10), b * 2)", names, &v), "20");
}

TEST(FormulaVariables, CompileAndComputeSeparately) {
  TArtFormula f;
  std::vector<std::string> names{"x"};
  std::vector<TCalcItem> v{TCalcItem(4)};
  const std::string& code = f.Compile("x * x", 1, names.data());
  EXPECT_EQ(code.back(), static_cast<char>(trel::fcode::kStop));
  EXPECT_EQ(f.Compute(1, v.data()), "16");
  v[0].setNumber(5);
  EXPECT_EQ(f.Compute(1, v.data()), "25");
  EXPECT_THROW(f.Compute(2, v.data()), FormulaException);
  // After a failed compilation there is no code to compute.
  EXPECT_THROW(f.Compile("x +", 1, names.data()), FormulaException);
  EXPECT_TRUE(f.code().empty());
  try {
    f.Compute(1, v.data());
    FAIL();
  } catch (const FormulaException& e) {
    EXPECT_STREQ(e.what(), "No compiled formula to compute");
  }
}

TEST(FormulaVariables, TestUsedVars) {
  TArtFormula f;
  f.TestUsedVars = true;
  std::vector<TCalcItem> v(2);
  EXPECT_EQ(evalWith(f, "a + 1", {"a", "b"}, &v), "error: Variable not used");
  EXPECT_EQ(evalWith(f, "a + b", {"a", "b"}, &v), "0");
}

TEST(FormulaVariables, ExternalVariablesAreFetchedWhenConverted) {
  TArtFormula f;
  f.ExternGetVar = true;
  int calls = 0;
  f.GetVarValue = [&](const std::string& name, int, std::string& value, bool) {
    ++calls;
    value = name == "ten" ? "10" : "word";
  };
  EXPECT_EQ(evalWith(f, "ten * 2 @ other"), "20word");
  EXPECT_EQ(calls, 2);
}

TEST(FormulaVariables, ForeignCodeRaisesErrorsNotCrashes) {
  TArtFormula f;
  auto run = [&](const std::string& code) -> std::string {
    f.calc().clear();
    try {
      f.calc().run(code);
      return "ran";
    } catch (const std::exception& e) {
      return e.what();
    }
  };
  EXPECT_EQ(run("\x01"), "Wrong bytecode!");
  EXPECT_EQ(run("\x2B"), "Formula stack is empty");
  EXPECT_EQ(run("\xFE\x01\x02"), "Wrong bytecode!");  // a number cut short
  EXPECT_EQ(run(std::string("\xF6\xFF\xFF\x00\x00", 5)), "Wrong bytecode!");
  EXPECT_EQ(run(std::string("\xF2\x00\x01\x00\x00", 5)), "Wrong bytecode!");  // jump outside
  EXPECT_EQ(run(std::string("\xFD\x00\x00\x00\x00", 5)), "Wrong bytecode!");  // no such variable
  EXPECT_EQ(run("\xF5\x07\x02"), "Wrong bytecode!");  // SIN takes one argument
  EXPECT_EQ(run("\xF5\xC8\x00"), "Wrong bytecode!");  // no such function
  EXPECT_EQ(run("\xE0"), "ran");
}

TEST(FormulaVariables, EveryOperatorGivesTheSameResultsOnBothPaths) {
  // Every operator of the table on pairs of numbers, as numbers (the fast path, unless the
  // operator takes texts) and as texts (the general evaluator).
  const std::vector<std::string> names{"a", "b"};
  const char* numbers[] = {"0", "1", "-2.5", "3", "7.75", "64", "1E300"};  // as they print
  for (const trel::fcode::OperatorInfo& o : trel::fcode::kOperators) {
    const std::string formula = o.fixity == trel::fcode::Fixity::Infix
                                    ? "a " + std::string(o.spelling) + " b"
                                    : std::string(o.spelling) + " a";
    for (const char* x : numbers) {
      for (const char* y : numbers) {
        trel::TArtFormula fast, general;
        std::vector<TCalcItem> n{TCalcItem(std::stod(x)), TCalcItem(std::stod(y))};
        std::vector<TCalcItem> t{TCalcItem::fromText(x), TCalcItem::fromText(y)};
        const std::string result = evalWith(fast, formula, names, &n);
        EXPECT_EQ(result, evalWith(general, formula, names, &t)) << formula << " " << x << " " << y;
        EXPECT_EQ(result.find("Wrong bytecode"), std::string::npos) << formula;
      }
    }
  }
}

TEST(FormulaVariables, ResultsNoLongerFiniteGiveTheSameErrorsOnBothPaths) {
  // Chains of + - * past the range, operations that turn such a value back into a finite one,
  // and variables holding infinity or NaN: the fast path must raise the error of the operation
  // where the value left the range, as the general evaluator (which Step forces) does, also when
  // a later operation raises an error of its own.
  const std::vector<std::string> names{"a", "d", "inf", "nan"};
  const double inf = std::numeric_limits<double>::infinity();
  const std::vector<TCalcItem> values{TCalcItem(1.5), TCalcItem(1e308), TCalcItem(inf),
                                      TCalcItem(std::numeric_limits<double>::quiet_NaN())};
  for (const char* formula : {"(d*a*10) - (d*a*10)",
                              "d*a*10*0 + a",
                              "1 / (d*a*10)",
                              "(d*a*10 > 1) + a",
                              "ATAN(d*a*10)",
                              "d*10 - d*10 + a",
                              "-(d*10) + d*10",
                              "a / 0 * d * 10",
                              "d * 10 / 0",
                              "(d*a)^2 - (d*a)^2",
                              "(d*a*10) - (d*a*10) + a / 0",
                              "d*10 + LN(0)",
                              "inf - inf",
                              "inf * 0 + a",
                              "inf > 1",
                              "nan",
                              "nan = nan",
                              "nan <> nan",
                              "nan <= a",
                              "nan >= a",
                              "nan < a",
                              "MAX(nan, a)",
                              "MIN(a, nan)",
                              "MAX(a, inf)",
                              "IFF(nan, 1, 2)",
                              "inf",
                              "a + nan"}) {
    trel::TArtFormula fast, general;
    general.Step = true;
    std::vector<TCalcItem> f = values, g = values;
    EXPECT_EQ(evalWith(fast, formula, names, &f), evalWith(general, formula, names, &g)) << formula;
  }
  trel::TArtFormula f;
  std::vector<TCalcItem> v = values;
  EXPECT_EQ(evalWith(f, "(d*a*10) - (d*a*10)", names, &v), "error: Floating point overflow");
}

TEST(FormulaVariables, NumbersOnlyFormulasGiveTheSameResultsOnBothPaths) {
  // Variables holding numbers let numbers-only code take the fast path; the same values given as
  // texts make it give up, and the general evaluator computes. Both must agree, errors included.
  const std::vector<std::string> names{"a", "b", "c", "x", "y"};
  const char* numbers[] = {"1.5", "2.5", "3", "2.2", "3.7"};
  std::vector<TCalcItem> asNumbers, asTexts;
  for (const char* n : numbers) {
    asNumbers.emplace_back(std::stod(n));
    asTexts.push_back(TCalcItem::fromText(n));
  }
  for (const char* formula : {"a+b*c",
                              "SIN(x)^2+COS(x)^2",
                              "MAX(a,b,c) - MIN(x,y,1)",
                              "IFF(x>1 & x<5,1,0)",
                              "EXP(-x*x/2)/SQRT(6.283185307179586)",
                              "LN(x)+LG(y)",
                              "(x>y)+(a<b)+(c>=3)",
                              "7 \\ a % 2",
                              "!a + !!b + -c",
                              "x << 2 >> 1 && 255 || 3 BXOR 1",
                              "a / (b - 2.5)",
                              "LOG(a - 1.5)",
                              "SQRT(-a)",
                              "1e308 * a * 1e10",
                              "ATANH(a - 0.5)",
                              "a XOR b",
                              "a <> b",
                              "x / 0 + a",
                              "a % 0",
                              "y * 1e308 * x",
                              "LOG(x - 2.2) + LN(a)",
                              "x ^ 2 + (c - 3) ^ -1"}) {
    trel::TArtFormula fast, general;
    std::vector<TCalcItem> n = asNumbers, t = asTexts;
    EXPECT_EQ(evalWith(fast, formula, names, &n), evalWith(general, formula, names, &t)) << formula;
  }
}
