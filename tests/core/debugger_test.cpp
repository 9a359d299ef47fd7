// The debugger: qn debug driven by a script on standard input, and the Stop command of a run.
#include <gtest/gtest.h>

#include "process.h"
#include "shell/commands.h"
#include "test_host.h"

using trel::testing::ProcessOptions;
using trel::testing::ProcessResult;
using trel::testing::runProcess;
using trel::testing::TempDir;
using trel::testing::TestBench;

namespace {

// A program with a procedure that calls another.
const char kNested[] =
    "var n\nn:=0\ncall outer(,,,,)\n%ECHO done\nHALT\n"
    "def (outer)\nn+1\ncall inner(,,,,)\nn+1\nRETURN\n"
    "def (inner)\nn+10\nRETURN\n";

ProcessResult debug(const TempDir& dir, const std::string& file, const std::string& script) {
  ProcessOptions options;
  options.workingDirectory = dir.path();
  options.input = script;
  return runProcess(TREL_QN_PATH, {"debug", file}, options);
}

TEST(QnDebug, BreakpointsStepsAndFinishAcrossNestedCalls) {
  TempDir dir("debug");
  dir.write("p.qn", kNested);
  ProcessResult r = debug(dir, "p.qn",
                          "break 12\nrun\nwhere\nfinish\nprint n\nfinish\nnext\ncontinue\n"
                          "break 3\nrun\nnext\nstepi\nvars\neval n*2\neval n/\nrun\ndelete 12\n"
                          "delete 3\ncontinue\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            "breakpoint at p.qn:12\n"
            "stopped at p.qn:12: n+10\n"
            "at p.qn:12: n+10\n"
            "called from p.qn:8: call inner(,,,,)\n"
            "called from p.qn:3: call outer(,,,,)\n"
            "stopped at p.qn:9: n+1\n"  // finish: back in outer after inner returned
            "n = \"11\"\n"
            "stopped at p.qn:4: %ECHO done\n"  // finish again: back in the main program
            "done\n"
            "stopped at p.qn:5: HALT\n"
            "\n\nTrel: QN+ End of executing\n"
            "program ended with status 0\n"
            "breakpoint at p.qn:3\n"
            "stopped at p.qn:3: call outer(,,,,)\n"
            "stopped at p.qn:12: n+10\n"  // next runs outer whole, but a breakpoint inside stops it
            "stopped at p.qn:13: RETURN\n"
            "  [23] RETURN\n"
            "n = \"11\"\n"
            "22\n"
            "error: Syntax error\n"
            "stopped at p.qn:3: call outer(,,,,)\n"  // run while paused starts again
            "deleted breakpoint at p.qn:12\n"
            "deleted breakpoint at p.qn:3\n"
            "done\n\n\nTrel: QN+ End of executing\n"
            "program ended with status 0\n");
  EXPECT_EQ(r.err, "");
}

TEST(QnDebug, ErrorsAndBadCommandsLeaveTheDebuggerOpen) {
  TempDir dir("debug");
  dir.write("e.qn", "var a\na:=5\nJUMP ::nowhere\n");
  ProcessResult r =
      debug(dir, "e.qn", "bogus\nbreak x\ndelete 7\ncontinue\nrun\nwhere\nprint a\nprint b\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            "program ended with status 1\n"
            "at e.qn:3: JUMP ::nowhere\n"
            "a = \"5\"\n");
  const std::string error = "'::nowhere' is not a valid integer value";
  EXPECT_EQ(r.err,
            "unknown command: bogus (help lists the commands)\n"
            "break needs a source line number from 1: x\n"
            "no breakpoint at line 7\n"
            "the program is not running; start it with run\n" +
                error + "\ne.qn:3: error: " + error + "\n" +
                "b is not a variable of the program\n");
}

TEST(Stop, EndsAnEndlessLoopBetweenTwoStepsWithoutOnlyTranslate) {
  TestBench b;
  b.host.at(5000, [&] { b.machine.stopRequested = true; });
  ASSERT_TRUE(b.run({"::again", "x+1", "JUMP ::again"}));
  EXPECT_FALSE(b.machine.CheckBox1);
  EXPECT_LT(b.host.pumpCalls, 5010u);
  // A later run starts afresh.
  ASSERT_TRUE(b.run({"%ECHO next"}));
  EXPECT_EQ(b.host.printed.back(), "Trel: QN+ End of executing");
}

}  // namespace
