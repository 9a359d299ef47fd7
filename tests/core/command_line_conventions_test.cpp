// The conventions of a Linux command line that qn and trel keep: --version and --help on standard
// output, errors on standard error, "-" for standard input, and a built program that keeps its
// arguments to itself.
#include <gtest/gtest.h>

#include "process.h"

using trel::testing::ProcessOptions;
using trel::testing::ProcessResult;
using trel::testing::runProcess;
using trel::testing::TempDir;

namespace {

ProcessResult qn(const std::vector<std::string>& args, const ProcessOptions& options = {}) {
  return runProcess(TREL_QN_PATH, args, options);
}

ProcessOptions withoutDisplay() {
  ProcessOptions o;
  o.environment = {{"DISPLAY", std::nullopt},
                   {"WAYLAND_DISPLAY", std::nullopt},
                   {"QT_QPA_PLATFORM", std::nullopt}};
  return o;
}

}  // namespace

TEST(CommandLine, VersionAndHelpGoToStandardOutputWithStatusZero) {
  ProcessResult version = qn({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.rfind("qn (Trel) ", 0), 0u) << version.out;
  EXPECT_EQ(version.err, "");
  for (const char* command :
       {"run", "exec", "translate", "build", "export", "unpack", "eval", "debug", "lsp"}) {
    ProcessResult help = qn({command, "--help"});
    EXPECT_EQ(help.status, 0) << command;
    EXPECT_EQ(help.out.rfind(std::string("usage: qn ") + command, 0), 0u) << help.out;
    EXPECT_EQ(help.err, "") << command;
  }
  // Help wins wherever it stands among a command's arguments, before anything is read or run.
  EXPECT_EQ(qn({"run", "missing.qn", "-h"}).status, 0);
  // Without a command: the usage on standard error and status 2, as for any usage error.
  ProcessResult bare = qn({});
  EXPECT_EQ(bare.status, 2);
  EXPECT_EQ(bare.out, "");
  EXPECT_NE(bare.err.find("usage:"), std::string::npos);
}

TEST(CommandLine, ResultsGoToStandardOutputAndErrorsToStandardError) {
  ProcessResult good = qn({"eval", "2+3"});
  EXPECT_EQ(good.status, 0);
  EXPECT_EQ(good.out, "5\n");
  ProcessResult bad = qn({"eval", "1/0"});
  EXPECT_EQ(bad.status, 1);
  EXPECT_EQ(bad.out, "");
  EXPECT_EQ(bad.err, "Floating point division by zero\n");

  // Export writes even after a translation error; the error is on standard error, where the
  // library went on standard output.
  TempDir dir("conventions");
  ProcessOptions in;
  in.workingDirectory = dir.path();
  ProcessResult exported = qn({"export", dir.write("lib.qn", "%import missing%\n")}, in);
  EXPECT_EQ(exported.status, 1);  // the export went on, but the translation stopped
  EXPECT_EQ(exported.err, "Can not import! File not found\n");
  EXPECT_EQ(exported.out.rfind("Exported to: exported/", 0), 0u) << exported.out;
  ProcessResult fine = qn({"export", dir.write("fine.qn", "%ECHO x\n")}, in);
  EXPECT_EQ(fine.err, "");
  EXPECT_NE(fine.out.find("Remember to remove entry point"), std::string::npos);
}

TEST(CommandLine, ADashReadsTheProgramFromStandardInput) {
  ProcessOptions in;
  in.input = "%ECHO from stdin\nJUMP ::nowhere\n";
  ProcessResult run = qn({"run", "-"}, in);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "from stdin\n");
  EXPECT_NE(run.err.find("<stdin>:2: error: "), std::string::npos) << run.err;
  in.input = "def (f)\n";
  ProcessResult translated = qn({"translate", "-"}, in);
  EXPECT_EQ(translated.out, "::f\nHALT\n");
  in.input = "%ECHO low\n";
  EXPECT_EQ(qn({"exec", "-"}, in).out, "low\n");
  // -i reads console lines from standard input, so the program cannot come from there as well.
  ProcessResult both = qn({"run", "-", "-i"}, in);
  EXPECT_EQ(both.status, 2);
  EXPECT_EQ(both.out, "");
}

TEST(CommandLine, OnlyTheStubAnswersVersionABuiltProgramRunsWhateverItsArguments) {
  ProcessResult version = runProcess(TREL_TREL_PATH, {"--version"}, withoutDisplay());
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.rfind("trel (Trel) ", 0), 0u) << version.out;

  TempDir dir("conventions");
  std::string program = dir.path() + "/hello";
  ProcessResult built = qn(
      {"build", dir.write("hello.qn", "%ECHO built\n"), "-o", program, "--stub", TREL_TREL_PATH});
  ASSERT_EQ(built.status, 0) << built.err;
  ProcessResult ran = runProcess(program, {"--version"}, withoutDisplay());
  EXPECT_EQ(ran.out.rfind("built\n", 0), 0u) << ran.out;
  EXPECT_EQ(ran.out.find("Trel)"), std::string::npos);
}
