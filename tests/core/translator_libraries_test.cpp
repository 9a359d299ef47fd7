// Importing libraries as text and exporting translated programs as libraries.
#include <gtest/gtest.h>

#include <filesystem>

#include "process.h"
#include "rtl/text.h"
#include "shell/commands.h"
#include "test_host.h"
#include "translator/translator.h"

using trel::testing::CurrentDirectoryScope;
using trel::testing::ProcessOptions;
using trel::testing::runProcess;
using trel::testing::TempDir;
using trel::testing::TestBench;
using Lines = std::vector<std::string>;

namespace {

Lines translateIn(const TempDir& dir, const Lines& source, TestBench& b) {
  CurrentDirectoryScope in(dir.path());
  b.machine.highlvl = source;
  trel::translate(b.machine);
  return b.machine.code;
}

TEST(Import, LibraryTextsComeFirstInTheOrderOfTheirStatements) {
  TempDir dir("lib");
  dir.write("lib/one.qnlib", "::one\r\nRETURN\r\n");
  dir.write("lib/two.qnlib", "::two\r\nRETURN\r\n");
  TestBench b;
  Lines code = translateIn(dir, {"%import one%", "x:=1", "%IMPORT two%"}, b);
  EXPECT_EQ(code, (Lines{"::one", "RETURN", "::two", "RETURN", "", "x:=1", "", "HALT"}));
}

TEST(Import, LoneLineEndsBecomeCrLfAndAMissingLastBreakIsAdded) {
  TempDir dir("lib");
  dir.write("lib/unix.qnlib", "::a\nRETURN\n");
  dir.write("lib/mac.qnlib", "::b\rRETURN\r");
  dir.write("lib/open.qnlib", "::c\r\nRETURN");
  TestBench b;
  Lines code = translateIn(dir, {"%import unix%", "%import mac%", "%import open%", "HALT"}, b);
  EXPECT_EQ(code,
            (Lines{"::a", "RETURN", "::b", "RETURN", "::c", "RETURN", "", "", "", "HALT", "HALT"}));
}

TEST(Import, LibraryStatementsInSourceFormAreNotTranslated) {
  TempDir dir("lib");
  dir.write("lib/raw.qnlib", "if (a = 1)\r\ncall f(1,,,,)\r\n%import other%\r\n");
  TestBench b;
  Lines code = translateIn(dir, {"%import raw%"}, b);
  EXPECT_EQ(code, (Lines{"if (a = 1)", "call f(1,,,,)", "%import other%", "", "HALT"}));
  EXPECT_FALSE(b.machine.CheckBox1);
}

TEST(Import, TheNameEndsAtThePercentSignAndMayBeEmpty) {
  TempDir dir("lib");
  dir.write("lib/.qnlib", "::nameless\r\n");
  TestBench b;
  Lines code = translateIn(dir, {"%import nameless"}, b);
  EXPECT_EQ(code.front(), "::nameless");
}

TEST(Import, ImportRestartsThePassButTranslatedLinesStayAsTheyAre) {
  TempDir dir("lib");
  dir.write("lib/l.qnlib", "::l\r\n");
  TestBench b;
  Lines code = translateIn(dir, {"def (a)", "call a(,,,,)", "%import l%", "def (b)"}, b);
  EXPECT_EQ(code, (Lines{"::l", "::a", "RG1:=##0", "RG2:=##0", "RG3:=##0", "RG4:=##0", "RG5:=##0",
                         "call ::a", "", "::b", "HALT"}));
}

TEST(Import, AnUnreadableLibraryAbandonsTheTranslation) {
  TempDir dir("lib");
  std::filesystem::create_directories(std::filesystem::path(dir.path()) / "lib" / "folder.qnlib");
  TestBench b;
  b.machine.code = {"old"};
  // A folder is not a file: it reads as missing.
  translateIn(dir, {"%import folder%"}, b);
  EXPECT_EQ(b.lastMessage(), "Can not import! File not found");
  if (::geteuid() != 0) {
    std::string locked = dir.write("lib/locked.qnlib", "::x\r\n");
    std::filesystem::permissions(locked, std::filesystem::perms::none);
    CurrentDirectoryScope in(dir.path());
    b.machine.highlvl = {"%import locked%"};
    EXPECT_THROW(trel::translate(b.machine), std::exception);
    EXPECT_TRUE(b.machine.code.empty());
  }
}

TEST(Export, WritesTheTranslatedProgramUnderARandomNameAndSaysWhere) {
  TempDir dir("export");
  TestBench b;
  CurrentDirectoryScope in(dir.path());
  b.machine.highlvl = {"def (f)", "RETURN"};
  trel::Button7Click(b.machine);
  ASSERT_EQ(b.host.messages.size(), 1u);
  const std::string message = b.host.messages[0];
  ASSERT_EQ(message.rfind("Exported to: exported/0000", 0), 0u) << message;
  std::string name = message.substr(13, 25);
  EXPECT_EQ(message.substr(13 + 25), "\r\nRemember to remove entry point and imported libs!");
  EXPECT_EQ(trel::readWholeFile(name), "::f\r\nRETURN\r\nHALT");
  trel::Button7Click(b.machine);
  EXPECT_NE(b.host.messages[1], message);  // a new name every time
}

TEST(Export, QnExportPrintsTheMessage) {
  TempDir dir("export");
  std::string source = dir.write("p.qn", "def (f)\nRETURN\n");
  ProcessOptions o;
  o.workingDirectory = dir.path();
  auto r = runProcess(TREL_QN_PATH, {"export", source}, o);
  EXPECT_EQ(r.status, 0);
  ASSERT_EQ(r.out.rfind("Exported to: exported/", 0), 0u) << r.out;
  EXPECT_NE(r.out.find(" Remember to remove entry point and imported libs!\n"), std::string::npos);
  std::string name = r.out.substr(13, 25);
  EXPECT_EQ(trel::readWholeFile(dir.path() + "/" + name), "::f\r\nRETURN\r\nHALT");
}

TEST(Examples, EveryStatementFormRunsWithItsExpectedOutput) {
  const std::string closing = "\n\n\nTrel: QN+ End of executing\n";
  ProcessOptions o;
  o.workingDirectory = TREL_SOURCE_DIR;
  auto run = [&](const std::string& name) {
    return runProcess(TREL_QN_PATH, {"run", "examples/" + name}, o);
  };
  EXPECT_EQ(run("library.qn").out,
            "----------------------------------------\n144\n42\n720\nhip\nhip\nhooray\n"
            "----------------------------------------" +
                closing);
  EXPECT_EQ(run("nested_ifs.qn").out,
            "one\ntwo, at most three\ntwo, at most three\nthree or more\nthree or more" + closing);
  EXPECT_EQ(run("classes.qn").out, "10\n30\nPoint" + closing);
  EXPECT_EQ(run("loop_formula.qn").out, "1\n4\n9\n16\n25\n55" + closing);
}

TEST(BadSources, EndCleanlyAndQuickly) {
  TempDir dir("bad");
  // 100,000 lines with many unclosed blocks and loops.
  std::string big;
  for (int i = 0; i < 100000; ++i)
    big += (i % 3 == 0 ? "if (a = 1)\n" : i % 3 == 1 ? "while (a < 1)\n" : "x:=1\n");
  auto r = runProcess(TREL_QN_PATH, {"translate", dir.write("big.qn", big)});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 100000 + 66667 + 1);
  std::string line(1 << 20, 'a');
  auto l = runProcess(TREL_QN_PATH,
                      {"translate", dir.write("long.qn", "if (" + line + " = b)\nendif\n")});
  EXPECT_EQ(l.status, 0);
}

}  // namespace
