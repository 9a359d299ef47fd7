// EXTS and EXTL against libqntest.so: how register values become argument bytes, what the called
// function's writes and results do to the registers, and libraries or functions that are not there.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <regex>

#include "machine/foreign_text.h"
#include "test_host.h"

using trel::testing::TestBench;

namespace {

const std::string kLib = TREL_NATIVE_TESTLIB;

std::string call(const std::string& instruction, const std::string& function) {
  return instruction + " " + kLib + "," + function;
}

std::string bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s.push_back(static_cast<char>(v));
  return s;
}

bool logHas(const TestBench& b, const std::string& line) {
  auto log = b.log();
  return std::find(log.begin(), log.end(), line) != log.end();
}

int callingLines(const TestBench& b) {
  auto log = b.log();
  return static_cast<int>(std::count_if(log.begin(), log.end(), [](const std::string& l) {
    return l.find("->CALLING") != std::string::npos;
  }));
}

// Registers set directly (values no assignment can make), then one console line.
void consoleCall(TestBench& b, const std::map<std::string, std::string>& values,
                 const std::string& line) {
  ASSERT_TRUE(b.exec({"HALT"}));
  for (const auto& [name, value] : values) {
    b.machine.table.DeclareVariable(name);
    b.machine.table.SetVariable(name, value);
  }
  b.console(line);
}

TEST(NativeArguments, IntegerValuesPassTheirFourBytesAndReplaceTheRegister) {
  TestBench b;
  ASSERT_TRUE(b.exec(
      {"RG1:=##258", "RG2:=##-2", "RG3:=##$7F", "RG4:=", "RG6:=##1", call("EXTS", "qnt_bytes")}));
  // RG5 still holds its initial "00"; the empty RG4 is passed as null.
  EXPECT_EQ(b.var("RGSTR"), "02010000 FEFFFFFF 7F000000 null 30300000");
  EXPECT_EQ(b.var("RG1"), bytes({2, 1, 0, 0}));
  EXPECT_EQ(b.var("RG2"), bytes({0xFE, 0xFF, 0xFF, 0xFF}));
  EXPECT_TRUE(logHas(b, "POINTER RG1 >> 0xA00040"));
  EXPECT_TRUE(logHas(b, "A00040>>00000102"));
  // RG6 to RG8 are resolved with their side effects but not passed.
  EXPECT_EQ(b.var("RG6"), bytes({1, 0, 0, 0}));
  EXPECT_TRUE(logHas(b, "A00180>>00000001"));
  ASSERT_EQ(b.machine.outp.size(), 4u);
  EXPECT_EQ(b.machine.outp[0], bytes({2, 1, 0, 0}));
  EXPECT_EQ(b.machine.outp[3], bytes({1, 0, 0, 0}));
}

TEST(NativeArguments, IntegerValuesThatAreNotIntegersStopTheRunBeforeAnyLoad) {
  TestBench b;
  EXPECT_FALSE(b.exec({"RG1:=##12abc", call("EXTL", "qnt_sum"), "%ECHO after"}));
  EXPECT_EQ(b.lastMessage(), "'12abc' is not a valid integer value");
  EXPECT_EQ(callingLines(b), 0);
  // Resolution comes first, so even a library that does not exist gives the error.
  EXPECT_FALSE(b.exec({"RG3:=##", "EXTL /nonexistent/libnone.so,f"}));
  EXPECT_EQ(b.lastMessage(), "'' is not a valid integer value");
  EXPECT_FALSE(b.exec({"RG8:=##99999999999", "EXTL /nonexistent/libnone.so,f"}));
  EXPECT_EQ(b.lastMessage(), "'99999999999' is not a valid integer value");
  EXPECT_TRUE(b.host.printed.empty());
}

