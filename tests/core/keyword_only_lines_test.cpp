// Lines that hold an instruction's keyword and nothing after it: the instruction takes an empty
// operand, and the run goes on.
#include <gtest/gtest.h>

#include "test_host.h"

using trel::testing::TestBench;
using Lines = std::vector<std::string>;

TEST(KeywordOnlyLines, RunWithAnEmptyOperand) {
  TestBench b;
  ASSERT_TRUE(b.exec({"%ECHO", "  %ECHO", "%ECHO after"})) << b.lastMessage();
  ASSERT_TRUE(b.exec({"x:=8", "x/2", "%ECHO x"})) << b.lastMessage();  // no target: nothing stored
  ASSERT_TRUE(b.exec({"VAR", "%ECHO declared"})) << b.lastMessage();
  EXPECT_EQ(b.host.printed, (Lines{"", "", "after", "8", "declared"}));
}
