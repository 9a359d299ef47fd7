// Where every line of the code list came from, and the diagnostics and warnings that use it:
// statement expansions, the semicolon split, imported libraries, the appended HALT, labels the
// class markers insert at run time, and qn's FILE:LINE lines.
#include <gtest/gtest.h>

#include "process.h"
#include "shell/commands.h"
#include "test_host.h"
#include "translator/translator.h"

using trel::SourceLocation;
using trel::testing::CurrentDirectoryScope;
using trel::testing::ProcessResult;
using trel::testing::runProcess;
using trel::testing::TempDir;
using trel::testing::TestBench;

namespace {

// "file:line" for every code line, the file by its name in the map.
std::vector<std::string> places(const trel::SourceMap& map) {
  std::vector<std::string> out;
  for (SourceLocation at : map.locations)
    out.push_back(map.fileName(at.file) + ":" + std::to_string(at.line));
  return out;
}

TEST(SourceMap, EveryStatementFormMapsItsLinesToItsSourceLine) {
  TempDir dir("srcmap");
  dir.write("lib/pair.qnlib", "::first\r\nRETURN\r\n::second\r\nRETURN\r\n");
  CurrentDirectoryScope here(dir.path());
  TestBench b;
  b.machine.sourceName = "main.qn";
  b.machine.highlvl = {
      "%import pair%",              // 1: the library's lines go in front
      "var a",                      // 2
      ";;; the whole list splits",  // 3
      "var b; var c",               // 4: two lines after the split
      "if (a = b)",                 // 5: cmp + IF
      "%ECHO same",                 // 6
      "endif",                      // 7: becomes the label
      "call first(1,,,,)",          // 8: five moves and the call
      "formula (1+2)",              // 9: three lines
      "external f: lib ,,,,)",      // 10
  };
  trel::translate(b.machine);
  ASSERT_FALSE(b.machine.translationStopped);
  std::vector<std::string> expected = {
      "lib/pair.qnlib:1", "lib/pair.qnlib:2", "lib/pair.qnlib:3", "lib/pair.qnlib:4",
      "main.qn:1",  // the emptied import line
      "main.qn:2",        "main.qn:3",        "main.qn:3",        "main.qn:3",
      "main.qn:3",        "main.qn:4",        "main.qn:4",        "main.qn:5",
      "main.qn:5",        "main.qn:6",        "main.qn:7"};
  for (int k = 0; k < 6; ++k) expected.push_back("main.qn:8");
  for (int k = 0; k < 3; ++k) expected.push_back("main.qn:9");
  for (int k = 0; k < 8; ++k) expected.push_back("main.qn:10");
  expected.push_back("main.qn:10");  // HALT belongs to the last source line
  ASSERT_EQ(b.machine.code.size(), expected.size());
  EXPECT_EQ(places(b.machine.codeMap), expected);
  EXPECT_EQ(b.machine.code.back(), "HALT");
}

TEST(SourceMap, InsertedClassLabelsTakeTheMarkersLineAndSurviveTheRun) {
  TestBench b;
  b.machine.sourceName = "c.qn";
  ASSERT_TRUE(b.run({"new class (Point)", "class method show", "endclass", "call Point.show(,,,,)",
                     "HALT", "def (show)", "%ECHO shown", "RETURN"}));
  EXPECT_EQ(b.host.printed.front(), "shown");
  const trel::ProgramList& list = b.machine.ListBox1;
  int32_t inserted = const_cast<trel::ProgramList&>(list).findFirst("::Point.show");
  ASSERT_GE(inserted, 0);
  EXPECT_EQ(list.origin(inserted), (SourceLocation{0, 2}));      // the class method line
  EXPECT_EQ(list.origin(inserted + 1), (SourceLocation{0, 6}));  // def (show) kept its own
  EXPECT_EQ(list.sourceMap().locations.size(), static_cast<size_t>(list.size()));
}

TEST(Diagnostics, QnNamesTheFileAndLineOfEveryKindOfError) {
  TempDir dir("diag");
  dir.write("lib/bad.qnlib",
            "JUMP ::bad.end\r\n::boom\r\nJUMP ::missing\r\nRETURN\r\n::bad.end\r\n");
  trel::testing::ProcessOptions in;
  in.workingDirectory = dir.path();
  auto qn = [&](std::vector<std::string> args) { return runProcess(TREL_QN_PATH, args, in); };
  const std::string jump = "'::missing' is not a valid integer value";

  // A run-time error inside an imported library names the library and its line.
  dir.write("lib.qn", "%import bad%\n;;; split\nvar a; var b\ncall boom(,,,,)\n");
  ProcessResult r = qn({"run", "lib.qn"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, jump + "\nlib/bad.qnlib:3: error: " + jump + "\n");

  // A translation error stop after a split, where entries no longer count source lines.
  dir.write("stop.qn", "var a; var b\n;;; split\n%import gone%\n");
  r = qn({"run", "stop.qn"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err,
            "Can not import! File not found\nstop.qn:3: error: Can not import! File not found\n");

  // exec counts the low-level lines from 1.
  dir.write("low.qn", "%ECHO one\n%ECHO two\nJUMP ::missing\n");
  r = qn({"exec", "low.qn"});
  EXPECT_EQ(r.err, jump + "\nlow.qn:3: error: " + jump + "\n");

  // A formula error does not end the run; its line adds the column where the compiler stopped
  // when the formula's text stands in the source line.
  dir.write("f.qn", "formula (1 + * 2);\n@FORMULA 1/0\n   @FORMULA (2 +\n");
  r = qn({"run", "f.qn"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(
      r.err,
      "Error: Syntax error\nf.qn:1:15: error: Syntax error\n"
      "Error: Floating point division by zero\nf.qn:2: error: Floating point division by zero\n"
      "Error: \")\" expected\nf.qn:3:17: error: \")\" expected\n");

  // Warnings: the translation is unchanged, each warning one line on standard error.
  dir.write("warn.qn",
            "%import gone%\nif (a = b)\nwhile (a = b)\ncall nobody(,,,,)\nJUMP ::nowhere\n");
  ProcessResult plain = qn({"translate", "warn.qn"});
  r = qn({"translate", "warn.qn", "--warnings"});
  EXPECT_EQ(r.out, plain.out);
  EXPECT_NE(r.err.find("warn.qn:1: warning: %import of a library that does not exist: "
                       "lib/gone.qnlib\n"),
            std::string::npos)
      << r.err;
  dir.write("warn2.qn", "if (a = b)\nwhile (a = b)\ncall nobody(,,,,)\nJUMP ::nowhere\n");
  r = qn({"translate", "warn2.qn", "--warnings"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err,
            "warn2.qn:1: warning: if ( without endif: the condition jumps to a label no line "
            "defines\n"
            "warn2.qn:2: warning: while without repeat: the loop has no line to go back to\n"
            "warn2.qn:3: warning: call of a procedure no def names: nobody\n"
            "warn2.qn:4: warning: JUMP to a label no line defines: ::nowhere\n");
}

}  // namespace
