#include "resources/executable_image.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>

#include "resources/little_endian.h"
#include "resources/resources.h"

namespace trel {

namespace {

constexpr uint16_t kExecutableFile = 2, kSharedObject = 3;
constexpr uint32_t kSectionWithoutData = 8;

// The layout of the two classes of the format: header size and the offsets of the fields read.
struct Layout {
  size_t headerSize;
  size_t phoff, shoff, phentsize, phnum, shentsize, shnum;  // header fields
  size_t segmentSize, segOffset, segFileSize;               // program header fields
  size_t sectionSize, secType, secOffset, secSize;          // section header fields
  bool wide;                                                // offsets and sizes are 64 bits
};

constexpr Layout kLayout32{52, 28, 32, 42, 44, 46, 48, 32, 4, 16, 40, 4, 16, 20, false};
constexpr Layout kLayout64{64, 32, 40, 54, 56, 58, 60, 56, 8, 32, 64, 4, 24, 32, true};

uint64_t readWord(const Layout& l, std::string_view b, size_t at) {
  return l.wide ? readU64(b, at) : readU32(b, at);
}

[[noreturn]] void truncated(const std::string& path, const char* what) {
  throw ResourceError("\"" + path + "\" is truncated: its " + std::string(what) +
                      " run past the end of the file");
}

// Reads a table of `count` entries of `entrySize` bytes (at least `minEntry`) at `offset`.
std::string readTable(int fd, uint64_t fileSize, uint64_t offset, uint64_t count,
                      uint64_t entrySize, size_t minEntry, const std::string& path,
                      const char* what) {
  if (count == 0) return {};
  if (entrySize < minEntry)
    throw ResourceError("\"" + path + "\" is not a valid executable: bad " + what);
  if (offset > fileSize || count * entrySize > fileSize - offset) truncated(path, what);
  return readFileRange(fd, offset, static_cast<size_t>(count * entrySize), path);
}

}  // namespace

std::string readFileRange(int fd, uint64_t offset, size_t size, const std::string& path) {
  std::string out(size, '\0');
  size_t done = 0;
  while (done < size) {
    ssize_t n = ::pread(fd, out.data() + done, size - done, static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw ResourceError("Cannot read \"" + path + "\": " + std::strerror(errno));
    if (n == 0) throw ResourceError("\"" + path + "\" is shorter than expected");
    done += static_cast<size_t>(n);
  }
  return out;
}

uint64_t programExtent(int fd, uint64_t fileSize, const std::string& path) {
  const std::string notExecutable = "\"" + path + "\" is not an executable file";
  if (fileSize < kLayout32.headerSize) throw ResourceError(notExecutable);
  std::string head =
      readFileRange(fd, 0, static_cast<size_t>(std::min<uint64_t>(fileSize, 64)), path);
  if (head.compare(0, 4,
                   "\x7F"
                   "ELF") != 0)
    throw ResourceError(notExecutable);
  const char cls = head[4], order = head[5];
  if ((cls != 1 && cls != 2) || order != 1)
    throw ResourceError(notExecutable + " of a kind this program reads");
  const Layout& l = cls == 2 ? kLayout64 : kLayout32;
  if (head.size() < l.headerSize) truncated(path, "headers");
  const uint16_t kind = readU16(head, 16);
  if (kind != kExecutableFile && kind != kSharedObject) throw ResourceError(notExecutable);

  uint64_t extent = l.headerSize;
  auto cover = [&](uint64_t offset, uint64_t size, const char* what) {
    if (offset > fileSize || size > fileSize - offset) truncated(path, what);
    extent = std::max(extent, offset + size);
  };

  const uint64_t phoff = readWord(l, head, l.phoff), shoff = readWord(l, head, l.shoff);
  const uint64_t phnum = readU16(head, l.phnum), phentsize = readU16(head, l.phentsize);
  // A section count of 0 with a table present means the count is kept elsewhere; the table's first
  // entry still lies there.
  uint64_t shnum = readU16(head, l.shnum);
  if (shnum == 0 && shoff != 0) shnum = 1;
  const uint64_t shentsize = readU16(head, l.shentsize);

  std::string segments =
      readTable(fd, fileSize, phoff, phnum, phentsize, l.segmentSize, path, "program headers");
  if (phnum) cover(phoff, phnum * phentsize, "program headers");
  for (uint64_t k = 0; k < phnum; ++k) {
    size_t at = static_cast<size_t>(k * phentsize);
    cover(readWord(l, segments, at + l.segOffset), readWord(l, segments, at + l.segFileSize),
          "segments");
  }

  std::string sections =
      readTable(fd, fileSize, shoff, shnum, shentsize, l.sectionSize, path, "section headers");
  if (shnum) cover(shoff, shnum * shentsize, "section headers");
  for (uint64_t k = 0; k < shnum; ++k) {
    size_t at = static_cast<size_t>(k * shentsize);
    uint32_t type = readU32(sections, at + l.secType);
    if (type == 0 || type == kSectionWithoutData) continue;
    cover(readWord(l, sections, at + l.secOffset), readWord(l, sections, at + l.secSize),
          "sections");
  }
  return extent;
}

}  // namespace trel
