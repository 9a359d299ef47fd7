// The resource container as bytes, and lookups over a set of resources.
#include "resources/resources.h"

#include <algorithm>

#include "resources/crc32.h"
#include "resources/little_endian.h"

namespace trel {

namespace {

constexpr size_t kCheckedTrailerBytes = 20;  // the trailer's bytes the check value covers
constexpr std::string_view kMagic(kResourceMagic, 8);

bool sameKey(const Resource& a, const Resource& b) {
  return a.type == b.type && a.language == b.language && a.name == b.name;
}

bool keyLess(const Resource& a, const Resource& b) {
  if (a.type != b.type) return a.type < b.type;
  if (a.name != b.name) return a.name < b.name;
  return a.language < b.language;
}

std::string describeKey(const Resource& r) {
  return "type " + std::to_string(r.type) + ", name " + r.name.describe() + ", language " +
         std::to_string(r.language);
}

// True when [offset, offset + size) lies within [begin, end); never overflows.
bool within(uint64_t offset, uint64_t size, uint64_t begin, uint64_t end) {
  return offset >= begin && offset <= end && size <= end - offset;
}

}  // namespace

std::string encodeResourceContainer(std::vector<Resource> resources, uint64_t containerStart) {
  std::sort(resources.begin(), resources.end(), keyLess);
  for (size_t i = 0; i < resources.size(); ++i) {
    const Resource& r = resources[i];
    if (r.name.text.size() > kMaxResourceNameLength)
      throw ResourceError("The resource name " + r.name.describe() + " is longer than " +
                          std::to_string(kMaxResourceNameLength) + " bytes");
    if (i > 0 && sameKey(resources[i - 1], r))
      throw ResourceError("Two resources have the same key: " + describeKey(r));
  }

  uint64_t directorySize = resources.size() * kResourceEntrySize;
  uint64_t total = directorySize + kResourceTrailerSize;
  for (const Resource& r : resources) total += r.name.text.size() + r.bytes.size();
  if (total > UINT32_MAX) throw ResourceError("The resources do not fit into one container");

  std::string out;
  out.reserve(static_cast<size_t>(total));
  uint32_t next = static_cast<uint32_t>(directorySize);
  for (const Resource& r : resources) {
    uint32_t nameLength = static_cast<uint32_t>(r.name.text.size());
    uint32_t nameOffset = nameLength ? next : 0;
    next += nameLength;
    uint32_t dataOffset = next;
    next += static_cast<uint32_t>(r.bytes.size());
    appendU32(out, r.type);
    appendU32(out, r.language);
    appendU32(out, r.name.isText() ? 0 : r.name.id);
    appendU32(out, nameLength);
    appendU32(out, nameOffset);
    appendU32(out, dataOffset);
    appendU32(out, static_cast<uint32_t>(r.bytes.size()));
    appendU32(out, 0);
  }
  for (const Resource& r : resources) {
    out += r.name.text;
    out += r.bytes;
  }
  appendU64(out, containerStart);
  appendU32(out, kResourceContainerVersion);
  appendU32(out, static_cast<uint32_t>(resources.size()));
  appendU32(out, 0);
  appendU32(out, crc32(out));
  out += kMagic;
  return out;
}

bool readResourceTrailer(std::string_view fileEnd, ResourceTrailer& trailer) {
  if (fileEnd.size() < kResourceTrailerSize) return false;
  std::string_view t = fileEnd.substr(fileEnd.size() - kResourceTrailerSize);
  if (t.substr(24) != kMagic) return false;
  trailer.containerStart = readU64(t, 0);
  trailer.version = readU32(t, 8);
  trailer.count = readU32(t, 12);
  trailer.check = readU32(t, 20);
  return true;
}

std::vector<Resource> decodeResourceContainer(std::string_view container) {
  ResourceTrailer trailer;
  if (!readResourceTrailer(container, trailer)) throw ResourceError("its trailer is missing");
  if (trailer.version != kResourceContainerVersion)
    throw ResourceError("it has version " + std::to_string(trailer.version) +
                        ", this program reads version " +
                        std::to_string(kResourceContainerVersion));
  const uint64_t bodyEnd = container.size() - kResourceTrailerSize;
  if (crc32(container.substr(0, bodyEnd + kCheckedTrailerBytes)) != trailer.check)
    throw ResourceError("its check value does not match its contents");
  const uint64_t directoryEnd = static_cast<uint64_t>(trailer.count) * kResourceEntrySize;
  if (directoryEnd > bodyEnd)
    throw ResourceError("its directory of " + std::to_string(trailer.count) +
                        " entries runs past its end");

  std::vector<Resource> resources;
  resources.reserve(trailer.count);
  for (uint32_t k = 0; k < trailer.count; ++k) {
    const size_t e = static_cast<size_t>(k) * kResourceEntrySize;
    Resource r;
    r.type = readU32(container, e);
    r.language = readU32(container, e + 4);
    const uint32_t id = readU32(container, e + 8);
    const uint32_t nameLength = readU32(container, e + 12);
    const uint32_t nameOffset = readU32(container, e + 16);
    const uint32_t dataOffset = readU32(container, e + 20);
    const uint32_t dataSize = readU32(container, e + 24);
    const std::string entry = "entry " + std::to_string(k);
    if (nameLength > kMaxResourceNameLength || (nameLength != 0 && id != 0))
      throw ResourceError(entry + " has a malformed name");
    if (nameLength && !within(nameOffset, nameLength, directoryEnd, bodyEnd))
      throw ResourceError(entry + "'s name lies outside the container");
    if (!within(dataOffset, dataSize, directoryEnd, bodyEnd))
      throw ResourceError(entry + "'s data lies outside the container");
    if (nameLength)
      r.name = ResourceName::named(std::string(container.substr(nameOffset, nameLength)));
    else
      r.name = ResourceName(id);
    r.bytes.assign(container.substr(dataOffset, dataSize));
    resources.push_back(std::move(r));
  }

  std::vector<const Resource*> sorted;
  sorted.reserve(resources.size());
  for (const Resource& r : resources) sorted.push_back(&r);
  std::sort(sorted.begin(), sorted.end(), [](auto* a, auto* b) { return keyLess(*a, *b); });
  for (size_t i = 1; i < sorted.size(); ++i)
    if (sameKey(*sorted[i - 1], *sorted[i]))
      throw ResourceError("two entries have the same key (" + describeKey(*sorted[i]) + ")");
  return resources;
}

const Resource* findResource(const std::vector<Resource>& resources, uint32_t type,
                             const ResourceName& name, uint32_t language) {
  for (const Resource& r : resources)
    if (r.type == type && r.language == language && r.name == name) return &r;
  return nullptr;
}

const Resource* findResource(const std::vector<Resource>& resources, uint32_t type,
                             const ResourceName& name) {
  const Resource* best = nullptr;
  for (const Resource& r : resources) {
    if (r.type != type || r.name != name) continue;
    if (!best || r.language < best->language) best = &r;
  }
  return best;  // language 0, when present, is the lowest
}

}  // namespace trel
