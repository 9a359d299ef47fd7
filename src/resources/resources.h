// Executable resources: typed, named, per-language blobs carried in a container appended to the
// end of an executable file (the program itself runs unchanged; the loader never looks past its
// own segments).
//
// Container format, version 1. All numbers are little-endian; "offsets" count from the container's
// first byte, which is the first byte after the program.
//
//   directory   count entries of 32 bytes each:
//                 +0  u32 type              (3 icon image, 6 string-table block, 14 group icon)
//                 +4  u32 language          (0 neutral, 1045 ...)
//                 +8  u32 integer name      (0 when the name is a text)
//                 +12 u32 name length       (bytes of a text name, 1 to 255; 0 for an integer name)
//                 +16 u32 name offset       (where the text name's bytes lie)
//                 +20 u32 data offset
//                 +24 u32 data size
//                 +28 u32 reserved, 0
//   names and data, in any order, each lying wholly between the directory and the trailer
//   trailer     the last 32 bytes of the file:
//                 +0  u64 container start   (file offset of the directory = size of the program)
//                 +8  u32 version           (1)
//                 +12 u32 count             (entries in the directory)
//                 +16 u32 reserved, 0
//                 +20 u32 check value       (CRC-32 of every byte from the container start up to
//                                            this field, the trailer's first 20 bytes included)
//                 +24 8 bytes magic         "TRELRSC1"
//
// No two entries have the same type, name and language. A reader checks the magic, the version,
// the check value and every offset and size against the container before it trusts any of them;
// anything out of place rejects the whole container. A file whose data runs on past the end of
// the program without a trailer is damaged or truncated, and is rejected too.
#pragma once

#include <compare>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "rtl/errors.h"

namespace trel {

inline constexpr uint32_t kIconResource = 3;
inline constexpr uint32_t kStringTableResource = 6;
inline constexpr uint32_t kGroupIconResource = 14;
inline constexpr uint32_t kNeutralLanguage = 0;

inline constexpr uint32_t kResourceContainerVersion = 1;
inline constexpr size_t kResourceEntrySize = 32;
inline constexpr size_t kResourceTrailerSize = 32;
inline constexpr size_t kMaxResourceNameLength = 255;
inline constexpr char kResourceMagic[] = "TRELRSC1";

// Why a file's resources could not be read or written; the text says which file and what is wrong.
class ResourceError : public Error {
 public:
  using Error::Error;
};

// A resource name: an integer (7, 1), or a text ("MAINICON"), compared byte for byte.
struct ResourceName {
  // Implicit, so that integer names read as plain numbers: find(kStringTableResource, 7).
  ResourceName(uint32_t number) : id(number) {}
  static ResourceName named(std::string text) {
    ResourceName n(0);
    n.text = std::move(text);
    return n;
  }
  bool isText() const { return !text.empty(); }
  std::string describe() const { return isText() ? "\"" + text + "\"" : std::to_string(id); }
  auto operator<=>(const ResourceName&) const = default;

  uint32_t id = 0;
  std::string text;  // empty for an integer name
};

struct Resource {
  uint32_t type = 0;
  ResourceName name{0};
  uint32_t language = kNeutralLanguage;
  std::string bytes;
};

// --- the container as bytes

// The container that holds `resources` when it starts at file offset `containerStart`. Throws
// ResourceError for a resource the format cannot hold (an over-long name, two with the same key).
std::string encodeResourceContainer(std::vector<Resource> resources, uint64_t containerStart);

// The trailer at the end of `fileEnd` (the last bytes of a file), or false when the file ends
// without the magic, i.e. carries no container.
struct ResourceTrailer {
  uint64_t containerStart = 0;
  uint32_t version = 0;
  uint32_t count = 0;
  uint32_t check = 0;
};
bool readResourceTrailer(std::string_view fileEnd, ResourceTrailer& trailer);

// Decodes a container; `container` runs from the container start to the end of the file. Throws
// ResourceError naming what is damaged.
std::vector<Resource> decodeResourceContainer(std::string_view container);

// --- lookups over a set of resources

// The resource of that type, name and language, or null.
const Resource* findResource(const std::vector<Resource>& resources, uint32_t type,
                             const ResourceName& name, uint32_t language);
// The resource of that type and name in language 0 when there is one, else in the lowest language
// present; null when there is none in any language.
const Resource* findResource(const std::vector<Resource>& resources, uint32_t type,
                             const ResourceName& name);

// --- files

// The resources of an executable file. Only the program's headers and the container are read,
// never the whole program.
struct ExecutableResources {
  std::string path;
  uint64_t programSize = 0;  // bytes before the container (the whole file when there is none)
  std::vector<Resource> resources;

  const Resource* find(uint32_t type, const ResourceName& name) const {
    return findResource(resources, type, name);
  }
  const Resource* find(uint32_t type, const ResourceName& name, uint32_t language) const {
    return findResource(resources, type, name, language);
  }
};

// Throws ResourceError when the file cannot be read, is not an executable, is truncated, or carries
// a damaged container. An executable without a container has no resources.
ExecutableResources loadExecutableResources(const std::string& path);
// The same, naming the file `shownAs` in its messages.
ExecutableResources loadExecutableResources(const std::string& path, const std::string& shownAs);

// An update of one file's resources that keeps the resources it already has. Nothing reaches the
// file before commit(), and commit() replaces the file in one rename, so a failure at any point
// leaves the file as it was.
class ResourceUpdate {
 public:
  // Throws ResourceError when the file does not load or cannot be written (read-only, not a
  // regular file).
  explicit ResourceUpdate(const std::string& path);
  // An update whose result goes to another file, `target` (created, or replaced whole), with
  // permissions `mode`: the program and resources of `source` with the changes written. Throws
  // ResourceError when `source` does not load.
  ResourceUpdate(const std::string& source, const std::string& target, unsigned mode);
  ~ResourceUpdate();
  ResourceUpdate(const ResourceUpdate&) = delete;
  ResourceUpdate& operator=(const ResourceUpdate&) = delete;

  // Adds the resource, replacing the one with the same type, name and language.
  void write(uint32_t type, const ResourceName& name, uint32_t language, std::string bytes);
  const std::vector<Resource>& resources() const { return loaded_.resources; }

  // Writes the program and the new container to a temporary file beside the target and renames it
  // over the target, keeping the target's permissions. Throws FileError, with the system's reason,
  // when it cannot. An update commits at most once.
  void commit();

 private:
  ExecutableResources loaded_;
  std::string target_;  // the file itself when `path` was a symbolic link
  int fd_ = -1;         // the program's bytes are copied from here, as they were at the start
  unsigned mode_ = 0;
  bool committed_ = false;
};

}  // namespace trel
