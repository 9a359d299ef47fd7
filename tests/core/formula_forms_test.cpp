// Structured formula programs: conditionals, loops, blocks, RETURN and variables by name.
#include <gtest/gtest.h>

#include "formula_test_util.h"

using trel::TArtFormula;
using trel::TCalcItem;
using trel::testing::eval;
using trel::testing::evalWith;

TEST(FormulaForms, OnlyTheChosenBranchRuns) {
  EXPECT_EQ(eval("CONDITION(1, 10, 1/0)"), "10");
  EXPECT_EQ(eval("CONDITION(0, 1/0, 'b')"), "b");
  EXPECT_EQ(eval("IF 1 THEN 5 ENDIF"), "5");
  EXPECT_EQ(eval("IF 0 THEN 5 ENDIF"), "0");
  EXPECT_EQ(eval("IF 0 THEN 5 ELSE 6 ENDD"), "6");
  EXPECT_EQ(eval("IF 0 THEN 5 ELSE 6 END END"), "6");
  EXPECT_EQ(eval("IF 0 THEN 5 ELSE 6 ENDIF"), "error: \")\" expected");
  EXPECT_EQ(eval("IF 1 THEN IF 0 THEN 1 ELSE 2 ENDD ENDIF * 10"), "20");
}

TEST(FormulaForms, LoopsCountTheirRuns) {
  EXPECT_EQ(eval("BLOCK(DEFINE('i', 0), LOOP($i < 5, $i++))"), "5");
  EXPECT_EQ(eval("BLOCK(DEFINE('i', 0), TILL($i++, $i >= 3))"), "3");
  EXPECT_EQ(eval("SERIES(DEFINE('i', 0), $i < 3, $i++, 0)"), "3");
  EXPECT_EQ(eval("BLOCK(SERIES(DEFINE('i', 0), $i < 3, $i++, 0), $i)"), "3");
  EXPECT_EQ(eval("LOOP(0, 1)"), "0");
  EXPECT_EQ(eval("TILL(1, 1)"), "1");
  EXPECT_EQ(eval("WHILE 0 DO 1 WEND"), "0");
  EXPECT_EQ(eval("REPEAT 1 UNTIL 1 END"), "1");
}

TEST(FormulaForms, KeywordProgram) {
  // The sum of 1 to 10 with a FOR loop, a block and run-time variables.
  EXPECT_EQ(eval("BEGIN VAR 's', 'i' END;"
                 "  FOR $i := 1, $i <= 10, $i++ DO $s := $s + $i NEXT;"
                 "  $s "
                 "END"),
            "55");
  EXPECT_EQ(eval("BEGIN DEFINE('n', 1); WHILE $n < 100 DO $n := $n * 2 WEND; $n END"), "128");
}

TEST(FormulaForms, ReturnStopsTheFormula) {
  EXPECT_EQ(eval("BLOCK(1, RETURN(2), 3)"), "2");
  EXPECT_EQ(eval("BLOCK(DEFINE('i', 0), LOOP(1, IF $i++ = 4 THEN RETURN('at ' @ $i) ENDIF))"),
            "at 4");
  EXPECT_EQ(eval("BLOCK()"), "0");
}

TEST(FormulaForms, MalformedForms) {
  EXPECT_EQ(eval("CONDITION 1"), "error: \"(\" expected");
  EXPECT_EQ(eval("CONDITION(1, 2)"), "error: Not enough parameters");
  EXPECT_EQ(eval("LOOP(1)"), "error: Not enough parameters");
  EXPECT_EQ(eval("LOOP(0, 1, 2)"), "error: \")\" expected");
  EXPECT_EQ(eval("SERIES(0, 0, 0)"), "error: Not enough parameters");
  EXPECT_EQ(eval("RETURN 1"), "error: \"(\" expected");
  EXPECT_EQ(eval("$"), "error: Syntax error");
  EXPECT_EQ(eval("$1"), "1");  // "$" and a digit is a hexadecimal number
  EXPECT_EQ(eval("$+"), "error: Syntax error");
  EXPECT_EQ(eval("$a[1;2"), "error: Syntax error");
}

