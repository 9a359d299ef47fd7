// Build exe on the test host: the name asked for, the copy, the entry written, and each way it can
// fail, with the target never left half-built.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "process.h"
#include "resources/embedded_code.h"
#include "resources/string_table.h"
#include "resources/stub_resources.h"
#include "resources_test_files.h"
#include "shell/main_form.h"
#include "test_host.h"

namespace trel {
namespace {

using testing::TempDir;
namespace fs = std::filesystem;

struct BuildBench {
  TempDir dir{"build"};
  testing::CurrentDirectoryScope cwd{dir.path()};
  testing::TestHost host;
  TForm1 form{host, {"base.exe"}};

  BuildBench() {
    host.machine = &form.machine;
    testing::writeStub(dir.path() + "/base.exe");
    form.buildWaitMilliseconds = 0;
    form.machine.startupDirectory = dir.path();
  }
  std::string lastMessage() const { return host.messages.empty() ? "" : host.messages.back(); }
  // Runs the command the way the IDE does: an error is shown in a message box.
  bool build(const std::vector<std::string>& code, std::optional<std::string> name) {
    form.machine.code = code;
    if (name) host.answers.push_back(*name);
    try {
      form.Button4Click();
      return true;
    } catch (const std::exception& e) {
      showError(host, e);
      return false;
    }
  }
};

TEST(BuilderBuildExe, WritesTheProgramIntoACopyOfTheStub) {
  BuildBench b;
  b.form.machine.ListBox1.assign({"%ECHO earlier run"});
  ASSERT_TRUE(b.build({"//A", "HALT"}, "prog.exe")) << b.lastMessage();
  EXPECT_EQ(b.form.Label3, "prog.exe");
  EXPECT_TRUE(b.form.machine.ListBox1.empty());
  EXPECT_TRUE(b.host.messages.empty());  // no message on success
  EXPECT_EQ(readEmbeddedEntry("prog.exe"), encodeEmbeddedCode("//A\r\nHALT"));
  EXPECT_EQ(fs::status("prog.exe").permissions(), fs::status("base.exe").permissions());
  // The stub's own block stays beside the new one.
  ExecutableResources r = loadExecutableResources("prog.exe");
  EXPECT_EQ(r.find(kStringTableResource, 7, kStubLanguage)->bytes, stubStringBlock());
  EXPECT_EQ(r.find(kStringTableResource, 7, 0)->bytes.size(), 32u + 2 * 18);
}

TEST(BuilderBuildExe, BeforeAnyTranslationTheInitialLineIsBuilt) {
  BuildBench b;
  ASSERT_TRUE(b.build(b.form.machine.code, "first.exe"));
  EXPECT_EQ(readEmbeddedEntry("first.exe"), encodeEmbeddedCode("//This is QN+"));
}

TEST(BuilderBuildExe, CancelledNameBoxBuildsUnderTheDefaultName) {
  BuildBench b;
  ASSERT_TRUE(b.build({"//A"}, std::nullopt)) << b.lastMessage();
  EXPECT_TRUE(std::regex_match(b.form.Label3, std::regex("[0-9]{1,5}_qn\\.exe")));
  EXPECT_LE(std::stoi(b.form.Label3), 65534);
  EXPECT_EQ(readEmbeddedEntry(b.form.Label3), "2F2F41");
}

TEST(BuilderBuildExe, BuildingTwiceToOneNameKeepsOnlyTheSecondProgram) {
  BuildBench b;
  ASSERT_TRUE(b.build({std::string(5000, 'x')}, "same.exe"));
  ASSERT_TRUE(b.build({"//B"}, "same.exe"));
  EXPECT_EQ(readEmbeddedEntry("same.exe"), "2F2F42");
  ExecutableResources r = loadExecutableResources("same.exe");
  EXPECT_EQ(r.resources.size(), loadExecutableResources("base.exe").resources.size() + 1);
  EXPECT_EQ(r.find(kStringTableResource, 7, 0)->bytes.size(), 32u + 2 * 6);
}

TEST(BuilderBuildExe, TooLongAProgramIsRefusedBeforeAnythingIsCopied) {
  BuildBench b;
  ASSERT_TRUE(b.build({std::string(32767, 'x')}, "largest.exe")) << b.lastMessage();
  EXPECT_EQ(readEmbeddedEntry("largest.exe").size(), 65534u);

  EXPECT_FALSE(b.build({std::string(32768, 'x')}, "toolong.exe"));
  EXPECT_NE(b.lastMessage().find("at most 32767"), std::string::npos) << b.lastMessage();
  EXPECT_FALSE(fs::exists("toolong.exe"));
  EXPECT_EQ(b.host.answers.size(), 1u);  // the name was never asked for
}

TEST(BuilderBuildExe, MissingStubOrEmptyNameFailsToLoad) {
  BuildBench b;
  ASSERT_TRUE(b.build({"//old"}, "older.exe"));
  fs::remove("base.exe");
  EXPECT_FALSE(b.build({"//A"}, "nostub.exe"));
  EXPECT_EQ(b.lastMessage(), "file nostub.exe failed to load.");
  EXPECT_FALSE(fs::exists("nostub.exe"));

  // An older program of that name is not built into when the stub is missing: it would look
  // built but run the old program.
  EXPECT_FALSE(b.build({"//A"}, "older.exe"));
  EXPECT_EQ(b.lastMessage(), "file older.exe failed to load.");
  EXPECT_EQ(readEmbeddedEntry("older.exe"), encodeEmbeddedCode("//old"));

  testing::writeStub("base.exe");
  EXPECT_FALSE(b.build({"//A"}, ""));
  EXPECT_EQ(b.lastMessage(), "file  failed to load.");
  EXPECT_FALSE(b.build({"//A"}, "no/such/folder/p.exe"));
  EXPECT_EQ(b.lastMessage(), "file no/such/folder/p.exe failed to load.");
}

TEST(BuilderBuildExe, ReadOnlyTargetIsLeftAsItWas) {
  BuildBench b;
  ASSERT_TRUE(b.build({"//A"}, "ro.exe"));
  const std::string before = readWholeFile("ro.exe");
  fs::permissions("ro.exe", fs::perms(0555));
  EXPECT_FALSE(b.build({"//B"}, "ro.exe"));
  EXPECT_EQ(b.lastMessage(),
            "cannot write file ro.exe. Please check whether it is open or set read-only.");
  EXPECT_TRUE(testing::sameBytes("ro.exe", before));
}

TEST(BuilderBuildExe, DamagedStubGivesAClearErrorAndNoBuiltFile) {
  BuildBench b;
  std::string stub = readWholeFile("base.exe");
  stub[stub.size() - 40] ^= 1;  // inside the container: the check value no longer matches
  testing::writeExecutable("base.exe", stub);
  EXPECT_FALSE(b.build({"//A"}, "fromdamaged.exe"));
  EXPECT_EQ(b.lastMessage(), "file fromdamaged.exe failed to load.");
}

}  // namespace
}  // namespace trel
