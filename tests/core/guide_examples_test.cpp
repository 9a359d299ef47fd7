// The guide (data/halp.rtf): its index names every keyword and every formula function, F1 finds
// the entry of the word at the caret, and every example in it runs as printed.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "editor/help_topic.h"
#include "editor/syntax_scanner.h"
#include "formula/function_table.h"
#include "help/rtf_reader.h"
#include "process.h"
#include "rtl/text.h"

using trel::testing::ProcessOptions;
using trel::testing::ProcessResult;
using trel::testing::runProcess;
using trel::testing::TempDir;

namespace {

const trel::RtfDocument& guide() {
  static const trel::RtfDocument doc =
      trel::readRtf(trel::readWholeFile(std::string(TREL_SOURCE_DIR) + "/data/halp.rtf"));
  return doc;
}

bool isCode(const trel::RtfParagraph& p) {
  if (p.runs.empty()) return false;
  for (const trel::RtfRun& r : p.runs)
    if (!r.fixedPitch) return false;
  return true;
}

// The examples: runs of paragraphs set wholly in the fixed-pitch font, one program each.
std::vector<std::string> examples() {
  std::vector<std::string> programs;
  std::string current;
  for (const trel::RtfParagraph& p : guide().paragraphs) {
    if (isCode(p)) {
      current += p.plainText() + "\n";
    } else if (!current.empty()) {
      programs.push_back(current);
      current.clear();
    }
  }
  if (!current.empty()) programs.push_back(current);
  return programs;
}

// The names the index gives an entry to ("NAME: what it does"), after its heading.
std::set<std::string> indexEntries() {
  std::set<std::string> names;
  bool inIndex = false;
  for (const trel::RtfParagraph& p : guide().paragraphs) {
    std::string text = p.plainText();
    if (text.ends_with(". Index")) inIndex = true;
    size_t colon = text.find(": ");
    if (inIndex && colon != std::string::npos && !p.runs.empty() && p.runs[0].bold)
      names.insert(text.substr(0, colon));
  }
  return names;
}

std::vector<std::string_view> functionNames() {
  std::vector<std::string_view> names;
  for (const trel::FTableItem& f : trel::kFunctionTable) names.push_back(f.name);
  return names;
}

TEST(Guide, TheIndexHasAnEntryForEveryKeywordAndEveryFormulaFunction) {
  const std::set<std::string> entries = indexEntries();
  for (std::string_view k : trel::syntaxKeywords()) {
    std::string name(k.substr(0, k.find_last_not_of(' ') + 1));
    EXPECT_TRUE(entries.count(name)) << "keyword " << name;
  }
  for (std::string_view f : functionNames()) EXPECT_TRUE(entries.count(std::string(f))) << f;
  EXPECT_EQ(entries.size(), trel::syntaxKeywords().size() + trel::kFunctionTable.size());
}

TEST(Guide, F1FindsTheLongestKeywordOrFunctionAtTheCaret) {
  const auto functions = functionNames();
  auto at = [&](std::string_view line, size_t column) {
    return trel::helpTopicAt(line, column, functions);
  };
  EXPECT_EQ(at("formula (midstr('abc', 1, 2));", 11), "MIDSTR");
  EXPECT_EQ(at("formula (midstr('abc', 1, 2));", 0), "FORMULA");
  EXPECT_EQ(at("formula (midstr('abc', 1, 2));", 7), "FORMULA");  // right after the word
  EXPECT_EQ(at("x:=12", 2), ":=");
  EXPECT_EQ(at("new class (Point);", 5), "NEW CLASS");
  EXPECT_EQ(at("if (a > b)", 0), "IF");
  EXPECT_EQ(at("endif", 3), "ENDIF");
  EXPECT_EQ(at("variable", 1), "");  // no keyword inside a longer word
  EXPECT_EQ(at("amount", 2), "");
  EXPECT_EQ(at("x:=count", 5), "COUNT");  // a function name alone is still the function
  EXPECT_EQ(at("", 0), "");
  EXPECT_EQ(at("VAR x", 50), "");  // a caret past the end looks at the end
}

TEST(Guide, EveryExampleRunsAsPrinted) {
  const std::vector<std::string> programs = examples();
  ASSERT_GT(programs.size(), trel::kFunctionTable.size() + trel::syntaxKeywords().size());
  TempDir dir("guide");
  // The start-up directory of an installation: the sample libraries beside the programs.
  std::filesystem::copy(std::string(TREL_SOURCE_DIR) + "/lib", dir.path() + "/lib");
  ProcessOptions options;
  options.workingDirectory = dir.path();
  options.environment["TREL_SEED"] = "7";
  int n = 0;
  for (const std::string& program : programs) {
    std::string file = dir.write("example" + std::to_string(++n) + ".qn", program);
    ProcessResult r = runProcess(TREL_QN_PATH, {"run", file, "--max-steps", "200000"}, options);
    // A program that waits for a click on its window runs until someone clicks: here, until the
    // step limit.
    if (program.find("::formclick") != std::string::npos && r.status == 3) continue;
    EXPECT_EQ(r.status, 0) << program << r.out << r.err;
    // Standard error carries the message boxes a program shows, and no error.
    EXPECT_EQ(r.err.find("rror"), std::string::npos) << program << r.err;
  }
}

}  // namespace
