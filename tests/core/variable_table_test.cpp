#include "machine/variable_table.h"

#include <gtest/gtest.h>

#include "rtl/errors.h"

using trel::VariableTable;

namespace {

VariableTable freshRunTable() {
  VariableTable t;
  t.ClearVariables();
  t.InitRegisterNames();
  return t;
}

TEST(VariableTable, RegistersFillSlotsZeroToTenAndLeaveElevenFree) {
  VariableTable t = freshRunTable();
  for (int i = 0; i <= 10; ++i) EXPECT_EQ(t.nameAt(i), "RG" + std::to_string(i));
  EXPECT_EQ(t.nameAt(11), "00");
  EXPECT_EQ(t.nameAt(12), "RGSTR");
  EXPECT_EQ(t.nameAt(13), "FL1");
  EXPECT_EQ(t.nameAt(14), "FL2");
  EXPECT_EQ(t.NextSlotIndex(), 15);
  EXPECT_EQ(t.GetVariable("RG0"), "00");
}

TEST(VariableTable, NewNamesGoAfterTheLastOccupiedSlotAndStartAsDoubleZero) {
  VariableTable t = freshRunTable();
  t.DeclareVariable("x");
  t.DeclareVariable("y");
  EXPECT_EQ(t.findSlot("x"), 15);
  EXPECT_EQ(t.findSlot("y"), 16);
  EXPECT_EQ(t.GetVariable("x"), "00");
  t.DeclareVariable("x");  // declaring again keeps slot and value
  t.SetVariable("x", "5");
  t.DeclareVariable("x");
  EXPECT_EQ(t.GetVariable("x"), "5");
  EXPECT_EQ(t.NextSlotIndex(), 17);
}

TEST(VariableTable, NamesAreCaseSensitiveAndMayHoldAnyCharacters) {
  VariableTable t = freshRunTable();
  t.DeclareVariable("Value");
  t.DeclareVariable("value");
  t.DeclareVariable("a[3]");
  t.DeclareVariable("Point.x y");
  t.SetVariable("Value", "1");
  t.SetVariable("value", "2");
  EXPECT_EQ(t.GetVariable("Value"), "1");
  EXPECT_EQ(t.GetVariable("value"), "2");
  EXPECT_TRUE(t.VariableExists("a[3]"));
  EXPECT_TRUE(t.VariableExists("Point.x y"));
}

TEST(VariableTable, AbsentNamesReadAsNotExistsAndWritesAreIgnored) {
  VariableTable t = freshRunTable();
  EXPECT_EQ(t.GetVariable("nope"), "VARIABLE NOT EXISTS");
  t.SetVariable("nope", "1");
  EXPECT_FALSE(t.VariableExists("nope"));
  EXPECT_EQ(t.NextSlotIndex(), 15);
}

TEST(VariableTable, FreeSlotsAnswerToTheirNameAndShareOneValue) {
  VariableTable t = freshRunTable();
  EXPECT_TRUE(t.VariableExists("00"));
  EXPECT_EQ(t.GetVariable("00"), "00");
  // A write to the free slots' name reaches every free slot, so new variables start with it.
  t.SetVariable("00", "seven");
  t.DeclareVariable("fresh");
  EXPECT_EQ(t.GetVariable("fresh"), "seven");
  EXPECT_EQ(t.valueAt(11), "seven");
  t.ClearVariables();
  t.InitRegisterNames();
  t.DeclareVariable("again");
  EXPECT_EQ(t.GetVariable("again"), "00");
}

TEST(VariableTable, BeforeTheFirstRunEverySlotIsNamedEmptyAndNothingCanBeDeclared) {
  VariableTable t;
  EXPECT_EQ(t.NextSlotIndex(), VariableTable::kSlotCount + 1);
  EXPECT_TRUE(t.VariableExists(""));
  EXPECT_FALSE(t.VariableExists("00"));
  EXPECT_THROW(t.DeclareVariable("x"), trel::Error);
}

TEST(VariableTable, AFullTableRefusesWithAClearError) {
  VariableTable t = freshRunTable();
  int declared = 0;
  try {
    for (;; ++declared) t.DeclareVariable("v" + std::to_string(declared));
  } catch (const trel::Error& e) {
    EXPECT_NE(std::string(e.what()).find("variable table is full"), std::string::npos);
  }
  // Slots 0-10 and 12-9256 hold names: 9,256 in all, 14 of them registers and flags.
  EXPECT_EQ(declared, 9256 - 14);
  EXPECT_EQ(t.nameAt(9256), "v" + std::to_string(declared - 1));
  EXPECT_EQ(t.GetVariable("00"), "00");  // slot 11 is the last free one
}

TEST(VariableTable, AddressesMapBackToTheirSlots) {
  for (int slot : {0, 11, 15, 9256}) {
    uint32_t a = VariableTable::addressOfSlot(slot);
    EXPECT_EQ(VariableTable::slotAtAddress(a), slot);
    EXPECT_EQ(VariableTable::slotAtAddress(a + 1), -1);
  }
  EXPECT_EQ(VariableTable::slotAtAddress(0), -1);
  EXPECT_EQ(VariableTable::slotAtAddress(-5), -1);
  EXPECT_EQ(VariableTable::slotAtAddress(VariableTable::addressOfSlot(9256) + 0x40), -1);
}

TEST(VariableTable, ClearForgetsEveryNameAndTheNamingOrder) {
  VariableTable t = freshRunTable();
  t.DeclareVariable("a");
  uint64_t clears = t.clearCount();
  EXPECT_EQ(t.namedSlots().size(), 15u);
  t.ClearVariables();
  EXPECT_EQ(t.clearCount(), clears + 1);
  EXPECT_TRUE(t.namedSlots().empty());
  EXPECT_FALSE(t.VariableExists("a"));
  EXPECT_EQ(t.NextSlotIndex(), 1);
}

TEST(VariableTable, IntegersAreRememberedUntilTheValueChangesAndArePlainOnlyAsDecimalDigits) {
  VariableTable t = freshRunTable();
  t.DeclareVariable("a");
  int slot = t.findSlot("a");
  struct Case {
    const char* text;
    bool isInt;
    int32_t value;
    bool plain;
  };
  // Plain texts read as the same number as a real: hexadecimal, blanks, "+" and minus zero do not.
  for (Case c :
       {Case{"12345", true, 12345, true}, Case{"-7", true, -7, true}, Case{"007", true, 7, true},
        Case{"-0", true, 0, false}, Case{"$10", true, 16, false}, Case{" 5", true, 5, false},
        Case{"+5", true, 5, false}, Case{"2147483647", true, 2147483647, false},
        Case{"1.5", false, 0, false}, Case{"-", false, 0, false}, Case{"", false, 0, false}}) {
    t.setValueAt(slot, c.text);
    int32_t v = -1, p = -1;
    EXPECT_EQ(t.intAt(slot, v), c.isInt) << c.text;
    if (c.isInt) {
      EXPECT_EQ(v, c.value) << c.text;
    }
    EXPECT_EQ(t.plainIntAt(slot, p), c.plain) << c.text;
    if (c.plain) {
      EXPECT_EQ(p, c.value) << c.text;
    }
  }
  // Written as integers: the decimal text, read back as plain, at every change of digit count.
  for (int32_t value :
       {0, 9, 10, -99, 100, 999999999, 1000000000, -1000000000, INT32_MAX, INT32_MIN}) {
    t.setIntAt(slot, value);
    EXPECT_EQ(t.valueAt(slot), std::to_string(value));
    int32_t p = 0;
    EXPECT_TRUE(t.plainIntAt(slot, p));
    EXPECT_EQ(p, value);
  }
  t.SetVariable("a", "x");
  int32_t v;
  EXPECT_FALSE(t.intAt(slot, v));

  // Copies: an integer set as one reads the same text in its new slot; a plain text that is not
  // the integer's own spelling goes across as it stands.
  t.DeclareVariable("b");
  int b = t.findSlot("b");
  t.setIntAt(slot, 4321);
  t.copyValue(slot, b);
  EXPECT_EQ(t.valueSize("b"), 4u);
  EXPECT_EQ(t.valueAt(b), "4321");
  t.setValueAt(slot, "007");
  t.copyValue(slot, b);
  EXPECT_EQ(t.valueAt(b), "007");
  // Pieces pushed in front of an integer join its text; pieces dropped by a write give their
  // bytes back.
  t.setIntAt(b, 77);
  t.pushFront("b", "1004");
  EXPECT_EQ(t.GetVariable("b"), "100477");
  size_t bytes = t.bytes();
  t.pushFront("b", "1005");
  t.setIntAt(b, 1);
  EXPECT_EQ(t.bytes(), bytes);
  EXPECT_EQ(t.GetVariable("b"), "1");
}

}  // namespace
