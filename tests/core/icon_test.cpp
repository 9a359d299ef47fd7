// Icons: TIconModifier copying image 1 between executables, the icon command's dialogs and
// messages, the stub's drawn icon, and reading an icon image as a picture for a window.
#include <gtest/gtest.h>

#include <filesystem>

#include "process.h"
#include "resources/icon_image.h"
#include "resources/icon_modify_unit.h"
#include "resources/stub_resources.h"
#include "resources_test_files.h"
#include "shell/main_form.h"
#include "test_host.h"

namespace trel {
namespace {

using testing::TempDir;
namespace fs = std::filesystem;

// A 24-bit 2 x 2 icon image: bottom row blue, white; top row red, green; the top right masked.
std::string tinyImage() {
  std::string out;
  appendU32(out, 40);
  appendU32(out, 2);
  appendU32(out, 4);
  appendU16(out, 1);
  appendU16(out, 24);
  out.append(24, '\0');
  out += std::string("\xFF\x00\x00\xFF\xFF\xFF\x00\x00", 8);  // bottom row, padded to 8 bytes
  out += std::string("\x00\x00\xFF\x00\xFF\x00\x00\x00", 8);  // top row
  out += std::string("\x00\x00\x00\x00", 4);                  // mask, bottom row
  out += std::string("\x40\x00\x00\x00", 4);                  // mask, top row: right pixel clear
  return out;
}

struct IconFiles {
  TempDir dir{"icon"};
  std::string source = testing::writeExecutable(
      dir.path() + "/source",
      testing::withResources(testing::fakeExecutable(), {{kIconResource, 1, 1033, tinyImage()}}));
  std::string dest = testing::writeStub(dir.path() + "/dest");
};

TEST(IconModifier, CopiesImageOneBesideTheDestinationsOwn) {
  IconFiles f;
  TIconModifier m;
  m.SetSourceFile(f.source);
  m.SetDestFile(f.dest);
  ASSERT_TRUE(m.ChangeIcon(0, 0));
  ExecutableResources r = loadExecutableResources(f.dest);
  EXPECT_EQ(r.find(kIconResource, 1, 0)->bytes, tinyImage());
  EXPECT_EQ(r.find(kIconResource, 1, kStubLanguage)->bytes, drawStubIconImage());
  // The group icon is not adjusted to the new image's size.
  EXPECT_EQ(r.find(kGroupIconResource, ResourceName::named(kMainIconName))->bytes,
            groupIconFor(1, 4264));
  // The window icon is now the copied one.
  std::optional<IconPicture> shown = loadProgramIcon(f.dest);
  ASSERT_TRUE(shown);
  EXPECT_EQ(shown->width, 2);

  // Other numbers: image 2 of the source does not exist; image 1 goes to image 3.
  EXPECT_FALSE(m.ChangeIcon(1, 0));
  EXPECT_TRUE(m.ChangeIcon(0, 2));
  EXPECT_NE(loadExecutableResources(f.dest).find(kIconResource, 3, 0), nullptr);
}

TEST(IconModifier, SourceAndDestinationMayBeOneFile) {
  IconFiles f;
  TIconModifier m;
  m.SetSourceFile(f.dest);
  m.SetDestFile(f.dest);
  ASSERT_TRUE(m.ChangeIcon(0, 0));  // the stub's image, now also in language 0
  ASSERT_TRUE(m.ChangeIcon(0, 0));  // and rewritten with its own bytes
  EXPECT_EQ(loadExecutableResources(f.dest).find(kIconResource, 1, 0)->bytes, drawStubIconImage());
}

TEST(IconModifier, EveryFailureLeavesTheDestinationUnchanged) {
  IconFiles f;
  const std::string before = readWholeFile(f.dest);
  std::string text = f.dir.path() + "/text.txt";
  writeWholeFile(text, "no program");
  std::string noIcon = testing::writeExecutable(f.dir.path() + "/plain", testing::fakeExecutable());
  std::string readOnly = testing::writeStub(f.dir.path() + "/readonly");
  fs::permissions(readOnly, fs::perms(0444));
  const std::string readOnlyBefore = readWholeFile(readOnly);

  struct Case {
    const char* what;
    std::string source, dest;
    int sourceIndex, destIndex;
  };
  const Case cases[] = {
      {"both dialogs cancelled", "", "", 0, 0},
      {"destination cancelled", f.source, "", 0, 0},
      {"source cancelled", "", f.dest, 0, 0},
      {"source without icon image 1", noIcon, f.dest, 0, 0},
      {"source not a program", text, f.dest, 0, 0},
      {"destination not a program", f.source, text, 0, 0},
      {"read-only destination", f.source, readOnly, 0, 0},
      {"negative source index", f.source, f.dest, -1, 0},
      {"negative destination index", f.source, f.dest, 0, -1},
      {"index past the last name", f.source, f.dest, 0, 2147483647},
  };
  for (const Case& c : cases) {
    TIconModifier m;
    if (!c.source.empty()) m.SetSourceFile(c.source);
    if (!c.dest.empty()) m.SetDestFile(c.dest);
    EXPECT_FALSE(m.ChangeIcon(c.sourceIndex, c.destIndex)) << c.what;
  }
  EXPECT_TRUE(testing::sameBytes(f.dest, before));
  EXPECT_TRUE(testing::sameBytes(readOnly, readOnlyBefore));
  EXPECT_EQ(readWholeFile(text), "no program");
}

// A host whose file dialogs wander off into another folder, as a real one may.
class WanderingHost : public testing::TestHost {
 public:
  std::string elsewhere;
  std::optional<std::string> openFileDialog(const FileDialogRequest& request) override {
    filters.push_back(request.filter);
    fs::current_path(elsewhere);
    return TestHost::openFileDialog(request);
  }
  std::vector<std::string> filters;
};

TEST(IconCommand, AsksForBothFilesAndReportsTheOutcome) {
  IconFiles f;
  fs::create_directory(f.dir.path() + "/other");
  testing::CurrentDirectoryScope cwd(f.dir.path());
  WanderingHost host;
  host.elsewhere = f.dir.path() + "/other";
  TForm1 form(host, {"base.exe"});
  form.machine.startupDirectory = f.dir.path();

  host.answers = {f.source, f.dest};
  form.Button10Click();
  EXPECT_EQ(host.messages,
            (std::vector<std::string>{"Show me file with icon", "Show me destination file",
                                      "info: successful."}));
  EXPECT_EQ(host.filters, (std::vector<std::string>{"Source|*.qn|Icon file|*.exe",
                                                    "Source|*.qn|Icon file|*.exe"}));
  EXPECT_EQ(fs::current_path(), fs::path(f.dir.path()));
  EXPECT_EQ(loadExecutableResources(f.dest).find(kIconResource, 1, 0)->bytes, tinyImage());

  host.messages.clear();
  const std::string before = readWholeFile(f.dest);
  form.Button10Click();  // both dialogs cancelled
  EXPECT_EQ(host.messages.back(), "info: fail.");
  EXPECT_EQ(fs::current_path(), fs::path(f.dir.path()));
  EXPECT_TRUE(testing::sameBytes(f.dest, before));
}

TEST(IconStub, DrawnImageHasTheSizeAndHeaderTheGroupIconDescribes) {
  const std::string image = drawStubIconImage();
  ASSERT_EQ(image.size(), 4264u);
  EXPECT_EQ(readU32(image, 0), 40u);
  EXPECT_EQ(readU32(image, 4), 32u);
  EXPECT_EQ(readU32(image, 8), 64u);
  EXPECT_EQ(readU16(image, 12), 1u);
  EXPECT_EQ(readU16(image, 14), 32u);
  EXPECT_EQ(readU32(image, 16), 0u);

  const std::string group = groupIconFor(kMainIconImage, 4264);
  ASSERT_EQ(group.size(), 20u);
  EXPECT_EQ(readU16(group, 2), 1u);  // an icon
  EXPECT_EQ(readU16(group, 4), 1u);  // of one image
  EXPECT_EQ(static_cast<uint8_t>(group[6]), 32u);
  EXPECT_EQ(static_cast<uint8_t>(group[7]), 32u);
  EXPECT_EQ(readU16(group, 12), 32u);
  EXPECT_EQ(readU32(group, 14), 4264u);
  EXPECT_EQ(readU16(group, 18), 1u);  // image 1
}

TEST(IconStub, TheBuiltTrelCarriesTheStubResources) {
  ExecutableResources r = loadExecutableResources(TREL_TREL_PATH);
  EXPECT_EQ(r.find(kStringTableResource, 7, kStubLanguage)->bytes, stubStringBlock());
  EXPECT_EQ(r.find(kIconResource, 1, kStubLanguage)->bytes, drawStubIconImage());
  EXPECT_EQ(r.find(kGroupIconResource, ResourceName::named("MAINICON"), kStubLanguage)->bytes,
            groupIconFor(1, 4264));
  EXPECT_EQ(r.resources.size(), 3u);
  const std::string base = (fs::path(TREL_TREL_PATH).parent_path() / "base.exe").string();
  EXPECT_EQ(readWholeFile(base), readWholeFile(TREL_TREL_PATH));
}

TEST(IconPicture, StubIconShowsATileWithTransparentCorners) {
  std::optional<IconPicture> p = decodeIconImage(drawStubIconImage());
  ASSERT_TRUE(p);
  ASSERT_EQ(p->width, 32);
  ASSERT_EQ(p->height, 32);
  ASSERT_EQ(p->argb.size(), 1024u);
  EXPECT_EQ(p->argb[0] >> 24, 0u);                // top left corner
  EXPECT_EQ(p->argb[31 * 32 + 31] >> 24, 0u);     // bottom right corner
  EXPECT_EQ(p->argb[16 * 32 + 2] >> 24, 0xFFu);   // the tile's left edge
  EXPECT_EQ(p->argb[14 * 32 + 7], 0xFFFF6600u);   // on the orange ring
  EXPECT_NE(p->argb[14 * 32 + 15], 0xFFFF6600u);  // the ring's hole
  EXPECT_TRUE(p->png.empty());
}

TEST(IconPicture, MaskGivesTransparencyWithoutAlpha) {
  std::optional<IconPicture> p = decodeIconImage(tinyImage());
  ASSERT_TRUE(p);
  EXPECT_EQ(p->argb, (std::vector<uint32_t>{0xFFFF0000u, 0x0000FF00u, 0xFF0000FFu, 0xFFFFFFFFu}));
}

TEST(IconPicture, ImagesItCannotShowAreNothingNotACrash) {
  const std::string good = drawStubIconImage();
  for (size_t cut = 0; cut < good.size(); cut += 97)
    EXPECT_FALSE(decodeIconImage(good.substr(0, cut))) << cut;
  std::string eightBits = good;
  eightBits[14] = 8;
  EXPECT_FALSE(decodeIconImage(eightBits));
  std::string huge = good;
  huge[5] = 0x7F;  // width far beyond any icon
  EXPECT_FALSE(decodeIconImage(huge));
  std::string negative = good;
  negative[11] = '\x80';
  EXPECT_FALSE(decodeIconImage(negative));

  std::string png("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\0\x30\0\0\0\x30", 24);
  std::optional<IconPicture> p = decodeIconImage(png);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->width, 48);
  EXPECT_EQ(p->png, png);
  EXPECT_FALSE(decodeIconImage(png.substr(0, 20)));
  EXPECT_FALSE(loadProgramIcon("/no/such/file"));
}

}  // namespace
}  // namespace trel
