// @FORMULA in running programs, the formula statement of QN+, and qn eval.
#include <gtest/gtest.h>

#include "machine/formula_instruction.h"
#include "process.h"
#include "shell/commands.h"
#include "test_host.h"
#include "translator/translator.h"

using trel::testing::ProcessResult;
using trel::testing::runProcess;
using trel::testing::TestBench;

TEST(FormulaInstruction, ReadsMachineVariablesByNameAsNumbers) {
  TestBench b;
  ASSERT_TRUE(b.exec({"var x", "x:=2.5", "var s", "s:=abc", "@FORMULA x * 4 + S", "%ECHO RG0"}));
  // A text that is no number counts as 1.
  EXPECT_EQ(b.host.printed, (std::vector<std::string>{"11"}));
  ASSERT_TRUE(b.exec({"@FORMULA 1/3", "%ECHO RG0", "@FORMULA    'a' @ 'b'", "%ECHO RG0"}));
  EXPECT_EQ(b.host.printed.back(), "ab");
  EXPECT_EQ(b.host.printed[1], "0.333333333333333");
}

TEST(FormulaInstruction, AnErrorIsShownAndTheRunGoesOn) {
  TestBench b;
  ASSERT_TRUE(b.exec({"RG0:=before", "@FORMULA nope + 1", "%ECHO RG0", "@FORMULA 1/0", "%ECHO RG0",
                      "@FORMULA SUM", "%ECHO done"}));
  EXPECT_EQ(b.host.messages, (std::vector<std::string>{"Error: Unknown identifier 'nope'",
                                                       "Error: Floating point division by zero",
                                                       "Error: \"(\" expected"}));
  EXPECT_EQ(b.host.printed, (std::vector<std::string>{"before", "before", "done"}));
}

TEST(FormulaInstruction, EveryDeclaredVariableIsReachable) {
  // Slot 5,000 and beyond are named exactly as the program declared them.
  std::vector<std::string> code;
  for (int i = 0; i < 5100; ++i) code.push_back("var v" + std::to_string(i));
  code.push_back("v4990:=7");
  code.push_back("v300:=3");
  code.push_back("@FORMULA v4990 * 10 + v300 + $v12 + EXISTS('v5099')");
  code.push_back("%ECHO RG0");
  // A variable declared between two formulas is seen by the second.
  code.push_back("var late");
  code.push_back("late:=5");
  code.push_back("@FORMULA LATE");
  code.push_back("%ECHO RG0");
  TestBench b;
  ASSERT_TRUE(b.exec(code));
  EXPECT_EQ(b.host.printed, (std::vector<std::string>{"74", "5"}));
  EXPECT_TRUE(b.host.messages.empty());
  // A new run starts from a fresh table: the old names are gone.
  ASSERT_TRUE(b.exec({"@FORMULA v300", "%ECHO RG0"}));
  EXPECT_EQ(b.lastMessage(), "Error: Unknown identifier 'v300'");
}

TEST(FormulaInstruction, CompiledCodeIsReusedOnlyWhileItsNamesResolveAsBefore) {
  TestBench b;
  // The same text again in a loop, then in a run whose table puts x in another slot: the code
  // compiled for the first slot would read a.
  ASSERT_TRUE(b.exec({"var x", "x:=1", "var k", "k:=0", "::top", "@FORMULA x + k", "%ECHO RG0",
                      "k:=RG0", "CMP k,3", "IF < ::top"}));
  EXPECT_EQ(b.host.printed, (std::vector<std::string>{"1", "2", "3"}));
  ASSERT_TRUE(b.exec({"var a", "a:=50", "var x", "x:=2", "var k", "k:=0", "@FORMULA x + k",
                      "%ECHO RG0", "var X", "X:=7", "@FORMULA x + k", "%ECHO RG0"}));
  EXPECT_EQ(b.host.printed, (std::vector<std::string>{"1", "2", "3", "2", "2"}));
  // Many different texts: the cache keeps a bounded number of them.
  std::vector<std::string> code;
  for (int i = 0; i < 200; ++i) code.push_back("@FORMULA " + std::to_string(i) + " + 1");
  code.push_back("%ECHO RG0");
  ASSERT_TRUE(b.exec(code));
  EXPECT_EQ(b.host.printed.back(), "200");
  EXPECT_LE(b.machine.formulaState->compiled.size(), trel::FormulaCache::kCapacity);
}

TEST(FormulaInstruction, StoresIntoMachineVariablesAreNotKept) {
  TestBench b;
  ASSERT_TRUE(b.exec({"var n", "n:=1", "@FORMULA $n := 9", "%ECHO RG0", "%ECHO n"}));
  EXPECT_EQ(b.host.printed, (std::vector<std::string>{"9", "1"}));
}

