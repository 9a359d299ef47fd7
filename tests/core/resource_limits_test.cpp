// No input exhausts the machine: long lines bound the log and the console by bytes, a run has a
// memory limit, files beyond a sane size are refused, and instructions that fed on their own
// results are bounded.
#include <gtest/gtest.h>

#include "machine/assembly_log.h"
#include "process.h"
#include "test_host.h"
#include "translator/translator.h"

using trel::testing::ProcessResult;
using trel::testing::runProcess;
using trel::testing::TempDir;
using trel::testing::TestBench;

namespace {

TEST(Limits, TheLogIsBoundedByBytesAsWellAsLines) {
  trel::AssemblyLog log;
  log.setByteCapacity(8 << 20);
  const std::string value(1 << 20, 'v');
  for (int i = 0; i < 100; ++i) log.append({"Moving [", value, "] to [x", std::to_string(i), "]"});
  EXPECT_LE(log.bytes(), (8u << 20) + (2u << 20));
  EXPECT_GT(log.droppedCount(), 80u);
  std::vector<std::string> lines = log.lines();
  EXPECT_EQ(lines.front(), "[" + std::to_string(log.droppedCount()) + " earlier lines dropped]");
  EXPECT_EQ(lines.back(), "Moving [" + value + "] to [x99]");
}

TEST(Limits, TheConsoleIsBoundedByLinesAndBytes) {
  TestBench b;
  trel::ConsoleModel& console = b.machine.console;
  console.clear();
  console.maxLines = 100;
  for (int i = 0; i < 1000; ++i) console.addLine(std::to_string(i));
  EXPECT_LE(console.lines().size(), 101u);
  EXPECT_EQ(console.lines().front(),
            "[" + std::to_string(console.droppedCount()) + " earlier lines dropped]");
  EXPECT_EQ(console.lines()[1], std::to_string(console.droppedCount()));
  EXPECT_EQ(console.lines().back(), "999");
  // Every line was printed as it came, before any was dropped.
  EXPECT_EQ(b.host.printed.size(), 1000u);

  console.maxLines = 1 << 20;
  console.maxBytes = 16 << 20;
  const std::string big(1 << 20, 'x');
  for (int i = 0; i < 100; ++i) console.addLine(big);
  EXPECT_LE(console.bytes(), 17u << 20);
  EXPECT_EQ(console.lines().back(), big);
}

TEST(Limits, ARunThatHoldsTooMuchStopsWithStatusThree) {
  TempDir dir("limits");
  // Each pass fills another array cell with a megabyte.
  std::string grow = dir.write("grow.qn",
                               "@FORMULA STRINGOFCHAR('x', 1000000)\nbig:=RG0\nARRAY 5000 a\n"
                               "n:=0\n::again\nn+1\nARRAYSAVE n a big\nCMP n,5000\n"
                               "IF < ::again\n");
  ProcessResult r = runProcess(TREL_QN_PATH, {"exec", grow, "--max-memory", "64"});
  EXPECT_EQ(r.status, 3) << r.err;
  EXPECT_EQ(r.err.rfind("Memory limit reached: the run holds more than 64 MB\n", 0), 0u) << r.err;

  // A device that never ends is not read until memory runs out.
  r = runProcess(TREL_QN_PATH, {"run", "/dev/zero"});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "qn: Cannot read file \"/dev/zero\": it is larger than 64 MB\n");
}

TEST(Limits, InheritVisitsOnlyTheSlotsInUseWhenItBegins) {
  TestBench b;
  // The child's name holds the parent's: its own new members must not be visited again.
  ASSERT_TRUE(b.exec({"var P", "__INHERIT@@ P x.PPPPPPPPPP", "%ECHO done"}));
  EXPECT_EQ(b.host.printed.back(), "done");
  EXPECT_EQ(b.var("x.PPPPPPPPPP.P"), "00");
  EXPECT_EQ(b.var("x.PPPPPPPPPP.class"), "P");
  EXPECT_LT(b.machine.table.NextSlotIndex(), 30);
}

}  // namespace

namespace {

TEST(Limits, CallsKeepTheirExactTextInFl2AndEndlessRecursionStops) {
  TestBench b;
  // Three nested calls, FL2 read in the innermost procedure, then after one return.
  ASSERT_TRUE(b.exec({"CALL ::a", "%ECHO FL2", "HALT", "::a", "CALL ::b", "%ECHO FL2", "RETURN",
                      "::b", "CALL ::c", "RETURN", "::c", "%ECHO FL2", "RETURN"}));
  EXPECT_EQ(b.host.printed, (std::vector<std::string>{"100810041000", "1000", ""}));

  TestBench endless;
  EXPECT_FALSE(endless.exec({"::a", "CALL ::a"}));
  EXPECT_EQ(endless.lastMessage(),
            "CALL from line 1: 1000000 calls are already pending (does a procedure call itself "
            "without end?)");
  EXPECT_EQ(endless.machine.table.valueSize("FL2"), 4'000'000u);
  EXPECT_EQ(endless.machine.table.frontFour("FL2"), "1001");
}

TEST(Limits, ImportsGoOnWithTheNextLineInsteadOfStartingAgain) {
  TempDir dir("imports");
  dir.write("lib/one.qnlib", "RG0:=1\r\n");
  trel::testing::CurrentDirectoryScope here(dir.path());
  TestBench b;
  std::vector<std::string> source;
  for (int i = 0; i < 2000; ++i) source.push_back("%import one%");
  source.push_back("CLASS PROPERTY x");  // recognised, but the rewrite is case-sensitive
  b.machine.highlvl = source;
  trel::translate(b.machine);
  EXPECT_FALSE(b.machine.translationStopped);
  EXPECT_EQ(b.machine.code.size(), 2000u + 2000u + 2u);
  int logged = 0;
  for (const std::string& line : b.log()) logged += line == "Translate  [CLASS PROPERTY X]";
  EXPECT_EQ(logged, 1);
}

}  // namespace
