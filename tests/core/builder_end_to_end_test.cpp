// Built programs end to end: qn build makes one from a source file, the built file runs without a
// display and without the IDE, qn unpack shows what it carries, and damaged files say so.
#include <gtest/gtest.h>

#include <filesystem>

#include "process.h"
#include "resources_test_files.h"
#include "shell/main_form.h"
#include "test_host.h"

namespace trel {
namespace {

using testing::ProcessOptions;
using testing::ProcessResult;
using testing::TempDir;
namespace fs = std::filesystem;

// No display: the program runs on the terminal.
ProcessOptions headless(const std::string& dir) {
  ProcessOptions o;
  o.workingDirectory = dir;
  o.environment = {
      {"DISPLAY", std::nullopt}, {"WAYLAND_DISPLAY", std::nullopt}, {"QT_QPA_PLATFORM", ""}};
  return o;
}

struct Built {
  TempDir dir{"e2e"};
  ProcessResult qn(const std::vector<std::string>& args) {
    return testing::runProcess(TREL_QN_PATH, args, headless(dir.path()));
  }
  ProcessResult build(const std::string& source, const std::string& out) {
    dir.write("prog.qn", source);
    return qn({"build", "prog.qn", "-o", out, "--stub", TREL_TREL_PATH});
  }
  ProcessResult run(const std::string& exe, const std::vector<std::string>& args = {}) {
    return testing::runProcess(dir.path() + "/" + exe, args, headless(dir.path()));
  }
};

TEST(BuilderEndToEnd, BuiltProgramRunsWithoutADisplay) {
  Built b;
  ProcessResult r = b.build("%ECHO Hello, world!\n%ECHO second line\n", "hello.exe");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_TRUE(fs::status(b.dir.path() + "/hello.exe").permissions() != fs::perms::none);

  r = b.run("hello.exe");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "Hello, world!\nsecond line\n");
  EXPECT_EQ(r.err, "");

  // Any first argument but the exact "base.exe" still runs the program; HALT then ends only the
  // run, and the process ends after it.
  r = b.run("hello.exe", {"BASE.EXE"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "Hello, world!\nsecond line\n");
  r = b.run("hello.exe", {"base.exe"});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("needs a display"), std::string::npos);
}

TEST(BuilderEndToEnd, UnpackShowsTheTranslatedProgram) {
  Built b;
  ASSERT_EQ(b.build("%ECHO a\n%ECHO b\n", "p.exe").status, 0);
  ProcessResult translated = b.qn({"translate", "prog.qn"});
  ProcessResult r = b.qn({"unpack", "p.exe"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, translated.out);
  EXPECT_EQ(r.out, "%ECHO a\n%ECHO b\nHALT\n");
}

TEST(BuilderEndToEnd, BuildingTwiceToOneNameRunsTheSecondProgram) {
  Built b;
  ASSERT_EQ(b.build("%ECHO first\n", "same.exe").status, 0);
  ASSERT_EQ(b.build("%ECHO second\n", "same.exe").status, 0);
  EXPECT_EQ(b.run("same.exe").out, "second\n");
  EXPECT_EQ(b.qn({"unpack", "same.exe"}).out, "%ECHO second\nHALT\n");
}

TEST(BuilderEndToEnd, ProgramWithoutHaltEndsTheProcessToo) {
  Built b;
  testing::TestHost host;
  TForm1 form(host, {"base.exe"});
  form.stubFileName = TREL_TREL_PATH;
  form.buildWaitMilliseconds = 0;
  form.machine.code = {"%ECHO no halt here"};
  host.answers = {b.dir.path() + "/nohalt.exe"};
  form.Button4Click();
  ProcessResult r = b.run("nohalt.exe");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "no halt here\n");
}

TEST(BuilderEndToEnd, TheStubAloneRunsAnEmptyProgram) {
  Built b;
  fs::copy_file(TREL_TREL_PATH, b.dir.path() + "/base.exe");
  ProcessResult r = b.run("base.exe");
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err.rfind("'NO' is not a valid integer value\n", 0), 0u) << r.err;
  EXPECT_EQ(r.status, 1);
  r = b.qn({"unpack", "base.exe"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "'NO' is not a valid integer value\n");
  // qn build takes ./base.exe when no stub is named.
  b.dir.write("prog.qn", "%ECHO via base\n");
  ASSERT_EQ(b.qn({"build", "prog.qn", "-o", "viabase.exe"}).status, 0);
  EXPECT_EQ(b.run("viabase.exe").out, "via base\n");
}

TEST(BuilderEndToEnd, DamagedOrTruncatedBuiltFilesGiveAClearError) {
  Built b;
  ASSERT_EQ(b.build("%ECHO intact\n", "good.exe").status, 0);
  const std::string good = readWholeFile(b.dir.path() + "/good.exe");

  std::string flipped = good;
  flipped[good.size() - 100] ^= 0x01;
  testing::writeExecutable(b.dir.path() + "/flipped.exe", flipped);
  testing::writeExecutable(b.dir.path() + "/cut.exe", good.substr(0, good.size() - 50));
  testing::writeExecutable(b.dir.path() + "/half.exe", good.substr(0, good.size() / 2));
  for (const char* exe : {"flipped.exe", "cut.exe"}) {
    ProcessResult r = b.run(exe);
    EXPECT_EQ(r.status, 1) << exe;
    EXPECT_EQ(r.out, "") << exe;
    EXPECT_NE(r.err.find("damaged"), std::string::npos) << exe << ": " << r.err;
  }
  for (const char* exe : {"flipped.exe", "cut.exe", "half.exe"}) {
    ProcessResult r = b.qn({"unpack", exe});
    EXPECT_EQ(r.status, 2) << exe;
    EXPECT_NE(r.err.find(std::string("\"") + exe + "\""), std::string::npos) << r.err;
  }
  EXPECT_NE(b.qn({"unpack", "half.exe"}).err.find("truncated"), std::string::npos);
  b.dir.write("notes.txt", "plain text");
  EXPECT_NE(b.qn({"unpack", "notes.txt"}).err.find("is not an executable"), std::string::npos);
  ProcessResult plain = b.qn({"unpack", TREL_QN_PATH});
  EXPECT_EQ(plain.status, 2);
  EXPECT_NE(plain.err.find("no program is embedded"), std::string::npos);
}

TEST(BuilderEndToEnd, BuildCommandErrors) {
  Built b;
  b.dir.write("prog.qn", "%ECHO x\n");
  b.dir.write("notes.txt", "plain text");
  EXPECT_EQ(b.qn({"build", "prog.qn"}).status, 2);
  EXPECT_EQ(b.qn({"build", "missing.qn", "-o", "x.exe", "--stub", TREL_TREL_PATH}).status, 2);
  ProcessResult r = b.qn({"build", "prog.qn", "-o", "x.exe", "--stub", "notes.txt"});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("is not an executable"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(b.dir.path() + "/x.exe"));
  r = b.qn({"build", "prog.qn", "-o", "x.exe", "--stub", "absent"});
  EXPECT_EQ(r.status, 2);

  ASSERT_EQ(b.build("%ECHO kept\n", "ro.exe").status, 0);
  const std::string before = readWholeFile(b.dir.path() + "/ro.exe");
  fs::permissions(b.dir.path() + "/ro.exe", fs::perms(0555));
  r = b.build("%ECHO replaced\n", "ro.exe");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "cannot write file ro.exe. Please check whether it is open or set read-only.\n");
  EXPECT_TRUE(testing::sameBytes(b.dir.path() + "/ro.exe", before));
}

}  // namespace
}  // namespace trel
