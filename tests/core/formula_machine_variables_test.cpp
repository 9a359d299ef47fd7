// How @FORMULA sees the machine's variable table: names by slot, free slots, the last slot, runs
// before any program, and the name index that follows the table without scanning it.
#include <gtest/gtest.h>

#include "machine/formula_instruction.h"
#include "rtl/decimal_separator.h"
#include "test_host.h"

using trel::SlotNameIndex;
using trel::VariableTable;
using trel::testing::TestBench;

TEST(FormulaMachineVariables, TheNameIndexFollowsTheTable) {
  VariableTable t;
  t.ClearVariables();
  t.InitRegisterNames();
  SlotNameIndex index;
  EXPECT_EQ(index.find(t, "rg3", false), 3);
  EXPECT_EQ(index.find(t, "count", false), -1);
  t.DeclareVariable("Count");
  int slot = t.findSlot("Count");
  EXPECT_EQ(index.find(t, "COUNT", false), slot);
  EXPECT_EQ(index.find(t, "Count", true), slot);
  EXPECT_EQ(index.find(t, "count", true), -1);
  // Free slots ("00") have no name a formula could use, but they are the empty name's.
  EXPECT_EQ(index.find(t, "00", false), -1);
  EXPECT_EQ(index.find(t, "", false), 11);
  // After a clear the index starts over.
  t.ClearVariables();
  EXPECT_EQ(index.find(t, "Count", false), -1);
  t.DeclareVariable("other");
  EXPECT_EQ(index.find(t, "OTHER", false), t.findSlot("other"));
}

TEST(FormulaMachineVariables, TheLastSlotIsNotPassed) {
  // The component gets slots 0 to 9255; a name only slot 9256 bears reads as unknown.
  TestBench b;
  std::vector<std::string> code;
  for (int i = 0; i < 9242; ++i) code.push_back("var v" + std::to_string(i));
  code.push_back("@FORMULA v9240 + 1");
  code.push_back("%ECHO RG0");
  code.push_back("@FORMULA v9241");
  ASSERT_TRUE(b.exec(code));
  ASSERT_EQ(b.machine.table.findSlot("v9241"), VariableTable::kSlotCount - 1);
  EXPECT_EQ(b.host.printed, (std::vector<std::string>{"1"}));
  EXPECT_EQ(b.lastMessage(), "Error: Unknown identifier 'v9241'");
}

TEST(FormulaMachineVariables, FreeSlotsAndFormulasBeforeAnyRun) {
  TestBench fresh;
  // Before the first run no slot has a name: nothing to read, nothing breaks.
  ASSERT_TRUE(fresh.console("@FORMULA RG0 + 1"));
  EXPECT_EQ(fresh.lastMessage(), "Error: Unknown identifier 'RG0'");
  ASSERT_TRUE(fresh.console("@FORMULA 2 + 2"));
  TestBench b;
  // A free slot's value is 0, whatever the table holds for it.
  ASSERT_TRUE(b.exec({"@FORMULA VAL('') @ '|' @ EXISTS('')", "%ECHO RG0"}));
  EXPECT_EQ(b.host.printed, (std::vector<std::string>{"0|1"}));
}

TEST(FormulaMachineVariables, ValuesAreReadWithTheProcessSeparator) {
  TestBench b;
  trel::DecimalSeparatorScope comma(',');
  ASSERT_TRUE(
      b.exec({"var p", "p:=1,5", "var q", "q:=1.5", "@FORMULA p * 2 @ '|' @ q", "%ECHO RG0"}));
  // "1.5" is no number with "," as separator: it counts as 1.
  EXPECT_EQ(b.host.printed, (std::vector<std::string>{"3|1"}));
}

TEST(FormulaMachineVariables, ArrayCellsAndMembersByComputedNames) {
  TestBench b;
  ASSERT_TRUE(b.exec({"var a1_2", "a1_2:=8", "var k", "k:=2",
                      "@FORMULA $a[1, k] + VAL('A' @ '1_' @ k)", "%ECHO RG0"}));
  EXPECT_EQ(b.host.printed, (std::vector<std::string>{"16"}));
}
