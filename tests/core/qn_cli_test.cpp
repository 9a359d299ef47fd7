// qn end to end: the commands, options and exit statuses of the command-line contract.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "process.h"
#include "rtl/text.h"

using trel::testing::ProcessOptions;
using trel::testing::ProcessResult;
using trel::testing::runProcess;
using trel::testing::TempDir;

namespace {

ProcessResult qn(const std::vector<std::string>& args, const ProcessOptions& options = {}) {
  return runProcess(TREL_QN_PATH, args, options);
}

// Ends the last printed line, then two empty lines and the end line.
const std::string kClosing = "\n\n\nTrel: QN+ End of executing\n";

TEST(QnRun, RunsTheExamples) {
  std::string examples = std::string(TREL_SOURCE_DIR) + "/examples/";
  ProcessResult hello = qn({"run", examples + "hello.qn"});
  EXPECT_EQ(hello.status, 0);
  EXPECT_EQ(hello.out, "Hello, world!" + kClosing);
  ProcessResult counting = qn({"run", examples + "counting.qn"});
  EXPECT_EQ(counting.out, "1\n2\n3\n4\n5\n6\n7\n8\n9\n10" + kClosing);
  ProcessResult procedure = qn({"run", examples + "procedure.qn"});
  EXPECT_EQ(
      procedure.out,
      "Hello from the procedure\nHello from the procedure\nback in the main program" + kClosing);
  ProcessResult arrays = qn({"run", examples + "arrays.qn"});
  EXPECT_EQ(arrays.out, "0\n1\n4\n9\n16" + kClosing);
}

TEST(QnRun, AnErrorIsAMessageLineOnStandardErrorAndStatusOne) {
  TempDir dir("qn");
  std::string bad = dir.write("bad.qn", "%ECHO before\r\nJUMP ::nowhere\r\n%ECHO after\r\n");
  ProcessResult r = qn({"run", bad});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "before\n");
  // The message box's line, then the line in the form compilers print.
  EXPECT_EQ(r.err, "'::nowhere' is not a valid integer value\n" + bad +
                       ":2: error: '::nowhere' is not a valid integer value\n");
}

TEST(QnRun, MessagesAreWrittenWholePastAZeroByte) {
  using namespace std::string_literals;
  ProcessResult eval = qn({"eval", "VAL('a'#0'b')"});
  EXPECT_EQ(eval.status, 1);
  EXPECT_EQ(eval.err, "Variable a\0b does not exists\n"s);
  TempDir dir("qn");
  std::string nul = dir.write("nul.qn", "@FORMULA VAL('a'#0'b')\n");
  ProcessResult run = qn({"run", nul});
  EXPECT_EQ(run.err, "Error: Variable a\0b does not exists\n"s + nul +
                         ":1: error: Variable a\0b does not exists\n"s);
}

TEST(QnRun, ATranslationErrorStopIsStatusOne) {
  TempDir dir("qn");
  std::string semi = dir.write("semi.qn", "%ECHO a\n;\n");
  ProcessResult r = qn({"run", semi});
  EXPECT_EQ(r.status, 1);
  // The message counts entries from 0, as it always has; the diagnostic counts lines from 1.
  EXPECT_EQ(r.err, "No semicolon at: 1\n" + semi + ":2: error: No semicolon at: 1\n");
  EXPECT_EQ(r.out,
            "");  // "Only translate" is checked now; the console was cleared and stays hidden
}

TEST(QnRun, WritesTheLogAndTheCodeList) {
  TempDir dir("qn");
  std::string log = dir.path() + "/log.txt", code = dir.path() + "/code.txt";
  ProcessResult r =
      qn({"run", dir.write("p.qn", "def (x)\nJUMP ::none\n"), "--log", log, "--code", code});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(trel::readWholeFile(code), "::x\nJUMP ::none\nHALT\n");
  EXPECT_EQ(trel::readWholeFile(log),
            "Line: 0 Step: 1\nLine: 1 Step: 2\nInterpreting  [JUMP ::NONE]\nJUMPING: ::none\n");
}

TEST(QnRun, OnlyTranslateRunsNothingButClosesTheConsole) {
  TempDir dir("qn");
  std::string code = dir.path() + "/code.txt";
  ProcessResult r =
      qn({"run", dir.write("p.qn", "%ECHO hi\n"), "--only-translate", "--code", code});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(trel::readWholeFile(code), "%ECHO hi\nHALT\n");
}

TEST(QnRun, TheStepLimitStopsWithStatusThree) {
  TempDir dir("qn");
  std::string loop = dir.write("loop.qn", "::l\nJUMP ::l\n");
  ProcessResult r = qn({"run", loop, "--max-steps", "1000"});
  EXPECT_EQ(r.status, 3);
  EXPECT_EQ(r.err, "Step limit reached\n" + loop + ":2: error: Step limit reached\n");
}

