// Little-endian fields inside byte texts. Readers assume the caller checked the bounds.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace trel {

inline uint16_t readU16(std::string_view bytes, size_t at) {
  return static_cast<uint16_t>(static_cast<uint8_t>(bytes[at]) | static_cast<uint8_t>(bytes[at + 1])
                                                                     << 8);
}

inline uint32_t readU32(std::string_view bytes, size_t at) {
  return static_cast<uint32_t>(readU16(bytes, at)) | static_cast<uint32_t>(readU16(bytes, at + 2))
                                                         << 16;
}

inline uint64_t readU64(std::string_view bytes, size_t at) {
  return static_cast<uint64_t>(readU32(bytes, at)) | static_cast<uint64_t>(readU32(bytes, at + 4))
                                                         << 32;
}

inline void appendU16(std::string& out, uint16_t value) {
  out.push_back(static_cast<char>(value & 0xFF));
  out.push_back(static_cast<char>(value >> 8));
}

inline void appendU32(std::string& out, uint32_t value) {
  appendU16(out, static_cast<uint16_t>(value & 0xFFFF));
  appendU16(out, static_cast<uint16_t>(value >> 16));
}

inline void appendU64(std::string& out, uint64_t value) {
  appendU32(out, static_cast<uint32_t>(value & 0xFFFFFFFF));
  appendU32(out, static_cast<uint32_t>(value >> 32));
}

}  // namespace trel
