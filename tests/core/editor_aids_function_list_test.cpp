// The function list beside the editor, its jump-to-line click and List low-level proc.
#include <gtest/gtest.h>

#include "shell/main_form.h"
#include "test_host.h"

using trel::testing::TestHost;
using Lines = std::vector<std::string>;

namespace {

struct Ide {
  TestHost host;
  trel::TForm1 form{host, {"base.exe"}};
  Ide() { host.machine = &form.machine; }
  std::string selected() const {
    std::string whole;
    for (const auto& l : form.machine.highlvl) whole += l + "\r\n";
    return whole.substr(static_cast<size_t>(form.selStart), static_cast<size_t>(form.selLength));
  }
};

TEST(FunctionList, ListsEveryLineHoldingDefWithItsLineNumber) {
  Ide ide;
  ide.form.machine.highlvl = {"%ECHO start", "  def (main);",      "def (sum) ;",   "def (go)",
                              "DEF (loud);", "x := 1; // def (y)", "\tdef (two));", "call main"};
  ide.form.highlvlChange();
  EXPECT_EQ(ide.form.explorer,
            (Lines{"1: main", "2: sum ;", "3: go", "5: 1; // def (y", "6: two)"}));
  EXPECT_FALSE(ide.form.explorerHoldsLowLevel);
}

TEST(FunctionList, EmptiesWhenNoLineDefinesAFunction) {
  Ide ide;
  ide.form.explorer = {"9: stale"};
  ide.form.machine.highlvl = {"%ECHO hi"};
  ide.form.highlvlChange();
  EXPECT_TRUE(ide.form.explorer.empty());
}

TEST(FunctionListClick, SelectsTheFirstOccurrenceOfTheEntrysLine) {
  Ide ide;
  ide.form.machine.highlvl = {"%ECHO a", "def (f);", "RETURN", "def (g);"};
  ide.form.highlvlChange();
  ide.form.explorerClick(1);
  EXPECT_EQ(ide.form.selStart, 9 + 10 + 8);  // line breaks count two characters
  EXPECT_EQ(ide.selected(), "def (g);");
}

TEST(FunctionListClick, TwoEqualLinesSelectTheFirst) {
  Ide ide;
  ide.form.machine.highlvl = {"def (f);", "RETURN", "def (f);"};
  ide.form.highlvlChange();
  ASSERT_EQ(ide.form.explorer, (Lines{"0: f", "2: f"}));
  ide.form.explorerClick(1);
  EXPECT_EQ(ide.form.selStart, 0);
  EXPECT_EQ(ide.form.selLength, 8);
}

TEST(FunctionListClick, AnEarlierLineContainingTheTextWins) {
  Ide ide;
  ide.form.machine.highlvl = {"call x; def (f); more", "def (f);"};
  ide.form.explorer = {"1: f"};
  ide.form.explorerClick(0);
  EXPECT_EQ(ide.form.selStart, 8);
  EXPECT_EQ(ide.selected(), "def (f);");
}

TEST(FunctionListClick, NoSelectionOrAnEntryBeyondTheSourceChangesLittle) {
  Ide ide;
  ide.form.machine.highlvl = {"a", "b"};
  ide.form.selStart = 1;
  ide.form.explorerClick(-1);  // nothing selected
  ide.form.explorerClick(3);   // no such entry
  EXPECT_EQ(ide.form.selStart, 1);
  ide.form.explorer = {"40: gone"};  // the source shrank since the list was made
  ide.form.explorerClick(0);
  EXPECT_EQ(ide.form.selStart, 0);
  EXPECT_EQ(ide.form.selLength, 0);
}

TEST(LowLevelProcedures, ListsTheLabelsOfTheLastRun) {
  Ide ide;
  ide.form.machine.code = {"CALL ::f", "HALT", "::f", "%ECHO in f", "RETURN", "  ::spare  "};
  ide.form.machine.compile(trel::RunMode::Program);
  ide.form.Listlowlevelproc1Click();
  // Any line holding "::" counts, so a CALL line gives an entry too, cut after two characters.
  EXPECT_EQ(ide.form.explorer, (Lines{"0: LL ::f", "2: f", "5: spare"}));
  EXPECT_TRUE(ide.form.explorerHoldsLowLevel);
  // The next editor change brings the function list back.
  ide.form.machine.highlvl = {"def (x);"};
  ide.form.highlvlChange();
  EXPECT_EQ(ide.form.explorer, Lines{"0: x"});
}

TEST(LowLevelProcedures, BeforeAnyRunTheListEmpties) {
  Ide ide;  // ListBox1 holds "//PARSER", which has no label
  ide.form.explorer = {"0: main"};
  ide.form.Listlowlevelproc1Click();
  EXPECT_TRUE(ide.form.explorer.empty());
}

TEST(LowLevelProcedures, AfterABuildEmptiedTheProgramListNothingChanges) {
  Ide ide;
  ide.form.machine.ListBox1.clear();
  ide.form.explorer = {"0: main"};
  ide.form.Listlowlevelproc1Click();
  EXPECT_EQ(ide.form.explorer, Lines{"0: main"});
  EXPECT_FALSE(ide.form.explorerHoldsLowLevel);
}

TEST(LowLevelProcedures, AClickShowsThatLineInTheViewer) {
  Ide ide;
  ide.form.machine.code = {"JUMP ::end", "%ECHO skipped", "::end"};
  ide.form.machine.compile(trel::RunMode::Program);
  ide.form.Listlowlevelproc1Click();
  ide.form.explorerClick(1);
  EXPECT_TRUE(ide.form.lowLevelVisible);
  EXPECT_EQ(ide.form.lowLevelSelectedLine, 2);
  EXPECT_EQ(ide.form.selLength, 0);  // the editor selection is left alone
}

}  // namespace
