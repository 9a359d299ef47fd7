#include "machine/assembly_log.h"

#include <gtest/gtest.h>

using trel::AssemblyLog;

TEST(AssemblyLog, KeepsLinesInOrderWithTheirExactText) {
  AssemblyLog log;
  log.append("first");
  log.appendLineStep(12, 345);
  log.appendInterpreting("cmp i,10 // é");
  log.append("");
  EXPECT_EQ(log.lines(), (std::vector<std::string>{"first", "Line: 12 Step: 345",
                                                   "Interpreting  [CMP I,10 // é]", ""}));
  EXPECT_EQ(log.text(), "first\r\nLine: 12 Step: 345\r\nInterpreting  [CMP I,10 // é]\r\n\r\n");
}

TEST(AssemblyLog, CopiesPartsOfEveryLengthAndUpperCasesOnlyAsciiLetters) {
  AssemblyLog log;
  std::string all;
  for (int c = 0; c < 256; ++c) all += static_cast<char>(c);
  std::string upper = all;
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  std::vector<std::string> expected;
  for (size_t n = 0; n <= 40; ++n) {
    std::string_view part(all.data() + 90, n), other(all.data() + 200, 40 - n);
    log.append({part, "|", other, part});
    expected.push_back(std::string(part) + "|" + std::string(other) + std::string(part));
    log.appendInterpreting(std::string_view(all).substr(n * 5, n + 17));
    expected.push_back("Interpreting  [" + upper.substr(n * 5, n + 17) + "]");
  }
  log.appendLineStep(-1, INT64_MAX);
  expected.push_back("Line: -1 Step: 9223372036854775807");
  EXPECT_EQ(log.lines(), expected);
}

TEST(AssemblyLog, DropsTheOldestLinesBeyondItsCapacityAndSaysHowMany) {
  AssemblyLog log;
  log.setCapacity(3);
  for (int i = 0; i < 10; ++i) log.append("line " + std::to_string(i));
  EXPECT_EQ(log.droppedCount(), 7u);
  EXPECT_EQ(log.lines(),
            (std::vector<std::string>{"[7 earlier lines dropped]", "line 7", "line 8", "line 9"}));
  EXPECT_EQ(log.appendedCount(), 10u);
  log.clear();
  EXPECT_EQ(log.lineCount(), 0u);
  log.append("after");
  EXPECT_EQ(log.lines(), std::vector<std::string>{"after"});
}

TEST(AssemblyLog, HoldsManyMoreLinesThanOneChunk) {
  AssemblyLog log;
  const int n = 300000;
  for (int i = 0; i < n; ++i) log.appendLineStep(i, i + 1);
  EXPECT_EQ(log.lineCount(), static_cast<size_t>(n));
  EXPECT_EQ(log.line(0), "Line: 0 Step: 1");
  EXPECT_EQ(log.line(n - 1), "Line: " + std::to_string(n - 1) + " Step: " + std::to_string(n));
  std::string big(3 << 20, 'x');  // a line longer than a chunk
  log.append(big);
  EXPECT_EQ(log.line(n), big);
}
