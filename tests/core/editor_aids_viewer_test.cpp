// The low-level viewer: the program list of the last run and the exact variable dump.
#include <gtest/gtest.h>

#include "shell/main_form.h"
#include "test_host.h"

using trel::testing::TestHost;

namespace {

struct Ide {
  TestHost host;
  trel::TForm1 form{host, {"base.exe"}};
  Ide() { host.machine = &form.machine; }
};

TEST(LowLevelViewer, ShowsTheProgramListOfTheLastRunAndItsVariables) {
  Ide ide;
  ide.form.machine.code = {"x:=5;", "var y", "y:=abc", "RG1:=7"};
  ide.form.machine.compile(trel::RunMode::Program);
  ide.form.Button6Click();
  EXPECT_TRUE(ide.form.lowLevelVisible);
  EXPECT_EQ(ide.form.lowLevelMemo1,
            "x:=5\r\nvar y\r\ny:=abc\r\nRG1:=7\r\n");  // ";" removed by the run
  const std::string& dump = ide.form.lowLevelMemo2;
  EXPECT_EQ(dump.substr(0, dump.find("\r\n")), "Variables count: 16") << dump;
  // Registers come first, in slot order, then the variables in the order they were declared.
  EXPECT_EQ(dump.find("RG0\r\nHEX 3030\r\nPCHAR: 00\r\nRG1\r\nHEX 37\r\nPCHAR: 7\r\n"),
            dump.find("\r\n") + 2);
  EXPECT_NE(dump.find("\r\nFL2\r\nHEX \r\nPCHAR: \r\nx\r\nHEX 35\r\nPCHAR: 5\r\n"
                      "y\r\nHEX 616263\r\nPCHAR: abc\r\n"),
            std::string::npos);
}

TEST(LowLevelViewer, BeforeAnyRunOnlyTheCountLineWithZero) {
  Ide ide;
  ide.form.Button6Click();
  EXPECT_EQ(ide.form.lowLevelMemo1, "//PARSER\r\n");
  EXPECT_EQ(ide.form.lowLevelMemo2, "Variables count: 0\r\n");
}

TEST(LowLevelViewer, AZeroByteEndsThePcharLineButNotTheHexLine) {
  Ide ide;
  ide.form.machine.code = {"var z"};
  ide.form.machine.compile(trel::RunMode::Program);
  ide.form.machine.table.SetVariable("z", std::string("ab\0c\xff", 5));
  ide.form.Button6Click();
  EXPECT_NE(ide.form.lowLevelMemo2.find("\r\nz\r\nHEX 61620063FF\r\nPCHAR: ab\r\n"),
            std::string::npos);
}

TEST(LowLevelViewer, IsASnapshotTakenWhenTheCommandRuns) {
  Ide ide;
  ide.form.machine.code = {"a:=1"};
  ide.form.machine.compile(trel::RunMode::Program);
  ide.form.Button6Click();
  std::string before = ide.form.lowLevelMemo2;
  ide.form.machine.code = {"b:=1", "var c"};
  ide.form.machine.compile(trel::RunMode::Program);
  EXPECT_EQ(ide.form.lowLevelMemo2, before);
  ide.form.Button6Click();
  EXPECT_NE(ide.form.lowLevelMemo2, before);
}

}  // namespace
