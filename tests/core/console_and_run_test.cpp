// The console instructions, console mode, the Run command and runs re-entered from events.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "rtl/text.h"
#include "test_host.h"

using trel::testing::TestBench;
using Lines = std::vector<std::string>;

namespace {

TEST(Console, EchoPrintsTextOrAVariablesValue) {
  TestBench b;
  ASSERT_TRUE(b.exec({"%ECHO hello", "hello:=5", "%ECHO hello", "%ECHO   spaced out  "}));
  EXPECT_EQ(b.host.printed, (Lines{"hello", "5", "spaced out"}));
}

TEST(Console, EndlAppendsALineBreakAndAnUnderscore) {
  TestBench b;
  b.machine.console.clear();
  ASSERT_TRUE(b.exec({"%ECHO endl", "%ECHO a", "%ECHO endl"}));
  EXPECT_EQ(b.machine.console.lines(), (Lines{"", "_", "a", "_"}));
}

TEST(Console, HiddenConsoleWritesNothingUntilTheNextRunShowsIt) {
  TestBench b;
  ASSERT_TRUE(b.exec({"%ECHO one", "%NO_OUT", "%ECHO two"}));
  EXPECT_FALSE(b.machine.console.visible());
  EXPECT_TRUE(b.console("%ECHO three"));
  EXPECT_EQ(b.host.printed, Lines{"one"});
  ASSERT_TRUE(b.exec({"%ECHO four"}));
  EXPECT_TRUE(b.machine.console.visible());
  EXPECT_EQ(b.host.printed, (Lines{"one", "four"}));
}

TEST(Console, OutfSavesEveryLineWithCrLf) {
  auto dir = std::filesystem::temp_directory_path() / ("trel-outf-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  std::string path = (dir / "out.txt").string();
  TestBench b;
  b.machine.console.clear();
  ASSERT_TRUE(b.exec({"%ECHO a", "%ECHO b", "%OUTF " + path}));
  EXPECT_EQ(trel::readWholeFile(path), "a\r\nb\r\n");
  EXPECT_FALSE(b.exec({"%OUTF " + (dir / "missing" / "x.txt").string()}));
  EXPECT_NE(b.lastMessage().find("Cannot create file"), std::string::npos);
  std::filesystem::remove_all(dir);
}

TEST(ConsoleMode, RunsOneLineOnTheMachineTheLastRunLeft) {
  TestBench b;
  ASSERT_TRUE(b.exec({"RG0:=42"}));
  ASSERT_TRUE(b.console("%ECHO RG0"));
  ASSERT_TRUE(b.console("x:=3"));
  ASSERT_TRUE(b.console("%ECHO x"));
  EXPECT_EQ(b.host.printed, (Lines{"42", "3"}));
  EXPECT_EQ(b.machine.console.Edit1, "");
  ASSERT_TRUE(b.exec({"%ECHO x"}));  // a program run starts from a fresh table
  EXPECT_EQ(b.host.printed.back(), "x");
}

TEST(ConsoleMode, FindsLabelsOnlyOnLineZero) {
  TestBench b;
  ASSERT_TRUE(b.exec({"::zero", "::one"}));
  EXPECT_TRUE(b.console("JUMP ::zero"));
  EXPECT_FALSE(b.console("JUMP ::one"));
  EXPECT_EQ(b.lastMessage(), "'::one' is not a valid integer value");
}

TEST(RunCommand, ClosesTheRunWithTwoEmptyLinesAndTheEndLine) {
  TestBench b;
  ASSERT_TRUE(b.run({"%ECHO hi"}));
  EXPECT_EQ(b.machine.console.lines(), (Lines{"hi", "", "", "Trel: QN+ End of executing"}));
  EXPECT_EQ(b.machine.code, (Lines{"%ECHO hi", "HALT"}));
}

TEST(RunCommand, AHiddenConsoleGetsNoClosingLines) {
  TestBench b;
  ASSERT_TRUE(b.run({"%NO_OUT"}));
  EXPECT_TRUE(b.machine.console.lines().empty());
}

TEST(RunCommand, AnErrorSkipsTheClosingLines) {
  TestBench b;
  EXPECT_FALSE(b.run({"%ECHO before", "JUMP ::none"}));
  EXPECT_EQ(b.machine.console.lines(), Lines{"before"});
}

TEST(RunCommand, WithoutTheStepTraceTheRunIsTheSameAndTheLogKeepsOnlyTheLinesAroundIt) {
  const Lines program = {"VAR i",      "i:=0",       "::top",    "i+1",      "%ECHO i",
                         "CMP i,3",    "IF < ::top", "CALL ::f", "JUMP ::e", "::f",
                         "%ECHO in f", "RETURN",     "::e"};
  TestBench traced, quiet;
  quiet.machine.traceSteps = false;
  ASSERT_TRUE(traced.exec(program));
  ASSERT_TRUE(quiet.exec(program));
  EXPECT_EQ(quiet.host.printed, traced.host.printed);
  EXPECT_EQ(quiet.machine.table.GetVariable("i"), "3");
  // Of the run's lines only the closing variable count stays.
  EXPECT_EQ(traced.machine.debug.lines().back().rfind("VAR_COUNT = ", 0), 0u);
  EXPECT_EQ(quiet.machine.debug.lines(), Lines{traced.machine.debug.lines().back()});
  // An error leaves the log unmuted for what follows.
  EXPECT_FALSE(quiet.exec({"JUMP ::none"}));
  EXPECT_FALSE(quiet.machine.debug.muted());
}

TEST(RunCommand, OnlyTranslateTranslatesButDoesNotRun) {
  TestBench b;
  b.machine.console.show();
  b.machine.CheckBox1 = true;
  ASSERT_TRUE(b.run({"%ECHO hi"}));
  EXPECT_EQ(b.machine.code, (Lines{"%ECHO hi", "HALT"}));
  EXPECT_EQ(b.machine.console.lines(), (Lines{"", "", "Trel: QN+ End of executing"}));
}

TEST(RunCommand, TheFirstRunReplacesTheGreeting) {
  TestBench b;
  EXPECT_EQ(b.machine.console.lines(),
            (Lines{"Trel Default Output console", "Trel is QN+ interpreter", ""}));
  ASSERT_TRUE(b.run({"%ECHO x"}));
  EXPECT_EQ(b.machine.console.lines().front(), "x");
}

TEST(Reentrancy, OnlyTranslateStopsARunawayLoopAfterTheStep) {
  TestBench b;
  b.host.onlyTranslateAt(1000);
  ASSERT_TRUE(b.exec({"::l", "n:=1", "JUMP ::l"}));
  EXPECT_TRUE(b.machine.CheckBox1);
  EXPECT_NE(b.log().back().rfind("VAR_COUNT", 0), 0u);  // no normal end
}

TEST(Reentrancy, AConsoleLineRunsInsideTheProgramAndSharesItsCounter) {
  TestBench b;
  // Pump 3 is the start of step 2: the console line runs there, leaves the program counter at 1,
  // and the program goes on from line 1.
  b.host.consoleLineAt(3, "seen:=yes");
  ASSERT_TRUE(b.exec({"%ECHO a", "%ECHO b", "%ECHO c"}));
  EXPECT_EQ(b.var("seen"), "yes");
  EXPECT_EQ(b.host.printed, (Lines{"a", "b", "c"}));
}

TEST(Reentrancy, AConsoleLineAtTheEndOfAStepSkipsTheLineThatFollows) {
  TestBench b;
  b.host.consoleLineAt(2, "seen:=yes");  // end of step 1: the counter is 1 after it, then advances
  ASSERT_TRUE(b.exec({"%ECHO a", "%ECHO b", "%ECHO c"}));
  EXPECT_EQ(b.host.printed, (Lines{"a", "c"}));
}

TEST(Reentrancy, AnErrorInANestedConsoleLineDoesNotEndTheProgram) {
  TestBench b;
  b.host.consoleLineAt(3, "JUMP ::nowhere");
  ASSERT_TRUE(b.exec({"%ECHO a", "%ECHO b", "%ECHO c"}));
  EXPECT_EQ(b.host.messages, Lines{"'::nowhere' is not a valid integer value"});
  // The console run set the shared counter to 0 and stopped there, so line 0 runs again.
  EXPECT_EQ(b.host.printed, (Lines{"a", "a", "b", "c"}));
}

TEST(Reentrancy, RunDuringARunStartsAFreshProgram) {
  TestBench b;
  b.machine.highlvl = {"x:=inner", "%ECHO inner"};
  b.host.runCommandAt(5);  // start of step 3
  ASSERT_TRUE(b.exec({"x:=outer", "%ECHO outer", "%ECHO tail"}));
  // The nested run replaced the program list and table; the outer run goes on at its counter on the
  // new list, whose line 2 (HALT) ends it.
  EXPECT_EQ(b.host.printed, (Lines{"outer", "inner", "", "", "Trel: QN+ End of executing"}));
  EXPECT_EQ(b.machine.console.lines(), (Lines{"inner", "", "", "Trel: QN+ End of executing"}));
  EXPECT_EQ(b.var("x"), "inner");
}

TEST(Clicks, EnterEveryFormclickHandlerLikeACall) {
  TestBench b;
  b.host.clickAt(4, "TLabel", "label1");  // end of step 2
  ASSERT_TRUE(b.exec({"%ECHO a", "%ECHO b", "%ECHO c", "HALT", "::formclick", "%ECHO clicked",
                      "%ECHO __SENDERNAME__", "RETURN"}));
  EXPECT_EQ(b.host.printed, (Lines{"a", "b", "clicked", "label1", "c"}));
  EXPECT_EQ(b.var("__SENDERCLASS__"), "TLabel");
}

TEST(Windows, MakeFormAndLabelFromTheRegisters) {
  TestBench b;
  ASSERT_TRUE(b.exec({"RG1:=Hello", "RG2:=300", "RG3:=200", "%MAKE_FORM", "RG1:=Hi", "RG2:=10",
                      "RG3:=20", "%MAKE_LABEL", "%DRAW_FORM 255 5 5"}));
  ASSERT_EQ(b.host.forms.size(), 1u);
  EXPECT_EQ(b.host.forms[0].name, "formx1");
  EXPECT_EQ(b.host.forms[0].caption, "Hello");
  EXPECT_EQ(b.host.forms[0].width, 300);
  EXPECT_EQ(b.host.forms[0].height, 200);
  std::string handle = std::to_string(b.host.forms[0].handle);
  EXPECT_EQ(b.var("form1.handle"), handle);
  EXPECT_EQ(b.host.printed, Lines{"Hello as form1.handle " + handle});
  ASSERT_EQ(b.host.labels.size(), 1u);
  EXPECT_EQ(b.host.labels[0].name, "label1");
  EXPECT_EQ(b.host.labels[0].form, b.host.forms[0].handle);
  EXPECT_EQ(b.host.labels[0].left, 10);
  EXPECT_EQ(b.host.labels[0].top, 20);
  EXPECT_EQ(b.host.labels[0].height, 32);
  EXPECT_EQ(b.var("labelka1.handle"), "00");
  ASSERT_EQ(b.host.pixels.size(), 1u);
  EXPECT_EQ(b.host.pixels[0].color, 255u);
  EXPECT_EQ(b.host.pixels[0].x, 5);
}

TEST(Windows, ASecondRunMakesItsWindowsAgain) {
  TestBench b;
  Lines program{"RG1:=W", "RG2:=100", "RG3:=100", "%MAKE_FORM"};
  ASSERT_TRUE(b.exec(program));
  ASSERT_TRUE(b.exec(program));
  ASSERT_EQ(b.host.forms.size(), 2u);
  EXPECT_EQ(b.host.forms[1].name, "formx1");
  EXPECT_EQ(b.var("form1.handle"), std::to_string(b.host.forms[1].handle));
}

TEST(Windows, BadSizesStopTheRunButTheWindowStays) {
  TestBench b;
  EXPECT_FALSE(b.exec({"RG1:=W", "RG2:=wide", "RG3:=1", "%MAKE_FORM"}));
  EXPECT_EQ(b.lastMessage(), "'wide' is not a valid integer value");
  EXPECT_EQ(b.host.forms.size(), 1u);
}

TEST(Windows, DrawingWithoutAWindowIsAClearError) {
  TestBench b;
  EXPECT_FALSE(b.exec({"%DRAW_FORM 1 2 3"}));
  EXPECT_NE(b.lastMessage().find("no window to draw on"), std::string::npos);
}

}  // namespace
