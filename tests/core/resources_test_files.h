// Small executables for the resource, builder, start-up and icon tests: a valid 64-bit ELF image
// whose one section covers a body of bytes, with or without resources, written into a temporary
// directory; and a guard that changes the current directory for one test.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "process.h"
#include "resources/little_endian.h"
#include "resources/resources.h"
#include "resources/stub_resources.h"
#include "rtl/text.h"

namespace trel::testing {

// Header (64 bytes), body, then the section table: a null section and one that covers the body.
inline std::string fakeExecutable(size_t bodySize = 100) {
  std::string out(
      "\x7F"
      "ELF",
      4);
  out += std::string{'\x02', '\x01', '\x01'};  // 64 bits, little-endian, version 1
  out.resize(16, '\0');
  appendU16(out, 2);   // an executable
  appendU16(out, 62);  // x86-64
  appendU32(out, 1);
  appendU64(out, 0);              // entry
  appendU64(out, 0);              // program headers: none
  appendU64(out, 64 + bodySize);  // section headers
  appendU32(out, 0);              // flags
  appendU16(out, 64);             // header size
  appendU16(out, 56);             // program header size
  appendU16(out, 0);              // program headers
  appendU16(out, 64);             // section header size
  appendU16(out, 2);              // sections
  appendU16(out, 0);              // section names: none
  for (size_t i = 0; i < bodySize; ++i) out.push_back(static_cast<char>(i * 7 + 1));
  out.append(64, '\0');  // the null section
  std::string section;
  appendU32(section, 0);
  appendU32(section, 1);  // program data
  appendU64(section, 0);
  appendU64(section, 0);
  appendU64(section, 64);  // offset
  appendU64(section, bodySize);
  section.resize(64, '\0');
  return out + section;
}

inline std::string withResources(const std::string& program, std::vector<Resource> resources) {
  return program + encodeResourceContainer(std::move(resources), program.size());
}

// Writes a file with the permissions of an executable.
inline std::string writeExecutable(const std::string& path, const std::string& bytes) {
  writeWholeFile(path, bytes);
  std::filesystem::permissions(path, std::filesystem::perms(0755));
  return path;
}

// A fake executable with the stub's resources, as the build gives trel.
inline std::string writeStub(const std::string& path) {
  writeExecutable(path, fakeExecutable());
  addStubResources(path);
  return path;
}

inline bool sameBytes(const std::string& path, const std::string& bytes) {
  return readWholeFile(path) == bytes;
}

}  // namespace trel::testing
