// The statement rewrites: external, formula, nothing, if/endif, repeat/while, call, def, classes.
#include <gtest/gtest.h>

#include "rtl/integer_text.h"
#include "rtl/random.h"
#include "test_host.h"
#include "translator/translator.h"

using trel::testing::TestBench;
using Lines = std::vector<std::string>;

namespace {

Lines translate(const Lines& source, TestBench* bench = nullptr) {
  TestBench local;
  TestBench& b = bench ? *bench : local;
  b.machine.highlvl = source;
  trel::translate(b.machine);
  Lines code = b.machine.code;
  code.pop_back();  // HALT
  return code;
}

// The label numbers a translation seeded with `seed` draws, in order.
Lines labelNumbers(uint32_t seed, int count) {
  trel::seedRandom(seed);
  Lines numbers;
  for (int k = 0; k < count; ++k)
    numbers.push_back(trel::hexText(static_cast<uint32_t>(trel::randomInt(65535)), 8));
  trel::seedRandom(seed);
  return numbers;
}

Lines moves(const Lines& args) {
  Lines out;
  for (size_t k = 0; k < 5; ++k) out.push_back("RG" + std::to_string(k + 1) + ":=" + args[k]);
  return out;
}

Lines concat(std::initializer_list<Lines> parts) {
  Lines out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

TEST(ExternalStatement, LoadsTheFiveArgumentRegistersAndKeepsTheResult) {
  EXPECT_EQ(translate({"external f: lib a,b,c,d,e)"}),
            concat({{"var f"}, moves({"a", "b", "c", "d", "e"}), {"extl lib,f", "f:=RG0"}}));
  EXPECT_EQ(translate({"external Mix: tools ##7,,,,)"}),
            concat({{"var Mix"},
                    moves({"##7", "##0", "##0", "##0", "##0"}),
                    {"extl tools,Mix", "Mix:=RG0"}}));
}

TEST(ExternalStatement, FewerCommasLoseOrCutTheLastArgument) {
  EXPECT_EQ(translate({"external f: lib ,,,,)"})[1], "RG1:=##0");
  EXPECT_EQ(
      translate({"external f: lib a)"}),
      concat({{"var f"}, moves({"##0", "##0", "##0", "##0", "##0"}), {"extl lib,f", "f:=RG0"}}));
  EXPECT_EQ(translate({"external f: lib a,bcdef)"}),
            concat({{"var f"}, moves({"a", "##0", "##0", "##0", "ef"}), {"extl lib,f", "f:=RG0"}}));
}

TEST(ExternalStatement, LeadingBlanksGoTrailingBlanksStay) {
  Lines code = translate({"external f: lib  a , b ,c,d,e )"});
  EXPECT_EQ(code[1], "RG1:=a ");
  EXPECT_EQ(code[2], "RG2:=b ");
  EXPECT_EQ(code[5], "RG5:=e ");
}

TEST(ExternalStatement, MissingColonOrBlankShiftTheFields) {
  // No colon: the name is empty and the name's first letter is lost.
  EXPECT_EQ(translate({"external fn lib 1,2,3,4,5)"})[6], "extl n,");
  // No blank after the colon: the library is empty and its first letter is lost; a blank in the
  // argument list then ends the library name there.
  EXPECT_EQ(translate({"external f:lib,a,b,c,d)"})[6], "extl ,f");
  EXPECT_EQ(translate({"external f:lib,a, b,c,d)"})[6], "extl lib,a,,f");
}

TEST(FormulaStatement, BecomesADeclarationTheInstructionAndTheResultMove) {
  EXPECT_EQ(translate({"formula (n+1);"}), (Lines{"var formula", "@FORMULA n+1", "formula:=RG0"}));
  EXPECT_EQ(translate({"formula (a+b); rest"}),
            (Lines{"var formula", "@FORMULA a+b", "formula:=RG0"}));
  EXPECT_EQ(translate({"formula (a+b)"})[1], "@FORMULA ");
}

TEST(FormulaStatement, AVariableOfExactlyThatNameStandsForItsValue) {
  TestBench b;
  ASSERT_TRUE(b.exec({"x*2:=41+1"}));
  EXPECT_EQ(translate({"formula (x*2);"}, &b)[1], "@FORMULA 41+1");
  EXPECT_EQ(translate({"formula (X*2);"}, &b)[1], "@FORMULA X*2");
}

TEST(NothingStatement, ReplacesTheFirstWordInAnyCase) {
  EXPECT_EQ(translate({"nothing"}), Lines{"##0,##0,##0,##0,##0,"});
  EXPECT_EQ(translate({"  NOTHING NOTHING"}), Lines{"  ##0,##0,##0,##0,##0, NOTHING"});
}

TEST(CallStatement, LoadsTheRegistersAndCallsTheLabel) {
  EXPECT_EQ(translate({"call show(n,,,,)"}),
            concat({moves({"n", "##0", "##0", "##0", "##0"}), {"call ::show"}}));
  EXPECT_EQ(translate({"call f(a,b)"}),
            concat({moves({"a", "##0", "##0", "##0", "##0"}), {"call ::f"}}));
  EXPECT_EQ(translate({"call Point.move(,,,,)"}).back(), "call ::Point.move");
}

TEST(CallStatement, ALowLevelCallLineIsTakenForAStatement) {
  EXPECT_EQ(translate({"call ::f"}),
            concat({moves({"##0", "##0", "##0", "##0", "##0"}), {"call ::"}}));
}

TEST(DefStatement, BecomesTheProcedureLabel) {
  EXPECT_EQ(translate({"def (main)", "def (sum) ; tail", "def (open"}),
            (Lines{"::main", "::sum", "::"}));
}

TEST(IfBlock, JumpsOverTheBodyToALabelThatReplacesTheEndif) {
  Lines n = labelNumbers(11, 4);
  EXPECT_EQ(translate({"if (x = 1)", "body", "endif", "if (x <> 1)", "endif", "if (a > b)", "endif",
                       "if (a < b)", "endif"}),
            (Lines{"cmp x,1", "if != ::compare" + n[0], "body", "::compare" + n[0], "cmp x,1",
                   "if = ::compare" + n[1], "::compare" + n[1], "cmp a,b", "if < ::compare" + n[2],
                   "::compare" + n[2], "cmp a,b", "if > ::compare" + n[3], "::compare" + n[3]}));
}

TEST(IfBlock, NestedBlocksPairInnerWithInner) {
  Lines n = labelNumbers(3, 2);
  EXPECT_EQ(translate({"if (a = 1)", "if (b = 2)", "x", "endif", "y", "endif"}),
            (Lines{"cmp a,1", "if != ::compare" + n[0], "cmp b,2", "if != ::compare" + n[1], "x",
                   "::compare" + n[1], "y", "::compare" + n[0]}));
}

TEST(IfBlock, AnInnerIfInCapitalsIsNotCountedByTheOuterSearch) {
  Lines n = labelNumbers(4, 2);
  EXPECT_EQ(translate({"if (a = 1)", "IF (b = 2)", "endif", "endif"}),
            (Lines{"cmp a,1", "if != ::compare" + n[0], "cmp b,2", "if != ::compare" + n[1],
                   "::compare" + n[0], "::compare" + n[1]}));
}

TEST(IfBlock, OnlyAnExactLowerCaseEndifCloses) {
  Lines n = labelNumbers(5, 1);
  EXPECT_EQ(translate({"if (a = 1)", " endif", "ENDIF", "endif;", "endif"}),
            (Lines{"cmp a,1", "if != ::compare" + n[0], " endif", "ENDIF", "endif;",
                   "::compare" + n[0]}));
  EXPECT_EQ(translate({"x", "if (a = 1)"}),
            (Lines{"x", "cmp a,1", "if != ::compare" + labelNumbers(5, 1)[0]}));
}

TEST(IfBlock, OperandsAreCutAtBlanksAndTheClosingParenthesis) {
  labelNumbers(6, 1);
  Lines code = translate({"if (name = some text )"});
  EXPECT_EQ(code[0], "cmp name,some text ");
}

TEST(IfBlock, AnUnknownOperatorStopsTheTranslationNamingTheLine) {
  for (const std::string line : {"if (a >= b)", "if (a != b)", "if (x=1)", "while (a => b)"}) {
    TestBench b;
    Lines code = translate({"def (a)", line, "endif"}, &b);
    EXPECT_TRUE(b.machine.CheckBox1) << line;
    EXPECT_NE(b.lastMessage().find("at: 1"), std::string::npos) << b.lastMessage();
    EXPECT_NE(b.lastMessage().rfind("Unknown comparison operator", 0), std::string::npos);
    EXPECT_EQ(code, (Lines{"::a", line, "endif"}));
  }
}

TEST(RepeatLoop, TheRepeatLineBecomesTheLabelTheWhileLineJumpsBack) {
  Lines n = labelNumbers(8, 4);
  EXPECT_EQ(translate({"repeat", "x", "while (i < 10)", "repeat", "while (i = 1)", "repeat",
                       "while (i <> 1)", "repeat", "while (i > 1)"}),
            (Lines{"::rep" + n[0], "x", "cmp i,10", "if < ::rep" + n[0], "::rep" + n[1], "cmp i,1",
                   "if = ::rep" + n[1], "::rep" + n[2], "cmp i,1", "if != ::rep" + n[2],
                   "::rep" + n[3], "cmp i,1", "if > ::rep" + n[3]}));
}

TEST(RepeatLoop, NestedLoopsPairInnerFirstAlsoOnConsecutiveWhileLines) {
  Lines n = labelNumbers(9, 2);
  EXPECT_EQ(translate({"repeat", "repeat", "x", "while (j < 3)", "while (i < 3)"}),
            (Lines{"::rep" + n[1], "::rep" + n[0], "x", "cmp j,3", "if < ::rep" + n[0], "cmp i,3",
                   "if < ::rep" + n[1]}));
}

TEST(RepeatLoop, ACommentHoldingWhileHidesARepeatLine) {
  Lines n = labelNumbers(10, 1);
  EXPECT_EQ(
      translate({"repeat", "repeat", "// loop while busy", "while (i < 3)"}),
      (Lines{"::rep" + n[0], "repeat", "// loop while busy", "cmp i,3", "if < ::rep" + n[0]}));
}

TEST(RepeatLoop, AWhileWithoutRepeatLeavesItsJumpUnpaired) {
  Lines n = labelNumbers(12, 1);
  EXPECT_EQ(translate({"x", "while (i < 3)"}), (Lines{"x", "cmp i,3", "if < ::rep" + n[0]}));
}

TEST(Classes, StatementsBecomeMarkersByCaseSensitiveReplacement) {
  EXPECT_EQ(translate({"new class (Point);", "new class (Point)", "class property x",
                       "  class method move", "endclass;", "class inherit Point Point3"}),
            (Lines{"__BEGINCLASS@@ Point", "__BEGINCLASS@@ Point", "__PROPERTY@@ x",
                   "  __METHOD@@ move", "__ENDCLASS@@;", "__INHERIT@@ Point Point3"}));
  TestBench b;
  EXPECT_EQ(translate({"New Class (P);", "CLASS PROPERTY x"}, &b),
            (Lines{"New Class (P", "CLASS PROPERTY x"}));
  EXPECT_EQ(b.machine.debug.lines().size(), 3u);  // "debug" and both statements
}

TEST(WholePrograms, ControlFlowRunsEndToEnd) {
  TestBench b;
  ASSERT_TRUE(b.run({"var i", "i:=0", "repeat", "i+1", "if (i = 3)", "%ECHO three", "endif",
                     "if (i > 4)", "%ECHO four or more", "endif", "while (i < 5)",
                     "call show(i,,,,)", "HALT", "def (show)", "%ECHO RG1", "RETURN"}));
  EXPECT_EQ(b.host.printed, (Lines{"three", "four or more", "four or more", "5", "", "",
                                   "Trel: QN+ End of executing"}));
}

TEST(WholePrograms, ClassesRunEndToEnd) {
  TestBench b;
  ASSERT_TRUE(b.run({"new class (Point);", "class property x", "class method show", "endclass",
                     "class inherit Point Point3", "Point.x:=1", "Point3.x:=2",
                     "call Point.show(,,,,)", "call Point3.show(,,,,)", "%ECHO Point3.class",
                     "HALT", "def (show)", "%ECHO showing", "RETURN"}));
  EXPECT_EQ(b.host.printed,
            (Lines{"showing", "showing", "Point", "", "", "Trel: QN+ End of executing"}));
}

}  // namespace
