// New, Open, Save, Save debug log and Help: files in the start-up directory and the file dialogs.
#include <gtest/gtest.h>

#include <unistd.h>
#include <algorithm>
#include <filesystem>
#include <random>

#include "rtl/errors.h"
#include "rtl/text.h"
#include "shell/main_form.h"
#include "test_host.h"

namespace fs = std::filesystem;
using trel::testing::TestHost;
using Lines = std::vector<std::string>;

namespace {

// An IDE whose start-up directory is a fresh temporary folder with a "projects" folder in it.
class EditorFiles : public ::testing::Test {
 protected:
  TestHost host;
  trel::TForm1 form{host, {"base.exe"}};
  fs::path before = fs::current_path();
  fs::path dir;

  void SetUp() override {
    host.machine = &form.machine;
    dir = fs::temp_directory_path() /
          ("trel-editor-" + std::to_string(::getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir / "projects");
    fs::current_path(dir);
    form.machine.startupDirectory = dir.string();
  }
  void TearDown() override {
    fs::current_path(before);
    fs::remove_all(dir);
  }
  std::string path(const std::string& name) const { return (dir / name).string(); }
};

TEST_F(EditorFiles, OpenReplacesTheLinesAndKeepsTheFilesLineBreaks) {
  trel::writeWholeFile(path("projects/a.qn"), "def (main);\n%ECHO hi\nRETURN\n");
  host.answers = {path("projects/a.qn")};
  form.Button2Click();
  EXPECT_EQ(form.machine.highlvl, (Lines{"def (main);", "%ECHO hi", "RETURN"}));
  EXPECT_EQ(host.editorReplacements, 1);
  EXPECT_EQ(form.explorer, Lines{"0: main"});
  EXPECT_EQ(host.openDialogDirectories, Lines{path("projects")});
  // Saved again, the file keeps its text (no break after the last line).
  host.answers = {path("b.qn")};
  form.Button3Click();
  EXPECT_EQ(trel::readWholeFile(path("b.qn")), "def (main);\n%ECHO hi\nRETURN");
}

TEST_F(EditorFiles, AFileWithCrLfOrNoBreakAtAllSavesWithCrLf) {
  trel::writeWholeFile(path("crlf.qn"), "a\r\nb");
  trel::writeWholeFile(path("one.qn"), "only");
  host.answers = {path("crlf.qn"), path("crlf-out.qn"), path("one.qn"), path("one-out.qn")};
  form.Button2Click();
  form.Button3Click();
  form.machine.highlvl.push_back("c");
  form.Button2Click();
  form.machine.highlvl.push_back("second");
  form.Button3Click();
  EXPECT_EQ(trel::readWholeFile(path("crlf-out.qn")), "a\r\nb");
  EXPECT_EQ(trel::readWholeFile(path("one-out.qn")), "only\r\nsecond");
}

TEST_F(EditorFiles, ACancelledOrFailedOpenKeepsTheEditorText) {
  form.machine.highlvl = {"precious", "text"};
  form.Button2Click();  // no answer: cancelled
  host.answers = {path("missing.qn")};
  EXPECT_THROW(form.Button2Click(), trel::Error);
  host.answers = {path("projects")};  // a folder, not a file
  EXPECT_THROW(form.Button2Click(), trel::Error);
  EXPECT_EQ(form.machine.highlvl, (Lines{"precious", "text"}));
  EXPECT_EQ(host.editorReplacements, 0);
}

TEST_F(EditorFiles, ABinaryFileOpensByteForByte) {
  std::string bytes("x\0\x01\xfe\xff\r\ny", 8);
  trel::writeWholeFile(path("bin.qn"), bytes);
  host.answers = {path("bin.qn"), path("bin-out.qn")};
  form.Button2Click();
  form.Button3Click();
  EXPECT_EQ(trel::readWholeFile(path("bin-out.qn")), bytes);
}

TEST_F(EditorFiles, EveryDialogIsFollowedByTheStartupDirectory) {
  fs::create_directories(dir / "elsewhere");
  trel::writeWholeFile(path("projects/p.qn"), "x");
  // The dialog wanders off; the command brings the current directory back.
  host.answers = {path("projects/p.qn")};
  fs::current_path(dir / "elsewhere");
  form.Button2Click();
  EXPECT_EQ(fs::current_path(), dir);
  fs::current_path(dir / "elsewhere");
  form.Button3Click();  // cancelled
  EXPECT_EQ(fs::current_path(), dir);
  fs::current_path(dir / "elsewhere");
  host.answers = {path("nowhere/x.qn")};
  EXPECT_THROW(form.Button3Click(), trel::Error);  // failed, still restored
  EXPECT_EQ(fs::current_path(), dir);
}

TEST_F(EditorFiles, SaveFailsClearlyAndLeavesTheOldFile) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  trel::writeWholeFile(path("keep.qn"), "old");
  fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
  form.machine.highlvl = {"new"};
  host.answers = {path("keep.qn")};
  EXPECT_THROW(form.Button3Click(), trel::Error);
  fs::permissions(dir, fs::perms::owner_all);
  EXPECT_EQ(trel::readWholeFile(path("keep.qn")), "old");
}

TEST_F(EditorFiles, NewEmptiesTheEditorAndTheFunctionList) {
  form.machine.highlvl = {"def (a);"};
  form.highlvlChange();
  form.New1Click();
  EXPECT_TRUE(form.machine.highlvl.empty());
  EXPECT_TRUE(form.explorer.empty());
  EXPECT_EQ(host.editorReplacements, 1);
}

TEST_F(EditorFiles, SaveDebugLogWritesEveryLineWithCrLf) {
  form.machine.code = {"%ECHO hi"};
  form.machine.compile(trel::RunMode::Program);
  form.Button5Click();
  EXPECT_EQ(trel::readWholeFile(path("log.txt")), form.machine.debug.text());
  EXPECT_EQ(form.machine.debug.text().substr(0, 16), "Line: 0 Step: 1\r");
}

TEST_F(EditorFiles, HelpReadsHalpRtfEveryTimeAndShowsTheWindow) {
  trel::writeWholeFile(path("halp.rtf"), "{\\rtf1 one}");
  form.Button8Click();
  EXPECT_EQ(form.RichEdit1, "{\\rtf1 one}");
  EXPECT_TRUE(form.helpVisible);
  trel::writeWholeFile(path("halp.rtf"), "{\\rtf1 two}");
  form.Button8Click();
  EXPECT_EQ(form.RichEdit1, "{\\rtf1 two}");
}

TEST_F(EditorFiles, AMissingHelpFileIsAnErrorAndTheWindowStaysHidden) {
  EXPECT_THROW(form.Button8Click(), trel::Error);
  EXPECT_EQ(form.RichEdit1, "RichEdit1");
  EXPECT_FALSE(form.helpVisible);
}

}  // namespace

