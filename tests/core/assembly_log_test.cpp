#include "machine/assembly_log.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

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

// The log against a plain list of lines, through chunk ends (by bytes and by line count),
// repeated lines, a smaller and then a larger capacity, and clearing.
TEST(AssemblyLog, ReadsAsAPlainListOfTheNewestLinesWouldRead) {
  AssemblyLog log;
  std::deque<std::string> model;
  uint64_t dropped = 0;
  size_t capacity = 200000;
  log.setCapacity(capacity);
  uint32_t seed = 7;
  auto next = [&seed](uint32_t n) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 8) % n;
  };
  auto add = [&](std::string line) {
    model.push_back(std::move(line));
    if (model.size() > capacity) {
      model.pop_front();
      ++dropped;
    }
  };
  auto check = [&](bool whole) {
    ASSERT_EQ(log.droppedCount(), dropped);
    size_t offset = dropped ? 1 : 0;
    ASSERT_EQ(log.lineCount(), model.size() + offset);
    if (dropped) {
      ASSERT_EQ(log.line(0), "[" + std::to_string(dropped) + " earlier lines dropped]");
    }
    for (int probe = 0; probe < 20 && !model.empty(); ++probe) {
      size_t k = next(static_cast<uint32_t>(model.size()));
      ASSERT_EQ(log.line(k + offset), model[k]) << k;
    }
    if (!whole) return;
    std::vector<std::string> lines = log.lines();
    ASSERT_EQ(lines.size(), model.size() + offset);
    ASSERT_TRUE(std::equal(model.begin(), model.end(), lines.begin() + offset));
  };
  std::string last;
  for (int round = 0; round < 12; ++round) {
    for (int i = 0; i < 60000; ++i) {
      switch (next(8)) {
        case 0:
          log.appendLineStep(i, round);
          last = "Line: " + std::to_string(i) + " Step: " + std::to_string(round);
          break;
        case 1:
          last = std::string(next(3) == 0 ? 3000 : next(40), static_cast<char>('a' + next(26)));
          log.append(last);
          break;
        case 2:
          last.clear();
          log.append(last);
          break;
        default:
          // The interpreter's repeated "Interpreting" lines, also across a chunk's end.
          if (last.empty() && i % 2) {
            last = "Interpreting  [X" + std::to_string(i) + "]";
            log.append(last);
          } else {
            log.appendAgain(last);
          }
      }
      add(last);
    }
    check(round % 4 == 3);
    if (round == 5) {
      capacity = 5000;
      log.setCapacity(capacity);
      while (model.size() > capacity) {
        model.pop_front();
        ++dropped;
      }
      check(true);
    }
    if (round == 7) {
      // Lines dropped stay dropped when the capacity grows again.
      capacity = 200000;
      log.setCapacity(capacity);
      check(true);
    }
    if (round == 9) {
      log.clear();
      model.clear();
      dropped = 0;
      check(true);
    }
  }
  // With few lines kept, the memory of the lines beyond them goes a chunk at a time.
  log.setCapacity(10);
  for (int i = 0; i < 5000; ++i) log.append(std::string(1000, 'x'));
  EXPECT_LE(log.bytes(), size_t{3} << 20);
}
