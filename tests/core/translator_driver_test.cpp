// The translator's pass: statement recognition, the log, the two semicolon rules, the end phase
// and the error stops.
#include <gtest/gtest.h>

#include <filesystem>

#include "process.h"
#include "rtl/integer_text.h"
#include "rtl/random.h"
#include "rtl/text.h"
#include "test_host.h"
#include "translator/translator.h"

using trel::testing::CurrentDirectoryScope;
using trel::testing::TempDir;
using trel::testing::TestBench;
using Lines = std::vector<std::string>;

namespace {

Lines translate(TestBench& b, const Lines& source) {
  b.machine.highlvl = source;
  b.machine.debug.clear();
  trel::translate(b.machine);
  return b.machine.code;
}

Lines translateLog(const TestBench& b) {
  return b.machine.debug.lines();
}

TEST(TranslatorDriver, AnEmptySourceGivesJustHalt) {
  TestBench b;
  EXPECT_EQ(translate(b, {}), Lines{"HALT"});
}

TEST(TranslatorDriver, BlankLinesPassAndNothingIsLogged) {
  TestBench b;
  EXPECT_EQ(translate(b, {"", "  ", ""}), (Lines{"", "  ", "", "HALT"}));
  EXPECT_TRUE(translateLog(b).empty());
}

TEST(TranslatorDriver, LowLevelLinesPassUnchangedIndentationIncluded) {
  TestBench b;
  Lines source{"var n", "  n:=0", "\tn+1", "%ECHO n", "x:=1; if (x = 1)"};
  Lines expected = source;
  expected.push_back("HALT");
  EXPECT_EQ(translate(b, source), expected);
  EXPECT_TRUE(translateLog(b).empty());
}

TEST(TranslatorDriver, StatementsAreRecognisedInAnyCaseAndIndented) {
  TestBench b;
  translate(b, {"  \tDEF (Main)", "IF (x = 1)", "endif"});
  EXPECT_EQ(translateLog(b)[0], "Translate  [DEF (MAIN)]");
  EXPECT_EQ(translateLog(b)[1], "Translate  [IF (X = 1)]");
  EXPECT_EQ(translateLog(b)[2], "1 founded conditional expression");
  EXPECT_EQ(b.machine.code[0], "::Main");
}

TEST(TranslatorDriver, ALoneSemicolonStopsTheTranslation) {
  for (const std::string stray : {";", ";;", " ;x "}) {
    TestBench b;
    Lines code = translate(b, {"def (a)", stray, "def (b)"});
    EXPECT_EQ(b.lastMessage(), "No semicolon at: 1") << stray;
    EXPECT_TRUE(b.machine.CheckBox1);
    EXPECT_TRUE(b.machine.translationStopped);
    EXPECT_EQ(code, (Lines{"::a", stray, "def (b)", "HALT"}));
    EXPECT_EQ(b.machine.highlvl, (Lines{"def (a)", stray, "def (b)"}));
  }
}

TEST(TranslatorDriver, ALongerSemicolonLineSplitsTheWholeSourceAndIsLoggedTwice) {
  TestBench b;
  Lines code = translate(b, {"a:=1;b:=2", ";def (x);def (y)", "def (z)"});
  Lines log = translateLog(b);
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[0], "Translate  [;DEF (X);DEF (Y)]");
  EXPECT_EQ(log[1], "Translate  [;DEF (X);DEF (Y)]");
  // The list is now a:=1 / b:=2 / "" / def (x) / def (y) / def (z); the pass goes on at entry 2
  // and, counting the entries anew at every step, to the end of the longer list.
  EXPECT_EQ(code, (Lines{"a:=1", "b:=2", "", "::x", "::y", "::z", "HALT"}));
}

TEST(TranslatorDriver, ASplitOnTheLastLineLeavesItsPiecesUntranslated) {
  TestBench b;
  EXPECT_EQ(translate(b, {";def (x);def (y)"}), (Lines{"", "def (x)", "def (y)", "HALT"}));
}

TEST(TranslatorDriver, RewrittenEntriesBecomeSeveralLinesAtTheEnd) {
  TestBench b;
  trel::seedRandom(7);
  Lines code = translate(b, {"formula (a+1);", "call f(1,2,3,4,5)"});
  EXPECT_EQ(code, (Lines{"var formula", "@FORMULA a+1", "formula:=RG0", "RG1:=1", "RG2:=2",
                         "RG3:=3", "RG4:=4", "RG5:=5", "call ::f", "HALT"}));
}

TEST(TranslatorDriver, TheWorkedExampleWithALibrary) {
  TempDir dir("worked");
  dir.write("lib/mathlib.qnlib", "::show\r\n%ECHO RG1\r\nRETURN\r\n");
  CurrentDirectoryScope in(dir.path());

  trel::seedRandom(1234);
  std::string rep = trel::hexText(static_cast<uint32_t>(trel::randomInt(65535)), 8);
  std::string cmp = trel::hexText(static_cast<uint32_t>(trel::randomInt(65535)), 8);
  trel::seedRandom(1234);
  TestBench b;
  Lines code =
      translate(b, {"%import mathlib%", "def (entry)", "var n", "n:=0", "repeat", "formula (n+1);",
                    "n:=formula", "while (n < 10)", "if (n = 10)", "call show(n,,,,)", "endif"});
  EXPECT_EQ(code, (Lines{"::show",
                         "%ECHO RG1",
                         "RETURN",
                         "",
                         "::entry",
                         "var n",
                         "n:=0",
                         "::rep" + rep,
                         "var formula",
                         "@FORMULA n+1",
                         "formula:=RG0",
                         "n:=formula",
                         "cmp n,10",
                         "if < ::rep" + rep,
                         "cmp n,10",
                         "if != ::compare" + cmp,
                         "RG1:=n",
                         "RG2:=##0",
                         "RG3:=##0",
                         "RG4:=##0",
                         "RG5:=##0",
                         "call ::show",
                         "::compare" + cmp,
                         "HALT"}));
  EXPECT_EQ(translateLog(b), (Lines{"Translate  [%IMPORT MATHLIB%]", "Translate  [DEF (ENTRY)]",
                                    "Translate  [FORMULA (N+1);]", "Translate  [WHILE (N < 10)]",
                                    "Translate  [IF (N = 10)]", "8 founded conditional expression",
                                    "Translate  [CALL SHOW(N,,,,)]"}));
}

TEST(TranslatorDriver, AMissingLibraryStopsTheTranslation) {
  TempDir dir("nolib");
  CurrentDirectoryScope in(dir.path());
  TestBench b;
  Lines code = translate(b, {"def (a)", "%import nowhere%", "def (b)"});
  EXPECT_EQ(b.lastMessage(), "Can not import! File not found");
  EXPECT_TRUE(b.machine.CheckBox1);
  EXPECT_EQ(code, (Lines{"::a", "%import nowhere%", "def (b)", "HALT"}));
}

TEST(TranslatorDriver, TranslationErrorsKeepLaterRunsFromRunning) {
  TestBench b;
  ASSERT_TRUE(b.run({";", "%ECHO never"}));
  EXPECT_TRUE(b.machine.CheckBox1);
  ASSERT_TRUE(b.run({"%ECHO still not"}));
  EXPECT_TRUE(b.host.printed.empty());
  b.machine.CheckBox1 = false;
  ASSERT_TRUE(b.run({"%ECHO now"}));
  EXPECT_EQ(b.host.printed.front(), "now");
}

}  // namespace
