// The resource container as bytes: what goes in comes back, lookups pick the right language, and
// every kind of damage is rejected without reading outside the bytes.
#include <gtest/gtest.h>

#include "resources/crc32.h"
#include "resources/little_endian.h"
#include "resources/resources.h"

namespace trel {
namespace {

std::vector<Resource> sample() {
  return {
      {kStringTableResource, 7, 1045, std::string("\0\0\x06\0N\0", 6)},
      {kStringTableResource, 7, 0, "zero"},
      {kIconResource, 1, 1045, std::string(4264, '\x7F')},
      {kGroupIconResource, ResourceName::named("MAINICON"), 1045, "group"},
      {99, 5, 3, ""},
  };
}

// Rewrites a 32-bit field of an encoded container and renews its check value, as a careless or
// hostile writer would, so that only the offset and size checks stand in the way.
std::string patched(std::string container, size_t at, uint32_t value) {
  std::string field;
  appendU32(field, value);
  container.replace(at, 4, field);
  const size_t trailer = container.size() - kResourceTrailerSize;
  std::string check;
  appendU32(check, crc32(std::string_view(container).substr(0, trailer + 20)));
  container.replace(trailer + 20, 4, check);
  return container;
}

TEST(ResourcesContainer, KeepsEveryResourceWithItsKeyAndBytes) {
  std::string bytes = encodeResourceContainer(sample(), 1234);
  ResourceTrailer trailer;
  ASSERT_TRUE(readResourceTrailer(bytes, trailer));
  EXPECT_EQ(trailer.containerStart, 1234u);
  EXPECT_EQ(trailer.version, 1u);
  EXPECT_EQ(trailer.count, 5u);
  EXPECT_EQ(bytes.substr(bytes.size() - 8), "TRELRSC1");

  std::vector<Resource> back = decodeResourceContainer(bytes);
  ASSERT_EQ(back.size(), 5u);
  for (const Resource& r : sample()) {
    const Resource* found = findResource(back, r.type, r.name, r.language);
    ASSERT_NE(found, nullptr) << r.name.describe();
    EXPECT_EQ(found->bytes, r.bytes);
  }
  EXPECT_TRUE(decodeResourceContainer(encodeResourceContainer({}, 0)).empty());
}

TEST(ResourcesContainer, LookupWithoutLanguagePrefersNeutralThenLowest) {
  std::vector<Resource> set = sample();
  EXPECT_EQ(findResource(set, kStringTableResource, 7)->language, 0u);
  set.push_back({kIconResource, 1, 7, "seven"});
  EXPECT_EQ(findResource(set, kIconResource, 1)->language, 7u);
  EXPECT_EQ(findResource(set, kIconResource, 2), nullptr);
  EXPECT_EQ(findResource(set, kIconResource, 1, 0), nullptr);
  // A text name and an integer name never stand for each other.
  EXPECT_EQ(findResource(set, kGroupIconResource, 0), nullptr);
  EXPECT_NE(findResource(set, kGroupIconResource, ResourceName::named("MAINICON")), nullptr);
  EXPECT_EQ(findResource(set, kGroupIconResource, ResourceName::named("mainicon")), nullptr);
}

TEST(ResourcesContainer, WriterRefusesWhatTheFormatCannotHold) {
  std::vector<Resource> twice = sample();
  twice.push_back(twice.front());
  EXPECT_THROW(encodeResourceContainer(twice, 0), ResourceError);
  EXPECT_THROW(encodeResourceContainer({{1, ResourceName::named(std::string(256, 'n')), 0, ""}}, 0),
               ResourceError);
}

TEST(ResourcesContainer, EveryChangedByteIsNoticed) {
  const std::string good = encodeResourceContainer(sample(), 64);
  for (size_t at = 0; at < good.size(); at += (at < 200 || at > good.size() - 200) ? 1 : 97) {
    std::string bad = good;
    bad[at] = static_cast<char>(bad[at] ^ 0x10);
    std::vector<Resource> out;
    ResourceTrailer trailer;
    if (!readResourceTrailer(bad, trailer)) continue;  // no magic: the file carries no container
    EXPECT_THROW(out = decodeResourceContainer(bad), ResourceError) << "byte " << at;
  }
}

TEST(ResourcesContainer, OffsetsAndSizesOutsideTheContainerAreRejected) {
  const std::string good = encodeResourceContainer(sample(), 0);
  const size_t size = good.size();
  struct Case {
    const char* what;
    size_t at;
    uint32_t value;
  };
  const Case cases[] = {
      {"data offset past the end", 20, static_cast<uint32_t>(size)},
      {"data size past the end", 24, static_cast<uint32_t>(size)},
      {"data size wrapping around", 24, 0xFFFFFFFFu},
      {"data inside the directory", 20, 0},
      {"data reaching into the trailer", 24, static_cast<uint32_t>(size - 5 * 32)},
      {"name offset past the end", 3 * 32 + 16, 0xFFFFFFF0u},
      {"name too long", 3 * 32 + 12, 300},
      {"text name with an integer name too", 3 * 32 + 8, 5},
      {"count larger than the directory", size - 32 + 12, 1000000},
      {"count near the limit", size - 32 + 12, 0xFFFFFFFFu},
      {"unknown version", size - 32 + 8, 2},
  };
  for (const Case& c : cases) {
    std::string bad = patched(good, c.at, c.value);
    EXPECT_THROW(decodeResourceContainer(bad), ResourceError) << c.what;
  }
  // The same key twice, with every offset in place.
  std::string duplicate = patched(good, 32 + 4, 1045);
  EXPECT_THROW(decodeResourceContainer(duplicate), ResourceError);
}

TEST(ResourcesContainer, ShortOrUnmarkedTailsCarryNoContainer) {
  ResourceTrailer trailer;
  EXPECT_FALSE(readResourceTrailer("", trailer));
  EXPECT_FALSE(readResourceTrailer("TRELRSC1", trailer));
  EXPECT_FALSE(readResourceTrailer(std::string(64, 'x'), trailer));
  EXPECT_THROW(decodeResourceContainer("TRELRSC1"), ResourceError);
}

TEST(ResourcesContainer, CheckValueIsTheStandardCrc32) {
  EXPECT_EQ(crc32("123456789"), 0xCBF43926u);
  EXPECT_EQ(crc32(""), 0u);
  EXPECT_EQ(crc32("56789", crc32("1234")), 0xCBF43926u);
}

}  // namespace
}  // namespace trel
