// Assignment, declarations, arrays, arithmetic, rounding and the 4-byte integer form.
#include <gtest/gtest.h>

#include "machine/variable_table.h"
#include "rtl/integer_text.h"
#include "test_host.h"

using trel::testing::TestBench;
using Lines = std::vector<std::string>;

namespace {

int countLog(const TestBench& b, const std::string& line) {
  int n = 0;
  for (const auto& l : b.log()) n += l == line;
  return n;
}

TEST(Assignment, DeclaresItsTargetAndLogsTheMove) {
  TestBench b;
  ASSERT_TRUE(b.exec({"x:=5"}));
  EXPECT_EQ(b.var("x"), "5");
  EXPECT_EQ(countLog(b, "Interpreting  [X:=5]"), 1);
  EXPECT_EQ(countLog(b, "Moving [5] to [x]"), 1);
}

TEST(Assignment, ASourceThatNamesAVariableCopiesItsValue) {
  TestBench b;
  ASSERT_TRUE(b.exec({"a:=hello", "b:=a", "c:= a b ", "RG1:=b"}));
  EXPECT_EQ(b.var("b"), "hello");
  EXPECT_EQ(b.var("c"), "a b");
  EXPECT_EQ(b.var("RG1"), "hello");
}

TEST(Assignment, RndGivesANumberBelowARandomBound) {
  TestBench b;
  ASSERT_TRUE(b.exec({"x:=RND", "y:=RNDtail"}));
  int32_t x = 0;
  ASSERT_TRUE(trel::tryTextToInt(b.var("x"), x));
  EXPECT_GE(x, 0);
  EXPECT_LT(x, 16777214);
  EXPECT_TRUE(trel::isIntegerText(b.var("y")));
}

TEST(Assignment, AddressesAreTakenWithTwoMovesAndReadBackThroughThem) {
  TestBench b;
  ASSERT_TRUE(b.exec({"b:=payload", "a:=0", "a:=@@b", "c:=^^a"}));
  std::string address =
      std::to_string(trel::VariableTable::addressOfSlot(b.machine.table.findSlot("b")));
  EXPECT_EQ(b.var("a"), address);
  EXPECT_EQ(countLog(b, "Moving [" + address + "] to [a]"), 2);
  EXPECT_EQ(countLog(b, "POINTER b >> 0x" + trel::hexText(std::stoul(address), 1)), 1);
  EXPECT_EQ(b.var("c"), "payload");
}

TEST(Assignment, ReadingThroughATextThatIsNoAddressStopsClearly) {
  TestBench b;
  EXPECT_FALSE(b.exec({"p:=abc", "c:=^^p"}));
  EXPECT_EQ(b.lastMessage(), "'abc' is not a valid integer value");
  TestBench c;
  EXPECT_FALSE(c.exec({"p:=12345", "c:=^^p"}));
  EXPECT_NE(c.lastMessage().find("Invalid address 12345"), std::string::npos);
}

TEST(Assignment, TheApplicationHandle) {
  TestBench b;
  ASSERT_TRUE(b.exec({"h:=!AH"}));
  EXPECT_EQ(b.var("h"), "1");
}

TEST(Declarations, VarDeclaresAndKeepsDoubleZero) {
  TestBench b;
  ASSERT_TRUE(b.exec({"VAR x", "%ECHO x", "VAR Value", "VAR value"}));
  EXPECT_EQ(b.host.printed, Lines{"00"});
  EXPECT_EQ(countLog(b, "Reserve memory for variable: x"), 1);
  EXPECT_TRUE(b.machine.table.VariableExists("Value"));
  EXPECT_TRUE(b.machine.table.VariableExists("value"));
}

TEST(Arrays, ArrayDeclaresCountPlusOneCells) {
  TestBench b;
  ASSERT_TRUE(b.exec({"ARRAY 3 a", "ARRAY -1 none"}));
  for (int i = 0; i <= 3; ++i)
    EXPECT_TRUE(b.machine.table.VariableExists("a[" + std::to_string(i) + "]"));
  EXPECT_FALSE(b.machine.table.VariableExists("a[4]"));
  EXPECT_FALSE(b.machine.table.VariableExists("none[0]"));
  EXPECT_EQ(countLog(b, "Reserve memory for array: a, cells: 3"), 1);
}

TEST(Arrays, SaveAndLoadGoThroughCellsComposedFromTheIndex) {
  TestBench b;
  ASSERT_TRUE(b.exec({"ARRAY 2 a", "ARRAYSAVE 1 a hello", "ARRAYLOAD 1 a", "r1:=RG2",
                      "ARRAYLOAD 5 a", "r5:=RG2", "i:=2", "v:=world", "ARRAYSAVE i a v",
                      "ARRAYLOAD i a", "ri:=RG2", "ARRAYSAVE 9 a x"}));
  EXPECT_EQ(b.var("r1"), "hello");
  EXPECT_EQ(b.var("r5"), "VARIABLE NOT EXISTS");
  EXPECT_EQ(b.var("ri"), "world");
  EXPECT_FALSE(b.machine.table.VariableExists("a[9]"));
}

TEST(Arrays, ANonNumericCountStopsTheRun) {
  TestBench b;
  EXPECT_FALSE(b.exec({"ARRAY many a"}));
  EXPECT_EQ(b.lastMessage(), "'many' is not a valid integer value");
}

TEST(Arithmetic, AddSubtractMultiplyOnADeclaredTarget) {
  TestBench b;
  ASSERT_TRUE(b.exec({"x:=5", "x+3", "r1:=x", "x*x", "r2:=x", "x-100", "r3:=x"}));
  EXPECT_EQ(b.var("r1"), "8");
  EXPECT_EQ(b.var("r2"), "64");
  EXPECT_EQ(b.var("r3"), "-36");
  EXPECT_EQ(countLog(b, "x is -36"), 1);
  EXPECT_EQ(countLog(b, "Substract (-) [100] to [x]"), 1);
}

TEST(Arithmetic, AnUndeclaredTargetChangesNothing) {
  TestBench b;
  ASSERT_TRUE(b.exec({"x+3", "y-1"}));
  EXPECT_EQ(countLog(b, "Adding (+) [3] to [x]"), 1);
  EXPECT_EQ(countLog(b, "y is VARIABLE NOT EXISTS"), 1);
  EXPECT_FALSE(b.machine.table.VariableExists("x"));
}

TEST(Arithmetic, AnAssignmentOfADifferenceAlsoRunsTheSubtraction) {
  TestBench b;
  ASSERT_TRUE(b.exec({"y:=x-1"}));
  EXPECT_EQ(b.var("y"), "x-1");
  EXPECT_EQ(countLog(b, "y:=x is VARIABLE NOT EXISTS"), 1);
}

TEST(Arithmetic, WrapsAroundAtThirtyTwoBits) {
  TestBench b;
  ASSERT_TRUE(b.exec({"x:=2147483647", "x+1", "y:=65536", "y*65536", "z:=$FFFFFFFF", "z+0"}));
  EXPECT_EQ(b.var("x"), "-2147483648");
  EXPECT_EQ(b.var("y"), "0");
  EXPECT_EQ(b.var("z"), "-1");
}

TEST(Arithmetic, NumbersMustBeIntegers) {
  TestBench b;
  EXPECT_FALSE(b.exec({"x:=1.5", "x+1"}));
  EXPECT_EQ(b.lastMessage(), "'1.5' is not a valid integer value");
  TestBench c;
  EXPECT_FALSE(c.exec({"x:=1", "x+abc"}));
  EXPECT_EQ(c.lastMessage(), "'abc' is not a valid integer value");
}

TEST(Arithmetic, MinusIsNotSubtractionInLinesWithNumberPrefixesOrFormulas) {
  TestBench b;
  ASSERT_TRUE(b.exec({"RG1:=##-1"}));
  EXPECT_EQ(countLog(b, "Substract (-) [1] to [RG1:=##]"), 0);
}

TEST(Division, RoundsHalvesToTheEvenNeighbour) {
  TestBench b;
  ASSERT_TRUE(
      b.exec({"a:=7", "b:=5", "c:=-7", "d:=10", "DIV a/2", "DIV b/2", "DIV c/2", "DIV d/3"}));
  EXPECT_EQ(b.var("a"), "4");
  EXPECT_EQ(b.var("b"), "2");
  EXPECT_EQ(b.var("c"), "-4");
  EXPECT_EQ(b.var("d"), "3");
  EXPECT_EQ(countLog(b, "Division (/) [2] to [a]"), 1);
}

TEST(Division, DropsThreeCharactersWhateverTheyAreAfterTheIndentation) {
  TestBench b;
  ASSERT_TRUE(b.exec({"x:=8", "abcx/2", "  div x/2", "\tDIV x/2"}));
  EXPECT_EQ(b.var("x"), "1");  // each line leaves "x/2" after the three dropped characters
  EXPECT_EQ(countLog(b, "Division (/) [2] to [x]"), 3);
}

TEST(Division, ByZeroStops) {
  TestBench b;
  EXPECT_FALSE(b.exec({"x:=8", "DIV x/0"}));
  EXPECT_EQ(b.lastMessage(), "Floating point division by zero");
  TestBench c;
  EXPECT_FALSE(c.exec({"x:=0", "DIV x/0"}));
  EXPECT_EQ(c.lastMessage(), "Invalid floating point operation");
}

TEST(Xor, CombinesBits) {
  TestBench b;
  ASSERT_TRUE(b.exec({"x:=5", "m:=3", "XOR x,m", "XOR y,1"}));
  EXPECT_EQ(b.var("x"), "6");
  EXPECT_EQ(countLog(b, "EXOR [m] to [x]"), 1);
  EXPECT_FALSE(b.machine.table.VariableExists("y"));
}

TEST(Round, ToTheNearestIntegerWithHalvesToEven) {
  TestBench b;
  ASSERT_TRUE(b.exec({"a:=2.5", "b:=3.5", "c:=-1.5", "d:=7", "__ROUND@@ a", "__ROUND@@ b",
                      "__ROUND@@ c", "__ROUND@@ d"}));
  EXPECT_EQ(b.var("a"), "2");
  EXPECT_EQ(b.var("b"), "4");
  EXPECT_EQ(b.var("c"), "-2");
  EXPECT_EQ(b.var("d"), "7");
  TestBench c;
  EXPECT_FALSE(c.exec({"a:=abc", "__ROUND@@ a"}));
  EXPECT_EQ(c.lastMessage(), "'abc' is not a valid floating point value");
}

TEST(IntegerForm, BecomesFourBytesLowestFirst) {
  TestBench b;
  ASSERT_TRUE(b.exec({"x:=65", "__INT@@ x", "y:=##-1", "__INT@@ y"}));
  EXPECT_EQ(b.var("x"), std::string("A\0\0\0", 4));
  EXPECT_EQ(b.var("y"), std::string("\xFF\xFF\xFF\xFF", 4));
  EXPECT_EQ(countLog(b, "Make integer i386 variable: x"), 1);
  std::string address =
      trel::hexText(trel::VariableTable::addressOfSlot(b.machine.table.findSlot("x")), 2);
  EXPECT_EQ(countLog(b, address + ">>00000041"), 1);
  EXPECT_EQ(b.machine.outp, (Lines{std::string("A\0\0\0", 4), std::string("\xFF\xFF\xFF\xFF", 4)}));
}

}  // namespace
