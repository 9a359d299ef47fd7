// Our reader of rich-text files (the help file "halp.rtf"): paragraphs of runs with bold, italic,
// underline, colour, size and a fixed-pitch flag, paragraph alignment, indent and spacing. It never
// fails: unknown control words are skipped, a damaged or cut-off file gives what could be read, and
// a file that is not rich text at all gives its lines as plain paragraphs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trel {

struct RtfRun {
  std::string text;  // valid UTF-8; "\n" is a line break inside the paragraph, "\t" a tab
  bool bold = false;
  bool italic = false;
  bool underline = false;
  std::optional<uint32_t> colour;  // 0xRRGGBB; none: the default text colour
  int halfPoints = 24;             // font size in half points
  bool fixedPitch = false;

  bool sameLook(const RtfRun& o) const {
    return bold == o.bold && italic == o.italic && underline == o.underline && colour == o.colour &&
           halfPoints == o.halfPoints && fixedPitch == o.fixedPitch;
  }
};

enum class RtfAlignment { Left, Centre, Right, Justify };

struct RtfParagraph {
  std::vector<RtfRun> runs;
  RtfAlignment alignment = RtfAlignment::Left;
  int leftIndent = 0;   // twips
  int spaceBefore = 0;  // twips
  int spaceAfter = 0;   // twips

  std::string plainText() const;
};

struct RtfDocument {
  std::vector<RtfParagraph> paragraphs;
  bool richText = false;  // the input began with "{\rtf"
};

RtfDocument readRtf(std::string_view input);

}  // namespace trel
