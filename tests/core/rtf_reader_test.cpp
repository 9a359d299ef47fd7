// Our reader of rich text: what the help window gets from "halp.rtf", whole or damaged.
#include "help/rtf_reader.h"

#include <gtest/gtest.h>

#include "rtl/text.h"

using trel::readRtf;
using trel::RtfDocument;
using Lines = std::vector<std::string>;

namespace {

Lines texts(const RtfDocument& d) {
  Lines out;
  for (const auto& p : d.paragraphs) out.push_back(p.plainText());
  return out;
}

TEST(RtfReader, ParagraphsRunsAndTheirLook) {
  RtfDocument d = readRtf(
      "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\fmodern Courier New;}}"
      "{\\colortbl ;\\red255\\green102\\blue0;}"
      "\\pard\\qc\\fs36\\b Title\\b0\\par\n"
      "\\pard\\fs24 Plain {\\i slanted} and \\cf1 orange\\cf0  text.\\par\n"
      "{\\f1 %ECHO hi}\\line next\\par}");
  EXPECT_TRUE(d.richText);
  ASSERT_EQ(texts(d), (Lines{"Title", "Plain slanted and orange text.", "%ECHO hi\nnext"}));
  const auto& title = d.paragraphs[0];
  EXPECT_EQ(title.alignment, trel::RtfAlignment::Centre);
  EXPECT_TRUE(title.runs[0].bold);
  EXPECT_EQ(title.runs[0].halfPoints, 36);
  const auto& body = d.paragraphs[1].runs;
  ASSERT_EQ(body.size(), 5u);
  EXPECT_TRUE(body[1].italic && !body[2].italic);  // the group's look ends with the group
  EXPECT_EQ(body[3].text, "orange");
  EXPECT_EQ(body[3].colour, 0xFF6600u);
  EXPECT_FALSE(body[4].colour);
  EXPECT_TRUE(d.paragraphs[2].runs[0].fixedPitch);
  EXPECT_FALSE(d.paragraphs[2].runs[1].fixedPitch);
}

TEST(RtfReader, EscapesAndSpecialCharacters) {
  RtfDocument d = readRtf("{\\rtf1 a\\{b\\}c\\\\ caf\\'e9 \\u8364? x\\~y \\emdash\\tab z\\par}");
  EXPECT_EQ(texts(d)[0], "a{b}c\\ caf\xc3\xa9 \xe2\x82\xac x\xc2\xa0y \xe2\x80\x94\tz");
}

TEST(RtfReader, DestinationsAreNotShown) {
  RtfDocument d = readRtf(
      "{\\rtf1{\\info{\\title Secret}}{\\*\\generator Someone;}{\\stylesheet{\\s0 "
      "Normal;}}Shown\\par}");
  EXPECT_EQ(texts(d), Lines{"Shown"});
}

TEST(RtfReader, DamagedFilesGiveWhatCanBeRead) {
  // Cut off in the middle, a stray closing brace, an unknown word, a bad escape at the end.
  EXPECT_EQ(texts(readRtf("{\\rtf1 one\\par} } two\\par{\\zzz three\\'")),
            (Lines{"one", "  two", "three"}));
  // Nesting far deeper than any real file: read as flat text, no recursion.
  std::string deep = "{\\rtf1 " + std::string(200000, '{') + "deep" + std::string(10, '}');
  EXPECT_EQ(texts(readRtf(deep)), Lines{"deep"});
  std::string bytes(4096, '\0');
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7919 % 256);
  readRtf("{\\rtf1" + bytes);  // arbitrary bytes: no crash
}

TEST(RtfReader, TextThatIsNotRichTextShowsAsPlainLines) {
  RtfDocument d = readRtf("Just text\r\nsecond line\n\xe9t\xe9");
  EXPECT_FALSE(d.richText);
  EXPECT_EQ(texts(d), (Lines{"Just text", "second line", "\xc3\xa9t\xc3\xa9"}));
  EXPECT_EQ(texts(readRtf("")), Lines{""});
}

TEST(RtfReader, TheHelpFileReadsAsAGuideWithHeadings) {
  RtfDocument d = readRtf(trel::readWholeFile(TREL_SOURCE_DIR "/data/halp.rtf"));
  EXPECT_TRUE(d.richText);
  EXPECT_GT(d.paragraphs.size(), 100u);
  int headings = 0;
  std::string all;
  for (const auto& p : d.paragraphs) {
    if (!p.runs.empty() && p.runs[0].bold && p.runs[0].halfPoints >= 28) ++headings;
    all += p.plainText() + "\n";
  }
  EXPECT_GE(headings, 8);
  for (const char* topic : {"%ECHO", "formula (", "def (", "while (", "Build exe", "HALT", "CALL",
                            "%MAKE_FORM", "::formclick", "%import"})
    EXPECT_NE(all.find(topic), std::string::npos) << topic;
  // No control word leaks into the text.
  EXPECT_EQ(all.find("\\par"), std::string::npos);
  EXPECT_EQ(all.find("\\b"), std::string::npos);
}

}  // namespace
