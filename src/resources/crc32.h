// CRC-32 (the reflected polynomial 0xEDB88320, initial and final value all ones): the check value
// of the resource container.
#pragma once

#include <cstdint>
#include <string_view>

namespace trel {

// Continues a running check value over more bytes; start with 0.
uint32_t crc32(std::string_view bytes, uint32_t running = 0);

}  // namespace trel