TEST(QnRun, InteractiveLinesRunAsConsoleLinesAfterTheRun) {
  TempDir dir("qn");
  ProcessOptions o;
  o.input = "%ECHO RG0\r\nx:=3\nJUMP ::missing\n%ECHO x\n";
  ProcessResult r = qn({"run", dir.write("p.qn", "RG0:=41\nRG0+1\n"), "-i"}, o);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, kClosing.substr(1) + "42\n3\n");
  EXPECT_EQ(r.err, "'::missing' is not a valid integer value\n");
}

TEST(QnRun, DialogsTakeTheirAnswersInOrder) {
  TempDir dir("qn");
  std::string answers = dir.write("answers.txt", "/tmp/chosen.qn\r\n");
  ProcessResult r = qn({"run",
                        dir.write("p.qn",
                                  "__OPEN@@\n%ECHO OpenDialog1.filename\n__OPEN@@\n"
                                  "%ECHO OpenDialog1.filename\n"),
                        "--answers", answers});
  EXPECT_EQ(r.out, "/tmp/chosen.qn\n/tmp/chosen.qn" + kClosing);
}

TEST(QnRun, TheSeedFixesRandomNumbersAndLabels) {
  TempDir dir("qn");
  std::string p = dir.write("p.qn", "x:=RND\n%ECHO x\n");
  EXPECT_EQ(qn({"run", p, "--seed", "5"}).out, qn({"run", p, "--seed", "5"}).out);
  ProcessOptions o;
  o.environment["TREL_SEED"] = "5";
  EXPECT_EQ(qn({"run", p}, o).out, qn({"run", p, "--seed", "5"}).out);
}

TEST(QnExec, RunsLowLevelCodeUntranslatedWithoutClosingLines) {
  TempDir dir("qn");
  ProcessResult r = qn({"exec", dir.write("p.txt", "call ::f\nHALT\n::f\n%ECHO in f\nRETURN\n")});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "in f\n");
}

TEST(QnTranslate, PrintsTheCodeList) {
  TempDir dir("qn");
  ProcessResult r =
      qn({"translate", dir.write("p.qn", "def (main)\r\nvar x\r\nformula (x*2);\r\n")});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "::main\nvar x\nvar formula\n@FORMULA x*2\nformula:=RG0\nHALT\n");
}

TEST(QnUsage, BadArgumentsAndUnreadableFilesAreStatusTwo) {
  EXPECT_EQ(qn({}).status, 2);
  EXPECT_EQ(qn({"frobnicate"}).status, 2);
  EXPECT_EQ(qn({"run"}).status, 2);
  EXPECT_EQ(qn({"run", "/no/such/file.qn"}).status, 2);
  EXPECT_EQ(qn({"run", "x.qn", "--max-steps", "lots"}).status, 2);
  EXPECT_EQ(qn({"run", "x.qn", "--bogus"}).status, 2);
  ProcessResult r = qn({"run", "/no/such/file.qn"});
  EXPECT_NE(r.err.find("/no/such/file.qn"), std::string::npos);
}

TEST(QnRun, BinaryGarbageAndHugeLinesEndCleanly) {
  TempDir dir("qn");
  std::string garbage;
  for (int i = 0; i < 200000; ++i) garbage.push_back(static_cast<char>((i * 7919) % 256));
  ProcessResult r = qn({"run", dir.write("garbage.qn", garbage), "--max-steps", "100000"});
  EXPECT_TRUE(r.status == 0 || r.status == 1 || r.status == 3) << r.status << r.err;
  std::string huge = "%ECHO " + std::string(1 << 20, 'x') + "\n";
  ProcessResult h = qn({"run", dir.write("huge.qn", huge)});
  EXPECT_EQ(h.status, 0);
  EXPECT_EQ(h.out.size(), (1u << 20) + kClosing.size());
}

TEST(QnRun, OutputAppearsWhileTheProgramIsStillRunning) {
  TempDir dir("qn");
  std::string p = dir.write("forever.qn", "%ECHO first\n::l\nJUMP ::l\n");
  int out[2];
  ASSERT_EQ(pipe(out), 0);
  pid_t pid = fork();
  if (pid == 0) {
    dup2(out[1], 1);
    close(out[0]);
    close(out[1]);
    execl(TREL_QN_PATH, TREL_QN_PATH, "run", p.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(out[1]);
  std::string got;
  char c;
  while (got.find('\n') == std::string::npos && read(out[0], &c, 1) == 1) got.push_back(c);
  int status = 0;
  bool stillRunning = waitpid(pid, &status, WNOHANG) == 0;
  kill(pid, SIGKILL);
  waitpid(pid, &status, 0);
  close(out[0]);
  EXPECT_EQ(got, "first\n");
  EXPECT_TRUE(stillRunning);
}

}  // namespace
