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

// Coverage of one sample point (in the 32 x 32 design grid) by the picture.
Colour samplePicture(double x, double y) {
  const StubIconShape& s = kStubIconShape;
  const double side = kStubIconSide;
  // Rounded tile: distance outside a square inset by the corner radius.
  const double radius = s.cornerRadius, inset = s.inset;
  double dx = std::max({inset + radius - x, x - (side - inset - radius), 0.0});
  double dy = std::max({inset + radius - y, y - (side - inset - radius), 0.0});
  if (dx * dx + dy * dy > radius * radius) return {0, 0, 0, 0};

  const double ring = std::hypot(x - s.ringX, y - s.ringY);
  const bool onRing = ring >= s.ringInner && ring <= s.ringOuter;
  // The tail: a stroke from the ring's lower right towards the corner.
  const double t = std::clamp(((x - s.tailX) * 1.0 + (y - s.tailY) * 1.0) / 2.0, 0.0, s.tailLength);
  const bool onTail = std::hypot(x - (s.tailX + t), y - (s.tailY + t)) <= s.tailHalfWidth;
  if (onRing || onTail) return {s.letter[0], s.letter[1], s.letter[2], 255};

  const double shade = y / side;  // a gentle top-to-bottom gradient
  return {s.tileTop[0] + (s.tileBottom[0] - s.tileTop[0]) * shade,
          s.tileTop[1] + (s.tileBottom[1] - s.tileTop[1]) * shade,
          s.tileTop[2] + (s.tileBottom[2] - s.tileTop[2]) * shade, 255};
}

}  // namespace

std::string stubStringBlock() {
  return replaceStringEntry(std::string(2 * kStringsPerBlock, '\0'),
                            stringBlockIndex(kEmbeddedCodeString), toUtf16(kStubPlaceholder));
}

std::string drawStubIconPixels(int side) {
  const double scale = static_cast<double>(kStubIconSide) / side;
  std::string out;
  out.reserve(static_cast<size_t>(side) * side * 4);
  for (int row = 0; row < side; ++row) {
    for (int col = 0; col < side; ++col) {
      // 4 x 4 samples per pixel smooth the edges; colours are averaged by their coverage.
      Colour sum{0, 0, 0, 0};
      for (int sy = 0; sy < 4; ++sy)
        for (int sx = 0; sx < 4; ++sx) {
          Colour c = samplePicture((col + (sx + 0.5) / 4) * scale, (row + (sy + 0.5) / 4) * scale);
          sum = {sum.r + c.r * c.a, sum.g + c.g * c.a, sum.b + c.b * c.a, sum.a + c.a};
        }
      auto channel = [&](double v) {
        return static_cast<char>(sum.a > 0 ? std::lround(v / sum.a) : 0);
      };
      out.push_back(channel(sum.r));
      out.push_back(channel(sum.g));
      out.push_back(channel(sum.b));
      out.push_back(static_cast<char>(std::lround(sum.a / 16)));
    }
  }
  return out;
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

  const std::string rgba = drawStubIconPixels(side);
  std::string mask(static_cast<size_t>(maskRow * side), '\0');
  for (int row = side - 1; row >= 0; --row) {  // bottom row first
    for (int col = 0; col < side; ++col) {
      const char* p = &rgba[static_cast<size_t>((row * side + col) * 4)];
      out.push_back(p[2]);
      out.push_back(p[1]);
      out.push_back(p[0]);
      out.push_back(p[3]);
      // Transparent where no sample touched the picture (a touched pixel always has colour).
      if (p[3] == 0 && p[0] == 0 && p[1] == 0 && p[2] == 0) {
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
