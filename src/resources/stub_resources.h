// The resources every copy of the runtime stub carries, written onto the trel executable when it
// is built: string-table block 7 in language 1045 whose entry 5 holds a placeholder that is not
// hexadecimal (so a stub that was never built into runs an empty program), and the program's
// icon: group icon "MAINICON" naming icon image 1, a 32 x 32 image at 32 bits per pixel, both in
// language 1045.
#pragma once

#include <cstdint>
#include <string>

namespace trel {

inline constexpr uint32_t kStubLanguage = 1045;
inline constexpr char kStubPlaceholder[] = "NOCODE";
inline constexpr char kMainIconName[] = "MAINICON";
inline constexpr uint32_t kMainIconImage = 1;
inline constexpr int kStubIconSide = 32;

// The program icon's drawing on its 32 x 32 design grid: a rounded dark tile with a top-to-bottom
// gradient and an orange "Q" (a ring and a diagonal tail). The stub's image and the desktop icons
// (drawn at other sizes, and as SVG) all come from it.
struct StubIconShape {
  double inset, cornerRadius;                      // the tile
  double tileTop[3], tileBottom[3];                // its gradient, RGB
  double ringX, ringY, ringInner, ringOuter;       // the ring: centre, radii
  double tailX, tailY, tailLength, tailHalfWidth;  // the tail: start, run along x and y, width
  double letter[3];                                // the letter's colour, RGB
};
inline constexpr StubIconShape kStubIconShape = {1.0,  6.0, {30, 42, 68}, {46, 63, 102}, 15.0,
                                                 14.5, 6.0, 9.5,          17.5,          17.0,
                                                 8.0,  1.8, {255, 102, 0}};

// Block 7 with the placeholder in entry 5 and entries 0 to 15 present (44 bytes).
std::string stubStringBlock();
// The icon image: a 40-byte bitmap header (height doubled for the colour and mask planes), the
// 32 x 32 BGRA pixels bottom row first, and the 1-bit transparency mask (4,264 bytes).
std::string drawStubIconImage();
// The same picture at `side` x `side` pixels: RGBA, 4 bytes a pixel, top row first, colours not
// premultiplied. At 32 it is exactly the stub's image.
std::string drawStubIconPixels(int side);
// A group icon that lists one image: `image` of `imageSize` bytes, 32 x 32 at 32 bits.
std::string groupIconFor(uint16_t image, uint32_t imageSize);

// Adds (or renews) the stub resources of an executable file. Throws ResourceError.
void addStubResources(const std::string& executablePath);

}  // namespace trel