TEST(FormulaInstruction, DialogsUseTheHost) {
  TestBench b;
  b.host.answers = {"Ann", "7"};
  ASSERT_TRUE(b.exec({"@FORMULA INPUT('Who', 'Name', '') @ MSG('Go?', 'Q', 4)", "%ECHO RG0",
                      "@FORMULA '<' @ INPUT('a', 'b', 'c') @ '>'", "%ECHO RG0"}));
  EXPECT_EQ(b.host.printed, (std::vector<std::string>{"Ann7", "<>"}));
  EXPECT_EQ(b.host.messages, (std::vector<std::string>{"Q: Go?"}));
}

TEST(FormulaInstruction, AFormulaThatNeverEndsStopsWithTheRun) {
  TestBench b;
  b.host.onlyTranslateAt(5);
  ASSERT_TRUE(b.exec({"RG0:=x", "@FORMULA WHILE 1 DO 0 WEND", "%ECHO after"}));
  EXPECT_TRUE(b.machine.CheckBox1);
  EXPECT_TRUE(b.host.messages.empty());
  EXPECT_TRUE(b.host.printed.empty());
  EXPECT_EQ(b.var("RG0"), "x");
}

TEST(FormulaInstruction, AProgramStartedInsideAFormulaGetsItsOwnComponent) {
  TestBench b;
  // While the outer formula loops, a console line runs a formula of its own.
  b.host.at(4, [&] {
    b.machine.console.Edit1 = "@FORMULA 6 * 7";
    trel::ConsoleButton1Click(b.machine);
  });
  b.host.at(6, [&] { b.machine.CheckBox1 = true; });
  ASSERT_TRUE(b.exec({"@FORMULA WHILE 1 DO 0 WEND"}));
  EXPECT_EQ(b.var("RG0"), "42");
  EXPECT_TRUE(b.host.messages.empty());
}

TEST(FormulaInstruction, TheFormulaStatementOfQnPlus) {
  TestBench b;
  ASSERT_TRUE(b.run({"var r", "r:=4", "formula (r * r + SQRT(r));", "%ECHO formula",
                     "formula (IF r > 3 THEN 'big' ELSE 'small' ENDD);", "%ECHO formula"}));
  EXPECT_EQ(b.host.printed[0], "18");
  EXPECT_EQ(b.host.printed[1], "big");
}

namespace {
ProcessResult qn(const std::vector<std::string>& args, const std::string& input = "") {
  trel::testing::ProcessOptions o;
  o.input = input;
  return runProcess(TREL_QN_PATH, args, o);
}
}  // namespace

TEST(FormulaInstruction, QnEval) {
  ProcessResult r = qn({"eval", "1/3"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "0.333333333333333\n");
  r = qn({"eval", "'a' - 2"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "'a' is not a valid floating point value\n");
  r = qn({"eval", "1 +"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Syntax error\n");
  r = qn({"eval", "-"}, std::string(1000000, '('));
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Expression too complex\n");
  EXPECT_EQ(qn({"eval"}).status, 2);
  EXPECT_EQ(qn({"eval", "1", "2"}).status, 2);
}

TEST(FormulaInstruction, QnRunsProgramsWithFormulas) {
  trel::testing::TempDir dir("formula");
  std::string file = dir.write("f.qn",
                               "var x\r\nx:=5\r\nformula (x*2+1);\r\n%ECHO formula\r\n"
                               "formula (x/0);\r\n%ECHO still here\r\n");
  ProcessResult r = qn({"run", file});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "11\nstill here\n\n\nTrel: QN+ End of executing\n");
  EXPECT_EQ(r.err, "Error: Floating point division by zero\n" + file +
                       ":5: error: Floating point division by zero\n");
}

TEST(FormulaInstruction, AStepLimitAlsoEndsAFormulaThatNeverEnds) {
  TestBench b;
  b.machine.maxSteps = 50;
  EXPECT_FALSE(b.exec({"@FORMULA WHILE 1 DO 0 WEND", "%ECHO after"}));
  EXPECT_EQ(b.lastMessage(), "Step limit reached");
  EXPECT_TRUE(b.host.printed.empty());
  ProcessResult r = qn({"eval", "WHILE 1 DO 0 WEND", "--max-steps", "20"});
  EXPECT_EQ(r.status, 3);
  EXPECT_EQ(r.err, "Step limit reached\n");
  EXPECT_EQ(qn({"eval", "1", "--max-steps", "x"}).status, 2);
}