// The editor's text goes to the form's lines after a pause in typing, keeping the lines an edit
// did not touch: the result is the same as splitting the whole text anew, whatever the edit and
// whatever the lines held before (breaks of every kind, one split across the edit, lines that
// themselves hold a break).
TEST(EditorLines, ResplittingGivesWhatSplittingGives) {
  auto check = [](Lines before, const std::string& text) {
    const Lines was = before;
    trel::resplitAtLineBreaks(before, text);
    EXPECT_EQ(before, trel::splitAtLineBreaks(text))
        << "lines before: " << ::testing::PrintToString(was);
  };
  check({"a", "b", "c"}, "a\nb\nc");
  check({"a", "b", "c"}, "a\nx\nb\nc");
  check({"a", "b", "c"}, "a\nc");
  check({"a", "b"}, "a\r\nb");
  check({"a", "", "b"}, "a\r\nb");  // a CR and an LF joined into one break
  check({"a", "b"}, "a\r\r\nb");    // one break grown into two
  check({"a\nb", "c"}, "a\nb\nc");  // a line holding a break is not kept
  check({"", ""}, "\n");
  check({"x"}, "");
  check({}, "a\nb");
  check({"a", "b", "a", "b"}, "a\nb\na\nb\na\nb");

  // Random texts of a few letters and breaks, edited at random places.
  std::mt19937 random(15);
  const char kChars[] = {'a', 'b', '\r', '\n'};
  auto randomText = [&](size_t length) {
    std::string s;
    for (size_t i = 0; i < length; ++i) s += kChars[random() % 4];
    return s;
  };
  for (int round = 0; round < 20000; ++round) {
    const std::string text = randomText(random() % 24);
    std::string edited = text;
    const size_t at = random() % (text.size() + 1);
    edited.erase(at, random() % 3);
    edited.insert(std::min(at, edited.size()), randomText(random() % 3));
    check(round % 10 == 0 ? trel::splitAtLineBreaks(randomText(random() % 8))
                          : trel::splitAtLineBreaks(text),
          edited);
  }
}
