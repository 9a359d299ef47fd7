#include "resources/stub_resources.h"

#include <algorithm>
#include <cmath>

#include "resources/embedded_code.h"
#include "resources/little_endian.h"
#include "resources/resources.h"
#include "resources/string_table.h"

namespace trel {

namespace {

struct Colour {
  double r, g, b, a;
};

// Coverage of one sample point by the picture: a rounded dark tile with an orange "Q".
Colour samplePicture(double x, double y) {
  const double side = kStubIconSide;
  // Rounded tile: distance outside a square inset by the corner radius.
  const double radius = 6.0, inset = 1.0;
  double dx = std::max({inset + radius - x, x - (side - inset - radius), 0.0});
  double dy = std::max({inset + radius - y, y - (side - inset - radius), 0.0});
  if (dx * dx + dy * dy > radius * radius) return {0, 0, 0, 0};

  const double ring = std::hypot(x - 15.0, y - 14.5);
  const bool onRing = ring >= 6.0 && ring <= 9.5;
  // The tail: a stroke from the ring's lower right towards the corner.
  const double t = std::clamp(((x - 17.5) * 1.0 + (y - 17.0) * 1.0) / 2.0, 0.0, 8.0);
  const bool onTail = std::hypot(x - (17.5 + t), y - (17.0 + t)) <= 1.8;
  if (onRing || onTail) return {255, 102, 0, 255};

  const double shade = y / side;  // a gentle top-to-bottom gradient
  return {30 + 16 * shade, 42 + 21 * shade, 68 + 34 * shade, 255};
}

}  // namespace

std::string stubStringBlock() {
  return replaceStringEntry(std::string(2 * kStringsPerBlock, '\0'),
                            stringBlockIndex(kEmbeddedCodeString), toUtf16(kStubPlaceholder));
}

std::string drawStubIconImage() {
  const int side = kStubIconSide;
  const int maskRow = ((side + 31) / 32) * 4;
  std::string out;
  appendU32(out, 40);                                // header size
  appendU32(out, side);                              // width
  appendU32(out, 2 * side);                          // height of colour and mask planes
  appendU16(out, 1);                                 // planes
  appendU16(out, 32);                                // bits per pixel
  appendU32(out, 0);                                 // uncompressed
  appendU32(out, side * side * 4 + maskRow * side);  // image size
  for (int k = 0; k < 4; ++k) appendU32(out, 0);     // resolution, palette: none

  std::string mask(static_cast<size_t>(maskRow * side), '\0');
  for (int row = side - 1; row >= 0; --row) {  // bottom row first
    for (int col = 0; col < side; ++col) {
      // 4 x 4 samples per pixel smooth the edges; colours are averaged by their coverage.
      Colour sum{0, 0, 0, 0};
      for (int sy = 0; sy < 4; ++sy)
        for (int sx = 0; sx < 4; ++sx) {
          Colour c = samplePicture(col + (sx + 0.5) / 4, row + (sy + 0.5) / 4);
          sum = {sum.r + c.r * c.a, sum.g + c.g * c.a, sum.b + c.b * c.a, sum.a + c.a};
        }
      const double alpha = sum.a / 16;
      auto channel = [&](double v) {
        return static_cast<char>(sum.a > 0 ? std::lround(v / sum.a) : 0);
      };
      out.push_back(channel(sum.b));
      out.push_back(channel(sum.g));
      out.push_back(channel(sum.r));
      out.push_back(static_cast<char>(std::lround(alpha)));
      if (alpha == 0) {
        size_t at = static_cast<size_t>((side - 1 - row) * maskRow + col / 8);
        mask[at] = static_cast<char>(mask[at] | (0x80 >> (col % 8)));
      }
    }
  }
  return out + mask;
}

std::string groupIconFor(uint16_t image, uint32_t imageSize) {
  std::string out;
  appendU16(out, 0);  // reserved
  appendU16(out, 1);  // an icon (not a cursor)
  appendU16(out, 1);  // one image
  out.push_back(static_cast<char>(kStubIconSide));
  out.push_back(static_cast<char>(kStubIconSide));
  out.push_back(0);    // colours in a palette: none
  out.push_back(0);    // reserved
  appendU16(out, 1);   // planes
  appendU16(out, 32);  // bits per pixel
  appendU32(out, imageSize);
  appendU16(out, image);
  return out;
}

void addStubResources(const std::string& executablePath) {
  std::string image = drawStubIconImage();
  std::string group = groupIconFor(kMainIconImage, static_cast<uint32_t>(image.size()));
  ResourceUpdate update(executablePath);
  update.write(kStringTableResource, stringBlockName(kEmbeddedCodeString), kStubLanguage,
               stubStringBlock());
  update.write(kIconResource, kMainIconImage, kStubLanguage, std::move(image));
  update.write(kGroupIconResource, ResourceName::named(kMainIconName), kStubLanguage,
               std::move(group));
  update.commit();
}

}  // namespace trel
