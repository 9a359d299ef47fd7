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

// Block 7 with the placeholder in entry 5 and entries 0 to 15 present (44 bytes).
std::string stubStringBlock();
// The icon image: a 40-byte bitmap header (height doubled for the colour and mask planes), the
// 32 x 32 BGRA pixels bottom row first, and the 1-bit transparency mask (4,264 bytes).
std::string drawStubIconImage();
// A group icon that lists one image: `image` of `imageSize` bytes, 32 x 32 at 32 bits.
std::string groupIconFor(uint16_t image, uint32_t imageSize);

// Adds (or renews) the stub resources of an executable file. Throws ResourceError.
void addStubResources(const std::string& executablePath);

}  // namespace trel
