// trel-icon-tool OUTDIR: writes the application icon for the desktop, the same picture the stub
// carries as its program icon: OUTDIR/trel.svg (drawn from the picture's shapes) and
// OUTDIR/SIZExSIZE/trel.png for the hicolor sizes (rendered by the stub's own drawing code).
#include <png.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "resources/stub_resources.h"

namespace {

namespace fs = std::filesystem;

constexpr int kPngSides[] = {16, 24, 32, 48, 64, 128, 256};

std::string number(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", v);
  return text;
}

std::string rgb(const double (&c)[3]) {
  return "rgb(" + number(c[0]) + "," + number(c[1]) + "," + number(c[2]) + ")";
}

// The same shapes samplePicture covers: the tile, its gradient, the ring and the tail.
std::string svg() {
  const trel::StubIconShape& s = trel::kStubIconShape;
  const double side = trel::kStubIconSide;
  const double ringMiddle = (s.ringInner + s.ringOuter) / 2;
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
         number(side) + "\" height=\"" + number(side) + "\" viewBox=\"0 0 " + number(side) + " " +
         number(side) +
         "\">\n"
         "  <defs>\n"
         "    <linearGradient id=\"tile\" gradientUnits=\"userSpaceOnUse\" x1=\"0\" y1=\"0\" "
         "x2=\"0\" "
         "y2=\"" +
         number(side) +
         "\">\n"
         "      <stop offset=\"0\" stop-color=\"" +
         rgb(s.tileTop) +
         "\"/>\n"
         "      <stop offset=\"1\" stop-color=\"" +
         rgb(s.tileBottom) +
         "\"/>\n"
         "    </linearGradient>\n"
         "    <clipPath id=\"inside\"><rect x=\"" +
         number(s.inset) + "\" y=\"" + number(s.inset) + "\" width=\"" +
         number(side - 2 * s.inset) + "\" height=\"" + number(side - 2 * s.inset) + "\" rx=\"" +
         number(s.cornerRadius) +
         "\"/></clipPath>\n"
         "  </defs>\n"
         "  <rect x=\"" +
         number(s.inset) + "\" y=\"" + number(s.inset) + "\" width=\"" +
         number(side - 2 * s.inset) + "\" height=\"" + number(side - 2 * s.inset) + "\" rx=\"" +
         number(s.cornerRadius) +
         "\" fill=\"url(#tile)\"/>\n"
         "  <g clip-path=\"url(#inside)\" fill=\"none\" stroke=\"" +
         rgb(s.letter) +
         "\">\n"
         "    <circle cx=\"" +
         number(s.ringX) + "\" cy=\"" + number(s.ringY) + "\" r=\"" + number(ringMiddle) +
         "\" stroke-width=\"" + number(s.ringOuter - s.ringInner) +
         "\"/>\n"
         "    <line x1=\"" +
         number(s.tailX) + "\" y1=\"" + number(s.tailY) + "\" x2=\"" +
         number(s.tailX + s.tailLength) + "\" y2=\"" + number(s.tailY + s.tailLength) +
         "\" stroke-width=\"" + number(2 * s.tailHalfWidth) +
         "\" stroke-linecap=\"round\"/>\n"
         "  </g>\n"
         "</svg>\n";
}

bool writePng(const fs::path& path, int side) {
  std::string pixels = trel::drawStubIconPixels(side);
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(side);
  image.height = static_cast<png_uint_32>(side);
  image.format = PNG_FORMAT_RGBA;
  return png_image_write_to_file(&image, path.c_str(), 0, pixels.data(), 0, nullptr) != 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: trel-icon-tool OUTDIR\n", stderr);
    return 2;
  }
  const fs::path dir = argv[1];
  std::error_code ec;
  fs::create_directories(dir, ec);
  std::ofstream(dir / "trel.svg", std::ios::binary) << svg();
  for (int side : kPngSides) {
    fs::path folder = dir / (std::to_string(side) + "x" + std::to_string(side));
    fs::create_directories(folder, ec);
    if (!writePng(folder / "trel.png", side)) {
      std::fprintf(stderr, "trel-icon-tool: cannot write %s\n", (folder / "trel.png").c_str());
      return 1;
    }
  }
  return 0;
}
