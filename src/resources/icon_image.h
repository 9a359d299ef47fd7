// Icon images as pictures, for the window icon of a standalone program. An icon image resource is
// either a bitmap (a 40-byte header whose height counts the colour and the mask planes, the
// pixels bottom row first, then a 1-bit mask where 1 is transparent) or a PNG file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trel {

struct IconPicture {
  int width = 0;
  int height = 0;
  // Bitmaps: the pixels top row first, each 0xAARRGGBB (straight alpha). Empty for a PNG image.
  std::vector<uint32_t> argb;
  // PNG images: the file's bytes, for a toolkit to decode.
  std::string png;
};

// Reads an icon image of 24 or 32 bits per pixel, or a PNG image; nothing for anything else or for
// bytes too short for what their header says.
std::optional<IconPicture> decodeIconImage(std::string_view bytes);

// Icon image 1 of an executable file (language 0 when present, else its own), or nothing when the
// file has no readable one. Never throws: a program without its icon still runs.
std::optional<IconPicture> loadProgramIcon(const std::string& executablePath);

}  // namespace trel
