// Where a program ends inside an executable file. The resource container starts there, so data
// after it without a container means the file was damaged or cut short.
#pragma once

#include <cstdint>
#include <string>

namespace trel {

// Reads `size` bytes at `offset` of an open file; throws ResourceError naming `path` when the file
// is shorter or cannot be read.
std::string readFileRange(int fd, uint64_t offset, size_t size, const std::string& path);

// The number of bytes the program occupies (its headers, segments and sections, all of which must
// lie within `fileSize`). Throws ResourceError when the file is not an executable (ELF, 32 or 64
// bits, little-endian, an executable or shared object) or when it is cut short.
uint64_t programExtent(int fd, uint64_t fileSize, const std::string& path);

}  // namespace trel
