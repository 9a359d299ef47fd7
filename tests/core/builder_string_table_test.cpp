// String-table blocks byte for byte, and WriteStringResource on files with its two errors.
#include <gtest/gtest.h>

#include <filesystem>

#include "process.h"
#include "resources/embedded_code.h"
#include "resources/string_table.h"
#include "resources/stub_resources.h"
#include "resources_test_files.h"

namespace trel {
namespace {

using testing::TempDir;
namespace fs = std::filesystem;

std::string le16(uint16_t v) {
  std::string s;
  appendU16(s, v);
  return s;
}

// An entry as bytes: the count, then each character as a little-endian code unit.
std::string entry(std::string_view text) {
  std::string s = le16(static_cast<uint16_t>(text.size()));
  for (char c : text) s += le16(static_cast<uint8_t>(c));
  return s;
}

std::string empties(int n) {
  return std::string(2 * static_cast<size_t>(n), '\0');
}

std::string errorOf(const std::function<void()>& body) {
  try {
    body();
  } catch (const std::exception& e) {
    return e.what();
  }
  return "";
}

TEST(BuilderStringTable, StubBlockHoldsThePlaceholderInEntryFive) {
  std::string block = stubStringBlock();
  EXPECT_EQ(block.size(), 44u);
  EXPECT_EQ(block, empties(5) + entry("NOCODE") + empties(10));
  EXPECT_EQ(fromUtf16(readStringEntry(block, 5)), "NOCODE");
}

TEST(BuilderStringTable, ProgramReplacesThePlaceholder) {
  // "//A" is the six digits 2F2F41; the block has 32 + 2n bytes.
  std::string block = replaceStringEntry(stubStringBlock(), 5, toUtf16(encodeEmbeddedCode("//A")));
  EXPECT_EQ(block, empties(5) + entry("2F2F41") + empties(10));
  EXPECT_EQ(block.size(), 32u + 2 * 6);

  block = replaceStringEntry(stubStringBlock(), 5, toUtf16(encodeEmbeddedCode("//A\r\n")));
  EXPECT_EQ(block, empties(5) + entry("2F2F410D0A") + empties(10));
  EXPECT_EQ(block.size(), 32u + 2 * 10);
}

TEST(BuilderStringTable, MissingBlockGetsEntriesUpToTheNewOne) {
  std::string block = replaceStringEntry("", 5, toUtf16("2F2F41"));
  EXPECT_EQ(block, empties(5) + entry("2F2F41"));
  EXPECT_EQ(block.size(), 12u + 2 * 6);
  EXPECT_EQ(replaceStringEntry("", 0, u""), empties(1));
  // A block that ends before the entry is filled up with empty entries.
  EXPECT_EQ(replaceStringEntry(entry("ab"), 3, toUtf16("x")),
            entry("ab") + empties(2) + entry("x"));
}

TEST(BuilderStringTable, OtherEntriesStayAsTheyWere) {
  const std::string before = entry("zero") + empties(2) + entry("three") + entry("four");
  const std::string after = entry("six") + empties(8) + entry("fifteen");
  std::string block = replaceStringEntry(before + entry("old five") + after, 5, toUtf16("NEW"));
  EXPECT_EQ(block, before + entry("NEW") + after);
  for (uint32_t i : {0u, 3u, 4u, 6u, 15u})
    EXPECT_EQ(readStringEntry(block, i), readStringEntry(before + entry("x") + after, i)) << i;
  // The first entry and the last one of a full block.
  EXPECT_EQ(replaceStringEntry(entry("a") + entry("b"), 0, toUtf16("c")), entry("c") + entry("b"));
  EXPECT_EQ(replaceStringEntry(empties(16), 15, toUtf16("z")), empties(15) + entry("z"));
}

TEST(BuilderStringTable, DamagedBlocksAreRefusedNotRead) {
  std::string runsPast = entry("abc").substr(0, 5);  // count 3, one code unit and a half
  EXPECT_THROW(replaceStringEntry(runsPast, 5, u"x"), Error);
  EXPECT_THROW(readStringEntry(runsPast, 5), Error);
  EXPECT_THROW(readStringEntry(runsPast, 0), Error);
  std::string odd = empties(2) + "\x01";
  EXPECT_THROW(replaceStringEntry(odd, 5, u"x"), Error);
  EXPECT_THROW(readStringEntry(odd, 5), Error);
  // The entry being replaced may itself be cut short: it goes, nothing after it is kept.
  EXPECT_EQ(replaceStringEntry(empties(5) + le16(9) + "ab", 5, toUtf16("x")),
            empties(5) + entry("x"));
  EXPECT_EQ(readStringEntry(empties(3), 5), u"");
}

TEST(BuilderStringTable, TextBeyondTheSixteenBitCountIsRefused) {
  EXPECT_NO_THROW(replaceStringEntry("", 5, std::u16string(65535, u'A')));
  EXPECT_THROW(replaceStringEntry("", 5, std::u16string(65536, u'A')), Error);
}

TEST(BuilderStringTable, EveryByteSurvivesTheCodeUnits) {
  std::string all;
  for (int c = 0; c < 256; ++c) all.push_back(static_cast<char>(c));
  EXPECT_EQ(fromUtf16(toUtf16(all)), all);
  EXPECT_EQ(fromUtf16(u"a\u20ACb"), "a?b");
}

TEST(BuilderStringTable, WriteStringResourceAddsTheNeutralBlockBesideTheStubs) {
  TempDir dir("strings");
  std::string path = testing::writeStub(dir.path() + "/built");
  WriteStringResource(path, "2F2F41", 101);
  ExecutableResources r = loadExecutableResources(path);
  EXPECT_EQ(r.find(kStringTableResource, 7, kStubLanguage)->bytes, stubStringBlock());
  EXPECT_EQ(r.find(kStringTableResource, 7, 0)->bytes, empties(5) + entry("2F2F41") + empties(10));
  EXPECT_EQ(readEmbeddedEntry(path), "2F2F41");
  EXPECT_NE(r.find(kIconResource, 1, kStubLanguage), nullptr);

  // Another string of the same block goes into the neutral block, keeping entry 5.
  WriteStringResource(path, "hi", 96);
  r = loadExecutableResources(path);
  EXPECT_EQ(r.find(kStringTableResource, 7, 0)->bytes,
            entry("hi") + empties(4) + entry("2F2F41") + empties(10));
  // A string of another block makes that block.
  WriteStringResource(path, "q", 17);
  EXPECT_EQ(loadExecutableResources(path).find(kStringTableResource, 2, 0)->bytes,
            empties(1) + entry("q"));
}

TEST(BuilderStringTable, WriteStringResourceErrorsLeaveTheFileAlone) {
  TempDir dir("strings");
  std::string text = dir.path() + "/notes.txt";
  writeWholeFile(text, "not a program");
  EXPECT_EQ(errorOf([&] { WriteStringResource(text, "41", 101); }),
            "file " + text + " failed to load.");
  EXPECT_EQ(errorOf([&] { WriteStringResource(dir.path() + "/none", "41", 101); }),
            "file " + dir.path() + "/none failed to load.");
  EXPECT_EQ(readWholeFile(text), "not a program");

  std::string stub = testing::writeStub(dir.path() + "/ro");
  std::string before = readWholeFile(stub);
  fs::permissions(stub, fs::perms(0444));
  EXPECT_EQ(errorOf([&] { WriteStringResource(stub, "41", 101); }),
            "cannot write file " + stub + ". Please check whether it is open or set read-only.");
  EXPECT_TRUE(testing::sameBytes(stub, before));

  // A damaged block is not "repaired" by padding it with zeros.
  std::string damaged = testing::writeExecutable(
      dir.path() + "/damaged",
      testing::withResources(testing::fakeExecutable(), {{6, 7, 0, le16(40)}}));
  before = readWholeFile(damaged);
  EXPECT_NE(errorOf([&] { WriteStringResource(damaged, "41", 101); }).find("damaged"),
            std::string::npos);
  EXPECT_TRUE(testing::sameBytes(damaged, before));
}

}  // namespace
}  // namespace trel