TEST(FormulaForms, VariablesByName) {
  EXPECT_EQ(eval("$x"), "error: Variable x does not exists");
  EXPECT_EQ(eval("$x++"), "error: Variable does not exists");
  EXPECT_EQ(eval("DEC('x')"), "error: Variable does not exists");
  EXPECT_EQ(eval("SET('x', 1)"), "error: Variable x does not exists");
  EXPECT_EQ(eval("BLOCK(DEFINE('a1_2', 7), $a[1,2])"), "7");
  EXPECT_EQ(eval("BLOCK(DEFINE('k', 'v'), $('K'))"), "v");
  EXPECT_EQ(eval("BLOCK(DEFINE('x', 1), DEFINE('x', 1))"), "error: Variable already exists");
  EXPECT_EQ(eval("BLOCK(DEFINE('x', 1), x)"), "error: Unknown identifier 'x'");
  EXPECT_EQ(eval("BLOCK(DEFINE('x', 'a'), $x := $x @ 'b', VAL('x'))"), "ab");
  EXPECT_EQ(eval("BLOCK(DEFINE('x', 5), $x--, DEC('x'), EXISTS('x') @ EXISTS('y') @ $x)"), "103");
  EXPECT_EQ(eval("DEFINES('p', 'q') + BLOCK(VAR 'r' END)"), "3");
  EXPECT_EQ(eval("BLOCK(DEFINE('x', 'a'), $x++)"),
            "error: 'a' is not a valid floating point value");
  EXPECT_EQ(eval("BLOCK(DEFINE('s', 'x'), LOOP(1, $s := $s @ $s))"),
            "error: Text too long (more than 16777216 characters)");
}

TEST(FormulaForms, RunTimeVariablesLastOneRun) {
  TArtFormula f;
  EXPECT_EQ(evalWith(f, "DEFINE('x', 1)"), "1");
  EXPECT_EQ(evalWith(f, "DEFINE('x', 2)"), "2");
  std::vector<TCalcItem> none;
  f.Compile("BLOCK(DEFINE('y', 3), $y)", 0, nullptr);
  EXPECT_EQ(f.Compute(0, none.data()), "3");
  EXPECT_EQ(f.Compute(0, none.data()), "3");
}

namespace {
class StopAfter : public trel::FormulaHost {
 public:
  int polls = 0, stopAt;
  explicit StopAfter(int n) : stopAt(n) {}
  std::string input(const std::string&, const std::string&, const std::string&) override {
    return "";
  }
  int message(const std::string&, const std::string&, int) override { return 0; }
  bool stopRequested() override { return ++polls >= stopAt; }
};
}  // namespace

TEST(FormulaForms, ALoopThatNeverEndsCanBeStopped) {
  TArtFormula f;
  StopAfter host(3);
  f.host = &host;
  std::string result;
  EXPECT_THROW(f.CompileAndCompute("WHILE 1 DO 0 WEND", 0, result, nullptr, nullptr),
               trel::FormulaStopped);
  EXPECT_EQ(host.polls, 3);
  // With Step on, the host is asked before every instruction.
  TArtFormula g;
  StopAfter never(1 << 30);
  g.host = &never;
  g.Step = true;
  EXPECT_EQ(evalWith(g, "1 + 2"), "3");
  EXPECT_EQ(never.polls, 4);  // two numbers, "+", stop
}

TEST(FormulaForms, RunTimeNamesFollowCaseSensitive) {
  EXPECT_EQ(eval("BLOCK(DEFINE('Total', 4), $TOTAL + VAL('total'))"), "8");
  TArtFormula f;
  f.CaseSensitive = true;
  EXPECT_EQ(evalWith(f, "BLOCK(DEFINE('Total', 4), DEFINE('TOTAL', 5), $Total * 10 + $TOTAL)"),
            "45");
  EXPECT_EQ(evalWith(f, "BLOCK(DEFINE('Total', 4), $total)"),
            "error: Variable total does not exists");
}

TEST(FormulaForms, ComputedNames) {
  EXPECT_EQ(eval("BLOCK(DEFINE('v3', 'c'), $('v' @ (1 + 2)))"), "c");
  EXPECT_EQ(eval("BLOCK(DEFINE('m2_10', 1), $m[1 + 1, 2 * 5] := 'set', $m2_10)"), "set");
  EXPECT_EQ(eval("BLOCK(DEFINE('n', 1), $'n'++ , $\"n\")"), "2");
  TArtFormula f;
  f.ExternGetVar = true;
  EXPECT_EQ(evalWith(f, "BLOCK(DEFINE('e', 3), $e)"), "3");
}

TEST(FormulaForms, LoopCountersStayBelowTheBody) {
  // Nested loops each keep their own counter.
  EXPECT_EQ(eval("BLOCK(VAR 'i', 'j', 's' END,"
                 "  FOR $i := 0, $i < 3, $i++ DO"
                 "    FOR $j := 0, $j < 4, $j++ DO $s++ NEXT"
                 "  NEXT @ '/' @ $s)"),
            "3/12");
  EXPECT_EQ(eval("BLOCK(DEFINE('i', 0), WHILE $i < 3 DO $i++ WEND + 100)"), "103");
}
