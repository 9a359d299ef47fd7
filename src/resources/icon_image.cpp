#include "resources/icon_image.h"

#include <algorithm>

#include "resources/little_endian.h"
#include "resources/resources.h"

namespace trel {

namespace {

constexpr std::string_view kPngSignature("\x89PNG\r\n\x1A\n", 8);
constexpr int kMaxIconSide = 1024;

uint32_t readU32BigEndian(std::string_view b, size_t at) {
  return static_cast<uint32_t>(static_cast<uint8_t>(b[at])) << 24 |
         static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1])) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(b[at + 2])) << 8 |
         static_cast<uint32_t>(static_cast<uint8_t>(b[at + 3]));
}

std::optional<IconPicture> decodePng(std::string_view bytes) {
  // The signature, then the header chunk: length, "IHDR", width, height.
  if (bytes.size() < 24 || bytes.substr(12, 4) != "IHDR") return std::nullopt;
  IconPicture p;
  p.width = static_cast<int>(std::min<uint32_t>(readU32BigEndian(bytes, 16), kMaxIconSide + 1));
  p.height = static_cast<int>(std::min<uint32_t>(readU32BigEndian(bytes, 20), kMaxIconSide + 1));
  if (p.width < 1 || p.height < 1 || p.width > kMaxIconSide || p.height > kMaxIconSide)
    return std::nullopt;
  p.png.assign(bytes);
  return p;
}

}  // namespace

std::optional<IconPicture> decodeIconImage(std::string_view bytes) {
  if (bytes.substr(0, kPngSignature.size()) == kPngSignature) return decodePng(bytes);
  if (bytes.size() < 40) return std::nullopt;
  const uint32_t headerSize = readU32(bytes, 0);
  const int32_t width = static_cast<int32_t>(readU32(bytes, 4));
  const int32_t doubled = static_cast<int32_t>(readU32(bytes, 8));
  const uint16_t bits = readU16(bytes, 14);
  const uint32_t compression = readU32(bytes, 16);
  if (headerSize < 40 || headerSize > bytes.size() || width < 1 || width > kMaxIconSide ||
      doubled < 2 || doubled > 2 * kMaxIconSide || doubled % 2 != 0 || compression != 0 ||
      (bits != 32 && bits != 24))
    return std::nullopt;
  const int height = doubled / 2;
  const size_t bytesPerPixel = bits / 8;
  const size_t colourRow = (static_cast<size_t>(width) * bytesPerPixel + 3) / 4 * 4;
  const size_t maskRow = (static_cast<size_t>(width) + 31) / 32 * 4;
  const size_t colourAt = headerSize, maskAt = colourAt + colourRow * height;
  if (maskAt + maskRow * height > bytes.size()) return std::nullopt;

  IconPicture p;
  p.width = width;
  p.height = height;
  p.argb.resize(static_cast<size_t>(width) * height);
  bool anyAlpha = false;
  for (int y = 0; y < height; ++y) {
    const size_t fileRow = static_cast<size_t>(height - 1 - y);  // rows are kept bottom first
    for (int x = 0; x < width; ++x) {
      size_t at = colourAt + fileRow * colourRow + static_cast<size_t>(x) * bytesPerPixel;
      uint32_t b = static_cast<uint8_t>(bytes[at]), g = static_cast<uint8_t>(bytes[at + 1]),
               r = static_cast<uint8_t>(bytes[at + 2]);
      uint32_t a = bits == 32 ? static_cast<uint8_t>(bytes[at + 3]) : 0;
      anyAlpha |= a != 0;
      p.argb[static_cast<size_t>(y) * width + x] = a << 24 | r << 16 | g << 8 | b;
    }
  }
  // Without an alpha channel (or with one left all zero) the mask alone says what shows.
  if (!anyAlpha)
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        size_t at = maskAt + static_cast<size_t>(height - 1 - y) * maskRow + x / 8;
        bool transparent = (static_cast<uint8_t>(bytes[at]) >> (7 - x % 8)) & 1;
        if (!transparent) p.argb[static_cast<size_t>(y) * width + x] |= 0xFF000000u;
      }
  return p;
}

std::optional<IconPicture> loadProgramIcon(const std::string& executablePath) {
  try {
    ExecutableResources file = loadExecutableResources(executablePath);
    const Resource* image = file.find(kIconResource, 1);
    if (!image) return std::nullopt;
    return decodeIconImage(image->bytes);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

}  // namespace trel
