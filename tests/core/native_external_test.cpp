// QN+ programs that call native functions through "external" statements, in the machine and
// through qn, including the C library example.
#include <gtest/gtest.h>

#include <filesystem>

#include "process.h"
#include "test_host.h"

using trel::testing::ProcessOptions;
using trel::testing::ProcessResult;
using trel::testing::runProcess;
using trel::testing::TempDir;
using trel::testing::TestBench;

namespace {

const std::string kLib = TREL_NATIVE_TESTLIB;
const std::string kClosing = "\n\n\nTrel: QN+ End of executing\n";

TEST(NativeExternal, AStatementPassesItsArgumentsAndKeepsTheResultUnderTheFunctionName) {
  TestBench b;
  ASSERT_TRUE(b.run({"var word", "word:=shout", "external qnt_fill: " + kLib + " word,,,,)",
                     "%ECHO qnt_fill", "%ECHO RG1",
                     "external qnt_sum: " + kLib + " ##1,##2,##3,##4,##-5)", "%ECHO qnt_sum"}));
  // The register is the argument, so the variable it was copied from keeps its text.
  EXPECT_EQ(b.host.printed,
            (std::vector<std::string>{"5", "SHOUT", "5", "", "", "Trel: QN+ End of executing"}));
  EXPECT_EQ(b.var("word"), "shout");
}

TEST(NativeExternal, QnFindsALibraryByItsShortNameAndReportsAMissingFunction) {
  TempDir dir("native");
  ProcessOptions options;
  options.environment["LD_LIBRARY_PATH"] = std::filesystem::path(kLib).parent_path().string();
  std::string program = dir.write("short.qn",
                                  "external qnt_sum: qntest ##40,##2,,,)\n%ECHO qnt_sum\n"
                                  "external qnt_gone: qntest ,,,,)\n%ECHO not reached\n");
  ProcessResult r = runProcess(TREL_QN_PATH, {"run", program}, options);
  // The missing function ends the run as an error: no closing lines, status 1.
  EXPECT_EQ(r.out, "42\n");
  EXPECT_EQ(r.err, "There is no qnt_gone or qntest\n" + program +
                       ":3: error: There is no qnt_gone or qntest\n");
  EXPECT_EQ(r.status, 1);
}

TEST(NativeExternal, TheCLibraryExampleRuns) {
  ProcessOptions options;
  options.environment["HOME"] = "/home/example";
  ProcessResult r = runProcess(
      TREL_QN_PATH, {"run", std::string(TREL_SOURCE_DIR) + "/examples/native_libc.qn"}, options);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "Hello from the C library\n24\n/home/example" + kClosing);
  EXPECT_EQ(r.err, "");
}

}  // namespace