TEST(NativeArguments, AddressValuesPassTheDigitsOfTheRegisterAddressAsBytes) {
  TestBench b;
  // RG1 lives at 0xA00040 = 10485824: the bytes 1 0 4 8 5 8 2 4.
  const std::string digits = bytes({1, 0, 4, 8, 5, 8, 2, 4});
  consoleCall(b, {{"RG1", "@@anything"}}, call("EXTS", "qnt_bytes"));
  EXPECT_EQ(b.var("RGSTR").substr(0, 8), "01000408");
  EXPECT_EQ(b.var("RG1"), "@@anything");
  EXPECT_TRUE(logHas(b, "POINTER RG1 >> 0xA00040"));
  EXPECT_EQ(b.machine.outp.back(), digits);

  // An integer whose bytes begin with "@@" goes on to the address rule.
  TestBench chained;
  ASSERT_TRUE(chained.exec({"RG1:=##16448", call("EXTS", "qnt_bytes")}));
  EXPECT_EQ(chained.var("RG1"), bytes({'@', '@', 0, 0}));
  EXPECT_EQ(chained.var("RGSTR").substr(0, 8), "01000408");
  EXPECT_EQ(chained.machine.outp.back(), digits);
}

TEST(NativeArguments, TextAtValuesPassTheNamedVariableUpToItsFirstZeroByte) {
  TestBench b;
  consoleCall(b, {{"RG1", "^^12"}, {"12", bytes({'a', 'b', 0, 'c'})}}, call("EXTS", "qnt_bytes"));
  EXPECT_EQ(b.var("RGSTR").substr(0, 8), "61620000");
  EXPECT_EQ(b.var("RG1"), "^^12");

  TestBench bad;
  consoleCall(bad, {{"RG2", "^^x"}}, call("EXTS", "qnt_bytes"));
  EXPECT_EQ(bad.lastMessage(), "'x' is not a valid integer value");
  EXPECT_EQ(callingLines(bad), 0);
}

TEST(NativeCalls, AFunctionWritingIntoItsArgumentChangesTheRegister) {
  TestBench b;
  ASSERT_TRUE(b.exec({"RG1:=hello", call("EXTL", "qnt_fill"), "%ECHO RG1", "%ECHO RG0"}));
  EXPECT_EQ(b.host.printed, (std::vector<std::string>{"HELLO", "5"}));

  // The bytes of an integer argument are the register's too: 97 ("a") becomes 65 ("A").
  TestBench n;
  ASSERT_TRUE(n.exec({"RG1:=##97", "RG2:=##0", "RG3:=##0", "RG4:=##0", "RG5:=##0",
                      call("EXTL", "qnt_fill"), call("EXTL", "qnt_sum")}));
  EXPECT_EQ(n.var("RG1"), bytes({'A', 0, 0, 0}));
  EXPECT_EQ(n.var("RG0"), "65");

  // Before the first run no register exists: the function gets the not-exists text to write
  // into, and that text stays what every absent name reads.
  TestBench fresh;
  ASSERT_TRUE(fresh.console(call("EXTL", "qnt_fill")));
  EXPECT_EQ(fresh.var("RG1"), "VARIABLE NOT EXISTS");
  EXPECT_EQ(fresh.var("anything"), "VARIABLE NOT EXISTS");
}

TEST(NativeCalls, ResultsGoToRg0AndRgstrAndTheCallIsLogged) {
  TestBench b;
  ASSERT_TRUE(b.exec({"RG1:=##-5", "RG2:=##2", "RG3:=##0", "RG4:=##0", "RG5:=##0",
                      call("EXTL", "qnt_sum"), "RG1:=there", call("EXTS", "qnt_greet")}));
  EXPECT_EQ(b.var("RG0"), "-3");
  EXPECT_EQ(b.var("RGSTR"), "Hello, there");
  std::regex line("0x[0-9A-F]{12}->CALLING  \\[qnt_sum\\] in " +
                  std::regex_replace(kLib, std::regex(R"([.^$|()\[\]{}*+?\\])"), R"(\$&)") +
                  "\\.dll");
  auto log = b.log();
  EXPECT_TRUE(std::any_of(log.begin(), log.end(),
                          [&](const std::string& l) { return std::regex_match(l, line); }));

  // A null text, or a number where a text was expected (strlen answers 3), leaves RGSTR alone.
  ASSERT_TRUE(
      b.exec({"RGSTR:=kept", call("EXTS", "qnt_null"), "RG1:=abc", "EXTS libc.so.6,strlen"}));
  EXPECT_EQ(b.var("RGSTR"), "kept");
  EXPECT_EQ(callingLines(b), 2);
}

