// Start-up and close of the main window: which mode the first argument selects, the embedded
// program decoded into `code` and run, "code.qn" in the IDE, and the standalone run's end.
#include <gtest/gtest.h>

#include <filesystem>

#include "process.h"
#include "resources/embedded_code.h"
#include "resources/string_table.h"
#include "resources_test_files.h"
#include "shell/main_form.h"
#include "test_host.h"

namespace trel {
namespace {

using testing::TempDir;
namespace fs = std::filesystem;

struct StartBench {
  TempDir dir{"start"};
  testing::CurrentDirectoryScope cwd{dir.path()};
  testing::TestHost host;
  std::unique_ptr<TForm1> form;

  // A form started with `arguments` from an executable that carries `entry` as its string 101.
  void start(std::vector<std::string> arguments, std::optional<std::string> entry = std::nullopt) {
    std::string exe = testing::writeStub(dir.path() + "/program");
    if (entry) WriteStringResource(exe, *entry, 101);
    form = std::make_unique<TForm1>(host, std::move(arguments));
    host.machine = &form->machine;
    form->executablePath = exe;
    form->FormCreate();
  }
};

TEST(StartupForm, OnlyTheExactArgumentBaseExeStartsTheIde) {
  for (const char* argument : {"BASE.EXE", "base.exe ", "./base.exe", "x"}) {
    StartBench b;
    b.start({argument}, encodeEmbeddedCode("%ECHO built"));
    EXPECT_FALSE(b.form->ideMode()) << argument;
    EXPECT_EQ(b.form->machine.code, std::vector<std::string>{"%ECHO built"}) << argument;
    EXPECT_EQ(b.form->machine.highlvl, std::vector<std::string>{"highlvl"});
    EXPECT_TRUE(b.form->machine.firstArgumentPresent);
  }
  StartBench none;
  none.start({}, encodeEmbeddedCode("%ECHO built"));
  EXPECT_FALSE(none.form->ideMode());
  EXPECT_FALSE(none.form->machine.firstArgumentPresent);
  EXPECT_EQ(none.form->machine.code, std::vector<std::string>{"%ECHO built"});
}

TEST(StartupForm, StandaloneDecodesTheEntryIntoCode) {
  StartBench b;
  b.start({}, "2F2F410D0A");
  EXPECT_EQ(b.form->machine.codeText(), "//A\r\n");
  EXPECT_TRUE(b.host.messages.empty());
  EXPECT_FALSE(b.form->startupReportedError);
  EXPECT_EQ(b.form->machine.startupDirectory, fs::current_path().string());
}

TEST(StartupForm, StubPlaceholderGivesAnEmptyProgramAndTheConversionError) {
  StartBench b;
  b.start({});
  EXPECT_TRUE(b.form->machine.code.empty());
  EXPECT_EQ(b.host.messages, std::vector<std::string>{"'NO' is not a valid integer value"});
  EXPECT_TRUE(b.form->startupReportedError);
}

TEST(StartupForm, ABadPieceKeepsWhatWasDecodedBeforeIt) {
  StartBench b;
  b.start({}, encodeEmbeddedCode("%ECHO a\r\n%ECHO b") + "ZZ41");
  EXPECT_EQ(b.form->machine.code, (std::vector<std::string>{"%ECHO a", "%ECHO b"}));
  EXPECT_EQ(b.host.messages, std::vector<std::string>{"'ZZ' is not a valid integer value"});
}

TEST(StartupForm, DamagedOwnExecutableRunsNothingAndSaysWhy) {
  StartBench b;
  std::string exe = testing::writeStub(b.dir.path() + "/damaged");
  std::string bytes = readWholeFile(exe);
  bytes.resize(bytes.size() - 10);
  testing::writeExecutable(exe, bytes);
  b.form = std::make_unique<TForm1>(b.host, std::vector<std::string>{});
  b.form->executablePath = exe;
  b.form->FormCreate();
  EXPECT_TRUE(b.form->machine.code.empty());
  ASSERT_EQ(b.host.messages.size(), 1u);
  EXPECT_NE(b.host.messages[0].find("damaged or truncated"), std::string::npos);
}

TEST(StartupForm, TimerRunsTheProgramOnceInStandaloneMode) {
  StartBench b;
  b.start({"arg"}, encodeEmbeddedCode("%ECHO one\r\nHALT\r\n%ECHO never"));
  EXPECT_TRUE(b.form->mainWindowVisible);
  b.form->Timer1Timer();
  EXPECT_FALSE(b.form->timer1Enabled);
  EXPECT_FALSE(b.form->mainWindowVisible);
  EXPECT_EQ(b.host.printed, std::vector<std::string>{"one"});
  EXPECT_FALSE(b.host.processEnded);  // with an argument HALT ends only the run
}

TEST(StartupForm, HaltEndsTheProcessWithoutAnArgument) {
  StartBench b;
  b.start({}, encodeEmbeddedCode("%ECHO one\r\nHALT\r\n%ECHO never"));
  b.form->Timer1Timer();
  EXPECT_TRUE(b.host.processEnded);
  EXPECT_EQ(b.host.endStatus, 0);
  EXPECT_EQ(b.host.printed, std::vector<std::string>{"one"});
}

TEST(StartupForm, IdeLoadsAndKeepsTheEditorText) {
  StartBench b;
  writeWholeFile("code.qn", "%ECHO a\nvar x\ndef (f);\n");
  b.start({"base.exe"});
  EXPECT_EQ(b.form->machine.highlvl, (std::vector<std::string>{"%ECHO a", "var x", "def (f);"}));
  EXPECT_EQ(b.form->explorer, std::vector<std::string>{"2: f"});
  EXPECT_EQ(b.form->highlvlLineBreak, "\n");
  EXPECT_EQ(b.form->machine.code, std::vector<std::string>{"//This is QN+"});
  b.form->Timer1Timer();
  EXPECT_TRUE(b.form->mainWindowVisible);
  EXPECT_TRUE(b.host.printed.empty());

  b.form->machine.highlvl.push_back("%ECHO b");
  b.form->FormClose();
  EXPECT_EQ(readWholeFile("code.qn"), "%ECHO a\nvar x\ndef (f);\n%ECHO b");
}

TEST(StartupForm, IdeWithoutCodeQnStartsWithTheInitialText) {
  StartBench b;
  b.start({"base.exe"});
  EXPECT_EQ(b.form->machine.highlvl, std::vector<std::string>{"highlvl"});
  ASSERT_EQ(b.host.messages.size(), 1u);
  EXPECT_NE(b.host.messages[0].find("code.qn"), std::string::npos);
  b.form->FormClose();
  EXPECT_EQ(readWholeFile("code.qn"), "highlvl");
}

TEST(StartupForm, StandaloneCloseLeavesCodeQnAlone) {
  StartBench b;
  writeWholeFile("code.qn", "users text");
  b.start({}, encodeEmbeddedCode("%ECHO x"));
  b.form->FormClose();
  EXPECT_EQ(readWholeFile("code.qn"), "users text");
}

}  // namespace
}  // namespace trel
