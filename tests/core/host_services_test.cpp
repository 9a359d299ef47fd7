// %stdhndl, __OPEN@@ and __NATIVE@@: the standard handles, the open dialog answered and cancelled
// with the start-up directory restored, and nested runs of another source file.
#include <gtest/gtest.h>

#include <filesystem>

#include "process.h"
#include "test_host.h"
#include "translator/translator.h"

namespace fs = std::filesystem;
using trel::testing::ProcessResult;
using trel::testing::runProcess;
using trel::testing::TempDir;
using trel::testing::TestBench;
using trel::testing::TestHost;

namespace {

const std::string kClosing = "\n\n\nTrel: QN+ End of executing\n";

// Keeps the test process in its own directory whatever a test changes.
class HostServices : public ::testing::Test {
 protected:
  void TearDown() override { fs::current_path(before_); }
  fs::path before_ = fs::current_path();
};

TEST_F(HostServices, StandardHandlesAreTheFirstTwoFileDescriptors) {
  TestBench b;
  ASSERT_TRUE(b.exec({"%stdhndl", "%ECHO stdhndl1", "%ECHO stdhndl2"}));
  EXPECT_EQ(b.host.printed, (std::vector<std::string>{"0", "1"}));
}

// A dialog that leaves another folder current, as real dialogs may.
class WanderingHost : public TestHost {
 public:
  std::string wanderTo;
  std::optional<std::string> openFileDialog(const trel::FileDialogRequest& request) override {
    fs::current_path(wanderTo);
    return TestHost::openFileDialog(request);
  }
};

TEST_F(HostServices, AnAnsweredDialogStoresTheFullPathAndTheStartupDirectoryComesBack) {
  TempDir start("open-start"), elsewhere("open-elsewhere");
  WanderingHost host;
  host.wanderTo = elsewhere.path();
  trel::Machine m(host, trel::sourceTranslator());
  m.startupDirectory = start.path();
  host.answers = {"sub/../picked.qn", "/abs/other.qn"};
  m.code = {"__OPEN@@", "%ECHO OpenDialog1.filename", "__OPEN@@", "%ECHO OpenDialog1.filename"};
  m.compile(trel::RunMode::Program);
  // A relative answer is taken against the folder the dialog left current.
  EXPECT_EQ(host.printed,
            (std::vector<std::string>{elsewhere.path() + "/picked.qn", "/abs/other.qn"}));
  EXPECT_EQ(fs::current_path(), fs::path(start.path()));
}

TEST_F(HostServices, ACancelledDialogLeavesTheVariableAsItWas) {
  TestBench b;
  ASSERT_TRUE(b.exec({"__OPEN@@"}));
  EXPECT_FALSE(b.machine.table.VariableExists("OpenDialog1.filename"));
  b.host.answers = {""};  // no dialog is accepted without a file name
  ASSERT_TRUE(b.exec({"OpenDialog1.filename:=before", "__OPEN@@", "__OPEN@@"}));
  EXPECT_EQ(b.var("OpenDialog1.filename"), "before");
  EXPECT_EQ(b.host.openDialogDirectories.size(), 3u);
}

TEST_F(HostServices, QnAnswersTheDialogFromItsAnswersFile) {
  TempDir dir("open-qn");
  std::string answers = dir.write("answers.txt", "/data/first.qn\n");
  std::string program = dir.write("open.qn",
                                  "__OPEN@@\n%ECHO OpenDialog1.filename\n"
                                  "__OPEN@@\n%ECHO OpenDialog1.filename\n");
  ProcessResult r = runProcess(TREL_QN_PATH, {"run", program, "--answers", answers});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "/data/first.qn\n/data/first.qn" + kClosing);
}

TEST_F(HostServices, ANestedRunLoadsTranslatesAndRunsTheFileThenEndsTheCurrentRun) {
  TempDir dir("nested");
  std::string inner = dir.write("inner.qn", "%ECHO inner\r\ny:=42\r\n%ECHO y\r\n");
  TestBench b;
  b.machine.highlvl = {"unsaved"};
  ASSERT_TRUE(b.exec({"x:=1", "f:=" + inner, "__NATIVE@@ f", "%ECHO not reached"}));
  EXPECT_EQ(b.host.printed, (std::vector<std::string>{"inner", "42"}));
  EXPECT_EQ(b.machine.highlvl, (std::vector<std::string>{"%ECHO inner", "y:=42", "%ECHO y"}));
  EXPECT_EQ(b.host.editorReplacements, 1);
  EXPECT_EQ(b.machine.code.back(), "HALT");
  EXPECT_FALSE(b.machine.table.VariableExists("x"));  // the nested run starts a fresh machine
}

TEST_F(HostServices, ANestedRunOfAFileThatCannotBeReadStopsAndKeepsTheEditorText) {
  TempDir dir("nested-bad");
  const std::vector<std::string> cases[] = {
      {"f:=" + dir.path() + "/missing.qn", "__NATIVE@@ f"},
      {"__NATIVE@@ undeclared"},  // reads the file "VARIABLE NOT EXISTS"
      {"f:=" + dir.path(), "__NATIVE@@ f"},
      {"f:=##1", "__INT@@ f", "__NATIVE@@ f"},  // a name with zero bytes
  };
  for (const auto& code : cases) {
    TestBench b;
    b.machine.highlvl = {"unsaved"};
    EXPECT_FALSE(b.exec(code));
    EXPECT_EQ(b.lastMessage().rfind("Cannot open file \"", 0), 0u) << b.lastMessage();
    EXPECT_EQ(b.machine.highlvl, std::vector<std::string>{"unsaved"});
    EXPECT_EQ(b.host.editorReplacements, 0);
  }
}

TEST_F(HostServices, AProgramThatRunsItselfStopsWithAClearErrorInsteadOfOverflowing) {
  TempDir dir("nested-self");
  std::string self = dir.path() + "/self.qn";
  dir.write("self.qn", "f:=" + self + "\n__NATIVE@@ f\n");
  ProcessResult r = runProcess(TREL_QN_PATH, {"run", self});
  EXPECT_EQ(r.status, 1);
  // The diagnostic names the innermost run's file and line.
  const std::string message =
      "Too many nested runs: " + self + " was not run (at most 1000 runs may nest)";
  EXPECT_EQ(r.err, message + "\n" + self + ":2: error: " + message + "\n");
}

}  // namespace
