// Resources of executable files: loading checks the file as a whole (not an executable, cut
// short, damaged), and an update reaches the file whole or not at all.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "process.h"
#include "resources/resources.h"
#include "resources_test_files.h"

namespace trel {
namespace {

using testing::fakeExecutable;
using testing::TempDir;
using testing::withResources;
using testing::writeExecutable;
namespace fs = std::filesystem;

std::string loadError(const std::string& path) {
  try {
    loadExecutableResources(path);
  } catch (const ResourceError& e) {
    return e.what();
  }
  return "";
}

size_t filesIn(const std::string& dir) {
  return static_cast<size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

TEST(ResourcesFile, PlainExecutableHasNoResources) {
  TempDir dir("res");
  std::string program = fakeExecutable();
  std::string path = writeExecutable(dir.path() + "/plain", program);
  ExecutableResources r = loadExecutableResources(path);
  EXPECT_TRUE(r.resources.empty());
  EXPECT_EQ(r.programSize, program.size());

  path = writeExecutable(dir.path() + "/with", withResources(program, {{6, 7, 0, "x"}}));
  r = loadExecutableResources(path);
  ASSERT_EQ(r.resources.size(), 1u);
  EXPECT_EQ(r.programSize, program.size());
}

TEST(ResourcesFile, FilesThatAreNotExecutablesAreRejectedByName) {
  TempDir dir("res");
  std::string relocatable = fakeExecutable();
  relocatable[16] = 1;  // an object file, not a program
  std::string bigEndian = fakeExecutable();
  bigEndian[5] = 2;
  const std::pair<const char*, std::string> files[] = {
      {"text", "%ECHO hello\r\n"},
      {"empty", ""},
      {"object", relocatable},
      {"bigendian", bigEndian},
      {"short",
       "\x7F"
       "ELF\x02\x01"},
  };
  for (const auto& [name, bytes] : files) {
    std::string path = writeExecutable(dir.path() + "/" + name, bytes);
    EXPECT_NE(loadError(path).find("\"" + path + "\" is not an executable"), std::string::npos)
        << name << ": " << loadError(path);
  }
  EXPECT_NE(loadError(dir.path() + "/missing").find("Cannot open"), std::string::npos);
  EXPECT_NE(loadError(dir.path()).find("not a regular file"), std::string::npos);
}

TEST(ResourcesFile, TruncatedExecutablesAreRejectedWhereverTheyAreCut) {
  TempDir dir("res");
  const std::string program = fakeExecutable(1000);
  const std::string full = withResources(program, {{6, 7, 0, std::string(500, 'e')}});
  for (size_t cut : {size_t{40}, size_t{64}, size_t{600}, program.size() - 1, program.size() + 1,
                     program.size() + 300, full.size() - 33, full.size() - 1}) {
    std::string path = writeExecutable(dir.path() + "/cut", full.substr(0, cut));
    EXPECT_NE(loadError(path), "") << "cut at " << cut;
  }
  // A real program, cut anywhere, and its copy cut inside the appended container.
  const std::string real = readWholeFile(TREL_QN_PATH);
  for (int part = 1; part < 10; ++part) {
    std::string path =
        writeExecutable(dir.path() + "/real", real.substr(0, real.size() * part / 10));
    EXPECT_NE(loadError(path), "") << part << "/10";
  }
  const std::string stub = readWholeFile(TREL_TREL_PATH);
  std::string path = writeExecutable(dir.path() + "/stub", stub.substr(0, stub.size() - 100));
  EXPECT_NE(loadError(path).find("damaged or truncated"), std::string::npos) << loadError(path);
}

TEST(ResourcesFile, ContainerOverlappingTheProgramIsRejected) {
  TempDir dir("res");
  const std::string program = fakeExecutable();
  // A container that claims to start inside the program's section.
  std::string bytes = program + encodeResourceContainer({{6, 7, 0, "x"}}, 100);
  std::string path = writeExecutable(dir.path() + "/overlap", bytes);
  EXPECT_NE(loadError(path).find("start lies outside"), std::string::npos) << loadError(path);
}

TEST(ResourcesFile, UpdateKeepsTheProgramTheResourcesAndThePermissions) {
  TempDir dir("res");
  const std::string program = fakeExecutable();
  std::string path =
      writeExecutable(dir.path() + "/prog", withResources(program, {{6, 7, 1045, "stub"}}));
  fs::permissions(path, fs::perms(0750));
  {
    ResourceUpdate update(path);
    update.write(6, 7, 0, "built");
    update.write(kGroupIconResource, ResourceName::named("MAINICON"), 0, "g");
    update.commit();
    EXPECT_THROW(update.commit(), ResourceError);
  }
  ExecutableResources r = loadExecutableResources(path);
  EXPECT_EQ(r.programSize, program.size());
  EXPECT_EQ(readWholeFile(path).substr(0, program.size()), program);
  EXPECT_EQ(r.find(6, 7, 1045)->bytes, "stub");
  EXPECT_EQ(r.find(6, 7)->bytes, "built");
  EXPECT_EQ(r.find(kGroupIconResource, ResourceName::named("MAINICON"))->bytes, "g");
  EXPECT_EQ(fs::status(path).permissions(), fs::perms(0750));

  ResourceUpdate again(path);
  again.write(6, 7, 0, "rebuilt");
  again.commit();
  r = loadExecutableResources(path);
  EXPECT_EQ(r.resources.size(), 3u);
  EXPECT_EQ(r.find(6, 7)->bytes, "rebuilt");
  EXPECT_EQ(filesIn(dir.path()), 1u);  // no temporary file left behind
}

TEST(ResourcesFile, NothingReachesTheFileWithoutACommit) {
  TempDir dir("res");
  const std::string before = withResources(fakeExecutable(), {{6, 7, 1045, "stub"}});
  std::string path = writeExecutable(dir.path() + "/prog", before);
  {
    ResourceUpdate update(path);
    update.write(6, 7, 0, "never");
  }
  EXPECT_TRUE(testing::sameBytes(path, before));
  EXPECT_EQ(filesIn(dir.path()), 1u);

  // A commit that cannot write (the folder went away) says so and leaves the file alone.
  ResourceUpdate update(path);
  update.write(6, 7, 0, "lost");
  fs::rename(dir.path(), dir.path() + "-moved");
  EXPECT_THROW(update.commit(), trel::FileError);
  fs::rename(dir.path() + "-moved", dir.path());
  EXPECT_TRUE(testing::sameBytes(path, before));
  EXPECT_EQ(filesIn(dir.path()), 1u);
}

TEST(ResourcesFile, ReadOnlyFilesAreNotUpdated) {
  TempDir dir("res");
  const std::string before = fakeExecutable();
  std::string path = writeExecutable(dir.path() + "/prog", before);
  fs::permissions(path, fs::perms(0555));
  EXPECT_THROW(ResourceUpdate{path}, ResourceError);
  EXPECT_TRUE(testing::sameBytes(path, before));
  EXPECT_THROW(ResourceUpdate{dir.path() + "/missing"}, ResourceError);
}

TEST(ResourcesFile, UpdateThroughALinkChangesTheFileItNames) {
  TempDir dir("res");
  std::string path = writeExecutable(dir.path() + "/prog", fakeExecutable());
  fs::create_symlink("prog", dir.path() + "/link");
  ResourceUpdate update(dir.path() + "/link");
  update.write(6, 7, 0, "via link");
  update.commit();
  EXPECT_TRUE(fs::is_symlink(dir.path() + "/link"));
  EXPECT_EQ(loadExecutableResources(path).find(6, 7)->bytes, "via link");
}

TEST(ResourcesFile, ARealProgramStillRunsWithResourcesAppended) {
  TempDir dir("res");
  std::string path = writeExecutable(dir.path() + "/qn", readWholeFile(TREL_QN_PATH));
  ResourceUpdate update(path);
  update.write(kIconResource, 1, 0, std::string(5000, 'i'));
  update.commit();
  EXPECT_EQ(loadExecutableResources(path).find(kIconResource, 1)->bytes.size(), 5000u);
  testing::ProcessResult r = testing::runProcess(path, {"--help"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("qn build FILE"), std::string::npos);
}

}  // namespace
}  // namespace trel
