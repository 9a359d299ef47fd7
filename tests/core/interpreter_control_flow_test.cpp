// The step loop, labels, jumps, calls, returns, compares, HALT and the log they write.
#include <gtest/gtest.h>

#include "test_host.h"

using trel::testing::TestBench;
using Lines = std::vector<std::string>;

namespace {

bool logHas(const TestBench& b, const std::string& line) {
  for (const auto& l : b.log())
    if (l == line) return true;
  return false;
}

TEST(Interpreter, CallAndReturnWriteTheLogLineByLine) {
  TestBench b;
  ASSERT_TRUE(b.exec({"CALL ::f", "HALT", "::f", "%ECHO in f", "RETURN"}));
  EXPECT_EQ(b.host.printed, Lines{"in f"});
  EXPECT_EQ(b.log(), (Lines{"Line: 0 Step: 1", "Interpreting  [CALL ::F]", "JUMPING: 2 FLAG2: 1000",
                            "Line: 3 Step: 2", "Interpreting  [%ECHO IN F]", "Line: 4 Step: 3",
                            "Interpreting  [RETURN]", "BACK T0 FLAG2: 1000", "Line: 1 Step: 4",
                            "Interpreting  [HALT]"}));
  EXPECT_EQ(b.var("FL2"), "");  // popped by RETURN; HALT keeps FL2 as it is
}

TEST(Interpreter, NestedCallsStackReturnPointsNewestFirst) {
  TestBench b;
  ASSERT_TRUE(b.exec({"CALL ::a", "HALT", "::a", "CALL ::b", "%ECHO back in a", "RETURN", "::b",
                      "x:=FL2", "RETURN"}));
  EXPECT_EQ(b.var("x"), "10031000");
  EXPECT_EQ(b.host.printed, Lines{"back in a"});
}

TEST(Interpreter, ARunThatPassesItsLastLineLogsTheSlotCountAndEmptiesFl2) {
  TestBench b;
  ASSERT_TRUE(b.exec({"%ECHO hi"}));
  EXPECT_EQ(b.log().back(), "VAR_COUNT = 15");
  ASSERT_TRUE(b.exec({"VAR a", "VAR b", "FL2:=1234"}));
  EXPECT_EQ(b.log().back(), "VAR_COUNT = 17");
  EXPECT_EQ(b.var("FL2"), "");
}

TEST(Interpreter, ReturnWithoutAPendingCallStopsWithTheIntegerError) {
  TestBench b;
  EXPECT_FALSE(b.exec({"RETURN", "%ECHO never"}));
  EXPECT_EQ(b.lastMessage(), "'' is not a valid integer value");
  EXPECT_TRUE(b.host.printed.empty());
}

TEST(Interpreter, ReturnWithMinusOneStaysOnItsLine) {
  TestBench b;
  ASSERT_TRUE(b.exec({"FL2:=-1", "RETURN", "%ECHO after"}));
  EXPECT_EQ(b.host.printed, Lines{"after"});
  EXPECT_TRUE(logHas(b, "BACK T0 FLAG2: -1"));
}

TEST(Interpreter, AJumpToAMissingLabelStopsWithItsText) {
  TestBench b;
  EXPECT_FALSE(b.exec({"JUMP ::nowhere"}));
  EXPECT_EQ(b.lastMessage(), "'::nowhere' is not a valid integer value");
  EXPECT_EQ(b.log().back(), "JUMPING: ::nowhere");
}

TEST(Interpreter, LabelsMatchWholeLinesExactlyAndTheFirstOneWins) {
  TestBench b;
  ASSERT_TRUE(b.exec({"JUMP ::L", "::l", "%ECHO lower", "HALT", "::L", "%ECHO first", "HALT", "::L",
                      "%ECHO second"}));
  EXPECT_EQ(b.host.printed, Lines{"first"});
  EXPECT_FALSE(b.exec({"JUMP ::x", " ::x"}));  // a blank in the line counts
}

TEST(Interpreter, CallFromALineWithAFiveDigitReturnPointStopsClearly) {
  Lines code(9001, "");
  code[0] = "JUMP ::far";
  code[8999] = "::far";
  code[9000] = "CALL ::far";
  TestBench b;
  EXPECT_FALSE(b.exec(code));
  EXPECT_NE(b.lastMessage().find("CALL from line 9000"), std::string::npos);
  EXPECT_EQ(b.var("FL2"), "");
}

TEST(Interpreter, ACallLineAlsoRunsJumpOnWhatIsLeftOfIt) {
  // CALL drops its four letters; "::jump2" still holds JUMP, which drops four more and looks for
  // the label "mp2".
  TestBench b;
  EXPECT_FALSE(b.exec({"CALL ::jump2", "HALT", "::jump2", "RETURN"}));
  EXPECT_EQ(b.lastMessage(), "'mp2' is not a valid integer value");
}

TEST(Compare, IntegersCompareAsNumbersAndOtherTextsAsEqualOrNot) {
  TestBench b;
  ASSERT_TRUE(
      b.exec({"a:=10", "b:=9", "CMP a,b", "r1:=FL1", "a:=abc", "b:=abd", "CMP a,b", "r2:=FL1",
              "CMP a,abc", "r3:=FL1", "a:=-3", "CMP a, -3 ", "r4:=FL1", "CMP a,$10", "r5:=FL1"}));
  EXPECT_EQ(b.var("r1"), ">");
  EXPECT_EQ(b.var("r2"), "<>");
  EXPECT_EQ(b.var("r3"), "=");
  EXPECT_EQ(b.var("r4"), "=");
  EXPECT_EQ(b.var("r5"), "<");
  EXPECT_TRUE(logHas(b, "Compare (=) [b] to [a]"));
  EXPECT_TRUE(logHas(b, "RESULT [>]"));
}

TEST(Compare, ATextAgainstANumberStopsWithTheIntegerError) {
  TestBench b;
  EXPECT_FALSE(b.exec({"a:=abc", "b:=5", "CMP a,b"}));
  EXPECT_EQ(b.lastMessage(), "'abc' is not a valid integer value");
}

TEST(Compare, AnUndeclaredLeftOperandKeepsTheFlag) {
  TestBench b;
  ASSERT_TRUE(b.exec({"FL1:=keep", "CMP nothere,1", "r:=FL1"}));
  EXPECT_EQ(b.var("r"), "keep");
  EXPECT_TRUE(logHas(b, "RESULT [keep]"));
}

TEST(ConditionalJumps, JumpOnlyWhenTheFlagSaysSoButAlwaysLog) {
  TestBench b;
  ASSERT_TRUE(b.exec({"FL1:=<>", "IF = ::x", "%ECHO not taken", "HALT", "::x", "%ECHO taken"}));
  EXPECT_EQ(b.host.printed, Lines{"not taken"});
  EXPECT_TRUE(logHas(b, "JUMPING: ::x"));

  TestBench c;
  ASSERT_TRUE(c.exec({"FL1:=>", "if != ::x", "HALT", "::x", "%ECHO taken"}));
  EXPECT_EQ(c.host.printed, Lines{"taken"});
}

TEST(ConditionalJumps, ATakenJumpRunsTheLabelLineNextNotTheLineBeforeIt) {
  // The line before the label is HALT: the jump's step must not run it.
  TestBench b;
  ASSERT_TRUE(b.exec({"x:=1", "CMP x,1", "IF = ::there", "HALT", "::there", "%ECHO arrived"}));
  EXPECT_EQ(b.host.printed, Lines{"arrived"});
}

TEST(ConditionalJumps, ALoopMayStartOnTheFirstLine) {
  // A taken jump to line 0 sets the counter to -1; the step's advance brings it back to 0.
  TestBench b;
  ASSERT_TRUE(b.exec({"::top", "VAR n", "n+1", "CMP n,2", "IF < ::top", "%ECHO n"}));
  EXPECT_EQ(b.host.printed, Lines{"2"});
}

TEST(Halt, InIdeModeOnlyTheRunEnds) {
  TestBench b;
  ASSERT_TRUE(b.exec({"HALT", "%ECHO never"}));
  EXPECT_TRUE(b.host.printed.empty());
  EXPECT_FALSE(b.host.processEnded);
  EXPECT_EQ(b.log().back(), "Interpreting  [HALT]");
}

TEST(Halt, WithoutAFirstArgumentTheProcessEndsAfterAMessageWhenTheConsoleIsHidden) {
  TestBench b;
  b.machine.firstArgumentPresent = false;
  ASSERT_TRUE(b.exec({"%NO_OUT", "HALT", "%ECHO never"}));
  EXPECT_TRUE(b.host.processEnded);
  EXPECT_EQ(b.host.endStatus, 0);
  EXPECT_EQ(b.lastMessage(), "Trel: QN+ Execution done!");

  TestBench c;
  c.machine.firstArgumentPresent = false;
  ASSERT_TRUE(c.exec({"HALT"}));
  EXPECT_TRUE(c.host.processEnded);
  EXPECT_TRUE(c.host.messages.empty());
}

TEST(StepLoop, AnEmptyProgramStopsWithTheListIndexError) {
  TestBench b;
  EXPECT_FALSE(b.exec({}));
  EXPECT_EQ(b.lastMessage(), "List index out of bounds (0)");
}

TEST(StepLoop, ALineWithADoubleQuoteRunsNoInstruction) {
  TestBench b;
  ASSERT_TRUE(b.exec({"x:=\"5\"", "%ECHO \"hi\""}));
  EXPECT_FALSE(b.machine.table.VariableExists("x"));
  EXPECT_TRUE(b.host.printed.empty());
  for (const auto& l : b.log()) EXPECT_EQ(l.find("Interpreting"), std::string::npos) << l;
}

TEST(StepLoop, ACommentLineIsBlankedAndDoesNothing) {
  TestBench b;
  ASSERT_TRUE(b.exec({"x:=1 // set x", "%ECHO done"}));
  EXPECT_FALSE(b.machine.table.VariableExists("x"));
  EXPECT_EQ(b.machine.ListBox1.line(0), "");
  EXPECT_EQ(b.host.printed, Lines{"done"});
}

TEST(StepLoop, SemicolonsAreRemovedBeforeTheRun) {
  TestBench b;
  ASSERT_TRUE(b.exec({"x:=5;", "%ECHO x;;"}));
  EXPECT_EQ(b.var("x"), "5");
  EXPECT_EQ(b.host.printed, Lines{"5"});
  EXPECT_EQ(b.machine.ListBox1.line(0), "x:=5");
}

TEST(StepLoop, KeywordsMatchInsideLongerWords) {
  TestBench b;
  // RETURN inside the name: the assignment runs, then RETURN finds no call pending.
  EXPECT_FALSE(b.exec({"returnvalue:=1"}));
  EXPECT_EQ(b.var("returnvalue"), "1");
  EXPECT_EQ(b.lastMessage(), "'' is not a valid integer value");
  // VAR inside an echoed word declares what follows its three dropped characters.
  TestBench c;
  ASSERT_TRUE(c.exec({"%ECHO variable"}));
  EXPECT_TRUE(c.machine.table.VariableExists("HO variable"));
  EXPECT_EQ(c.host.printed, Lines{"variable"});
}

TEST(StepLoop, EachSuccessfulTestWritesItsOwnLogLine) {
  TestBench b;
  ASSERT_TRUE(b.exec({"y:=x-1"}));
  Lines log = b.log();
  int interpreting = 0;
  for (const auto& l : log) interpreting += l == "Interpreting  [Y:=X-1]";
  EXPECT_EQ(interpreting, 2);  // ":=" and "-"
}

TEST(StepLoop, IndentedInstructionsTakeTheirOperandsAfterTheIndentation) {
  TestBench b;
  ASSERT_TRUE(b.exec({"    var x", "\tx:=4", "  %ECHO hi", "\t\t%ECHO x", "   CALL ::p", "   HALT",
                      "::p", "  RETURN"}));
  EXPECT_EQ(b.host.printed, (Lines{"hi", "4"}));
  EXPECT_EQ(b.var("x"), "4");
}

// A line that holds an instruction's keyword and nothing after it: the instruction takes an empty
// operand, and the run goes on.
TEST(StepLoop, AKeywordAloneOnItsLineTakesAnEmptyOperand) {
  TestBench b;
  ASSERT_TRUE(b.exec({"%ECHO", "  %ECHO", "%ECHO after"})) << b.lastMessage();
  ASSERT_TRUE(b.exec({"x:=8", "x/2", "%ECHO x"})) << b.lastMessage();  // no target: nothing stored
  ASSERT_TRUE(b.exec({"VAR", "%ECHO declared"})) << b.lastMessage();
  EXPECT_EQ(b.host.printed, (Lines{"", "", "after", "8", "declared"}));
}

TEST(StepLoop, TheStepLimitStopsARunawayProgram) {
  TestBench b;
  b.machine.maxSteps = 100;
  EXPECT_FALSE(b.exec({"::l", "JUMP ::l"}));
  EXPECT_EQ(b.lastMessage(), "Step limit reached");
}

TEST(StepLoop, TheExecutionPointShowsTheLineAndWorkingTextOfThePreviousStep) {
  TestBench b;
  std::vector<std::string> seen;
  b.host.at(5, [&] { seen.push_back(b.machine.Label6()); });
  EXPECT_EQ(b.machine.Label6(), "0");
  ASSERT_TRUE(b.exec({"x:=1", "y:=2", "z:=3", "HALT"}));
  // Pump calls 1 and 2 belong to step 1, 3 and 4 to step 2; call 5 starts step 3.
  EXPECT_EQ(seen, Lines{"2: y:=2"});
}

// The caption holds the previous step's line by its place in the program list; a line the next
// step inserts above it must not change what the caption reads.
TEST(StepLoop, TheExecutionPointKeepsItsTextWhenTheNextStepInsertsALine) {
  for (bool decoded : {true, false}) {
    TestBench b;
    b.machine.decodedSteps = decoded;
    std::vector<std::string> seen;
    // Step 5 runs __METHOD@@ (pump calls 9 and 10), which inserts a label above "::m"; the caption
    // shows the step's line index and the text the step before it left.
    b.host.at(9, [&] { seen.push_back(b.machine.Label6()); });
    b.host.at(10, [&] { seen.push_back(b.machine.Label6()); });
    ASSERT_TRUE(b.exec({"var x", "x:=1", "::m", "x+1", "__METHOD@@ m", "HALT"}));
    EXPECT_EQ(seen, (Lines{"4: x+1", "4: x+1"})) << "decoded steps " << decoded;
    EXPECT_EQ(b.machine.ListBox1.size(), 7);
  }
}

}  // namespace
