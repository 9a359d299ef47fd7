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

// Strict UTF-8: shortest forms only, no surrogates, nothing beyond U+10FFFF.
bool validUtf8(std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    size_t extra = c < 0x80                 ? 0
                   : c >= 0xC2 && c <= 0xDF ? 1
                   : (c & 0xF0) == 0xE0     ? 2
                   : c >= 0xF0 && c <= 0xF4 ? 3
                                            : 9;
    if (extra == 9 || s.size() - i <= extra) return false;
    uint32_t cp = extra == 0 ? c : c & (0x3F >> extra);
    for (size_t k = 1; k <= extra; ++k) {
      unsigned char t = static_cast<unsigned char>(s[i + k]);
      if ((t & 0xC0) != 0x80) return false;
      cp = cp << 6 | (t & 0x3F);
    }
    if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF))
      return false;
    i += extra + 1;
  }
  return true;
}

bool allTextValid(const RtfDocument& d) {
  for (const auto& p : d.paragraphs)
    for (const auto& r : p.runs)
      if (!validUtf8(r.text)) return false;
  return true;
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

TEST(RtfReader, EveryCutOfADocumentReadsAsValidText) {
  const std::string whole =
      "{\\rtf1\\ansi{\\fonttbl{\\f0\\fmodern Courier;}}{\\colortbl ;\\red1\\green2\\blue3;}"
      "{\\*\\generator x;}\\pard\\qc\\li720\\sb120\\fs36\\b Head\\b0\\par "
      "{\\f0\\cf1 caf\\'e9 \\u8364? \\uc2\\u-10179??\\u-8704??}\\line\\tab\\~\\{\\}\\\\\\par}";
  ASSERT_EQ(texts(readRtf(whole)).size(), 2u);
  for (size_t n = 0; n <= whole.size(); ++n) {
    RtfDocument d = readRtf(whole.substr(0, n));
    EXPECT_TRUE(allTextValid(d)) << "cut after " << n << " bytes";
    EXPECT_FALSE(d.paragraphs.empty());
  }
  EXPECT_EQ(texts(readRtf("{\\rtf")), Lines{""});
  EXPECT_EQ(texts(readRtf("{\\rtf1 a\\")), Lines{"a"});
  EXPECT_EQ(texts(readRtf("{\\rtf1 a\\u")), Lines{"a"});
  EXPECT_EQ(texts(readRtf("{\\rtf1 a\\u-")), Lines{"a"});
}

TEST(RtfReader, DeepNestingReadsFlatAndTheOuterLookComesBack) {
  const size_t depth = 5000;
  std::string rtf = "{\\rtf1 ";
  for (size_t i = 0; i < depth; ++i) rtf += "{\\b ";
  rtf += "x" + std::string(depth, '}') + " y\\par}";
  RtfDocument d = readRtf(rtf);
  ASSERT_EQ(texts(d), Lines{"x y"});
  ASSERT_EQ(d.paragraphs[0].runs.size(), 2u);
  EXPECT_TRUE(d.paragraphs[0].runs[0].bold);
  EXPECT_FALSE(d.paragraphs[0].runs[1].bold);
}

TEST(RtfReader, HugeNumbersInControlWordsStayInRange) {
  RtfDocument d = readRtf(
      "{\\rtf1{\\colortbl ;\\red99999999999\\green-99999999999\\blue0;}"
      "\\li-99999999999\\sb99999999999\\fs99999999999999999999 a"
      "\\cf99999999999 b\\cf1 c\\f-99999999999 d\\par}");
  ASSERT_EQ(texts(d), Lines{"abcd"});
  const auto& p = d.paragraphs[0];
  EXPECT_EQ(p.leftIndent, 0);
  EXPECT_EQ(p.spaceBefore, 20000);
  EXPECT_EQ(p.runs[0].halfPoints, 400);
  EXPECT_FALSE(p.runs[0].colour);
  ASSERT_GE(p.runs.size(), 2u);
  EXPECT_TRUE(p.runs[1].colour);
}

TEST(RtfReader, UnicodeEscapesGiveValidCharactersOnly) {
  // A pair of surrogates is one character beyond the first plane; a lone half, or a value no
  // 16-bit unit has, is the replacement character.
  EXPECT_EQ(texts(readRtf("{\\rtf1 \\u-10179?\\u-8704?.\\par}")), Lines{"\xf0\x9f\x98\x80."});
  EXPECT_EQ(texts(readRtf("{\\rtf1 \\u-10179?x\\u-8704?y\\u-10179?\\par}")),
            Lines{"\xef\xbf\xbdx\xef\xbf\xbdy\xef\xbf\xbd"});
  EXPECT_EQ(texts(readRtf("{\\rtf1 \\u99999999999?\\u-99999999999?\\u70000?\\par}")),
            Lines{"\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd"});
  // The characters that stand in for a \\u are skipped within its group only: a huge count
  // does not swallow the rest of the file.
  EXPECT_EQ(texts(readRtf("{\\rtf1 {\\uc99999999999 \\u8364 abc} def\\par next\\par}")),
            (Lines{"\xe2\x82\xac def", "next"}));
}

TEST(RtfReader, BytesAboveAsciiAreWindows1252UnlessTheWholeTextIsUtf8) {
  EXPECT_EQ(texts(readRtf("{\\rtf1 \x80\x81\x9f\xe9\\'80\\'ff\\par}")),
            Lines{"\xe2\x82\xac\xef\xbf\xbd\xc5\xb8\xc3\xa9\xe2\x82\xac\xc3\xbf"});
  // An escape needs two hexadecimal digits; without them it shows nothing.
  EXPECT_EQ(texts(readRtf("{\\rtf1 a\\'4z\\'zzb\\'4\\par}")), Lines{"a4zzzb4"});
  // Plain text: valid UTF-8 stays as it is; anything else, overlong forms and encoded surrogates
  // included, is read byte by byte.
  EXPECT_EQ(texts(readRtf("\xf0\x9f\x98\x80 \xc3\xa9")), Lines{"\xf0\x9f\x98\x80 \xc3\xa9"});
  const std::pair<const char*, const char*> notUtf8[] = {
      {"\xc0\xaf", "\xc3\x80\xc2\xaf"},                                      // overlong "/"
      {"\xed\xa0\x80", "\xc3\xad\xc2\xa0\xe2\x82\xac"},                      // a surrogate
      {"\xf4\x90\x80\x80", "\xc3\xb4\xef\xbf\xbd\xe2\x82\xac\xe2\x82\xac"},  // beyond U+10FFFF
      {"\xe9t\xc3", "\xc3\xa9t\xc3\x83"},                                    // cut short
  };
  for (const auto& [in, out] : notUtf8) EXPECT_EQ(texts(readRtf(in)), Lines{out}) << in;
  std::string bytes(4096, '\0');
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7919 % 256);
  EXPECT_TRUE(allTextValid(readRtf("{\\rtf1" + bytes)));
  EXPECT_TRUE(allTextValid(readRtf(bytes)));
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