TEST(NativeCalls, TheLibraryIsReleasedAfterTheCall) {
  TestBench b;
  ASSERT_EQ(dlopen(kLib.c_str(), RTLD_NOW | RTLD_NOLOAD), nullptr);
  ASSERT_TRUE(b.exec({call("EXTL", "qnt_sum")}));
  EXPECT_EQ(dlopen(kLib.c_str(), RTLD_NOW | RTLD_NOLOAD), nullptr);
  EXPECT_FALSE(b.exec({call("EXTL", "qnt_nowhere")}));  // a missing function ends the run
  EXPECT_EQ(dlopen(kLib.c_str(), RTLD_NOW | RTLD_NOLOAD), nullptr);
}

TEST(NativeCalls, ALibraryThatDoesNotLoadIsSkippedSilently) {
  const std::string nul("lib\0qntest", 10);
  for (const std::string& library :
       {std::string("/nonexistent/libnone.so"), std::string(), std::string(10000, 'x'), nul,
        std::string(TREL_SOURCE_DIR) + "/CMakeLists.txt"}) {
    TestBench b;
    ASSERT_TRUE(
        b.exec({"EXTL " + library + ",qnt_sum", "EXTS " + library + ",qnt_greet", "%ECHO after"}));
    EXPECT_EQ(b.var("RG0"), "00");
    EXPECT_EQ(b.var("RGSTR"), "00");
    EXPECT_EQ(callingLines(b), 0);
    EXPECT_TRUE(b.host.messages.empty());
    EXPECT_EQ(b.host.printed, std::vector<std::string>{"after"});
  }
}

TEST(NativeCalls, AMissingFunctionEndsTheRunInTheIdeAndKeepsTheEditorText) {
  const std::string nul("qnt\0sum", 7);
  // Names that cannot be called: absent, empty, huge, with a zero byte, or data rather than code.
  for (const std::string& function : {std::string("qnt_nowhere"), std::string(),
                                      std::string(10000, 'f'), nul, std::string("qnt_counter")}) {
    TestBench b;
    const std::vector<std::string> source = {"RG1:=x", call("extl", function), "%ECHO after"};
    // The run ends as after an error: its message, no closing lines.
    EXPECT_FALSE(b.run(source));
    EXPECT_EQ(b.host.messages, std::vector<std::string>{"There is no " + function + " or " + kLib});
    EXPECT_TRUE(b.host.printed.empty());
    EXPECT_FALSE(b.host.processEnded);
    EXPECT_EQ(b.machine.highlvl, source);
    EXPECT_EQ(callingLines(b), 0);
  }
}

TEST(NativeCalls, AMissingFunctionEndsAStandaloneProgram) {
  TestBench b;
  b.machine.firstArgumentPresent = false;
  ASSERT_TRUE(b.exec({call("EXTS", "qnt_nowhere"), "%ECHO after"}));
  EXPECT_EQ(b.host.messages, std::vector<std::string>{"There is no qnt_nowhere or " + kLib});
  EXPECT_TRUE(b.host.processEnded);
  EXPECT_EQ(b.host.endStatus, 1);
  EXPECT_TRUE(b.host.printed.empty());
}

TEST(ForeignText, ReadsAcrossPagesAndRefusesWhatCannotBeRead) {
  const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  char* pages = static_cast<char*>(
      mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
  ASSERT_NE(pages, MAP_FAILED);
  // A text that runs over the page boundary is read whole.
  std::fill(pages, pages + 2 * page, 'x');
  pages[page + 2] = '\0';
  EXPECT_EQ(trel::readForeignText(pages + page - 3), std::string(5, 'x'));
  // Without its zero byte before an unreadable page, it is no text at all.
  mprotect(pages + page, page, PROT_NONE);
  EXPECT_EQ(trel::readForeignText(pages + page - 3), std::nullopt);
  munmap(pages, 2 * page);
  EXPECT_EQ(trel::readForeignText(pages), std::nullopt);
  EXPECT_EQ(trel::readForeignText(reinterpret_cast<const char*>(3)), std::nullopt);
  EXPECT_EQ(trel::readForeignText(nullptr), std::nullopt);
}

}  // namespace
