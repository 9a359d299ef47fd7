// The editor's colouring rules, one character's style per letter:
// K keyword, I identifier, N number, S string, C comment, P preprocessor, . blank, y symbol.
#include "editor/syntax_scanner.h"

#include <gtest/gtest.h>

#include <string>

using trel::scanLine;
using trel::SyntaxSpan;

namespace {

std::string styles(std::string_view line) {
  std::vector<SyntaxSpan> spans;
  scanLine(line, spans);
  std::string s;
  size_t covered = 0;
  for (const SyntaxSpan& span : spans) {
    if (span.start != covered) return "gap at " + std::to_string(span.start);
    covered += span.length;
    const char* letters = "-CKINSP.y";
    s.append(span.length, letters[static_cast<int>(span.style)]);
  }
  if (covered != line.size()) return "not covered";
  return s;
}

// Every byte of the line has a style, with no gap and no overlap.
bool coversEveryByte(std::string_view line) {
  std::string s = styles(line);
  return s.size() == line.size() && s.find_first_not_of("-CKINSP.y") == std::string::npos;
}

TEST(SyntaxScanner, KeywordsMatchWithoutRegardToCase) {
  EXPECT_EQ(styles("CALL ::main"), "KKKK.KKIIII");
  EXPECT_EQ(styles("call ::main"), "KKKK.KKIIII");
  EXPECT_EQ(styles("VAR x"), "KKK.I");
  EXPECT_EQ(styles("variable"), "IIIIIIII");  // no keyword inside a longer word
  EXPECT_EQ(styles("x:=RG0+1"), "IKKKKNKN");
  EXPECT_EQ(styles("IF END"), "KKKKKK");
  EXPECT_EQ(styles("if (x > 1)"), "KKKyI.K.Ny");
  EXPECT_EQ(styles("DEF (ENTRY)"), "KKKKKKKKKKK");
  EXPECT_EQ(styles("##5"), "KKN");
  EXPECT_EQ(trel::syntaxKeywords().size(), 43u);
}

// A comment is exactly a line that does not run: the interpreter blanks every line holding "//",
// wherever it stands, and runs everything else, whatever other languages call a comment.
TEST(SyntaxScanner, ALineHoldingDoubleSlashIsACommentWholeAndNothingElseIs) {
  EXPECT_EQ(styles("x:=1 // note"), "CCCCCCCCCCCC");
  EXPECT_EQ(styles("%ECHO \"http://a\""), "CCCCCCCCCCCCCCCC");
  EXPECT_EQ(styles("//"), "CC");
  EXPECT_EQ(styles("a; b"), "Iy.I");
  EXPECT_EQ(styles("x (* a *)"), "I.yK.I.Ky");
  EXPECT_EQ(styles("{ one } /x"), "y.III.y.KI");
  EXPECT_EQ(styles("/* a */"), "KK.I.KK");
  EXPECT_EQ(styles("#define x"), "PPPPPPPPP");
  EXPECT_EQ(styles("say \"a;b\""), "III.SSSSS");
  EXPECT_EQ(styles("\"open"), "SSSSS");
}

TEST(SyntaxScanner, AnyBytesAreCovered) {
  EXPECT_EQ(styles(std::string("\x00\xff\xc3(\x01 z", 7)), ".IIy..I");
  EXPECT_EQ(styles(""), "");
}

TEST(SyntaxScanner, EveryPairOfBytesAndEveryCutOfALineIsCovered) {
  for (int a = 0; a < 256; ++a)
    for (int b = 0; b < 256; ++b) {
      const char pair[] = {static_cast<char>(a), static_cast<char>(b)};
      ASSERT_TRUE(coversEveryByte(std::string_view(pair, 2))) << a << ", " << b;
    }
  const std::string line = "IF END x:=a (* b *) { c } /* d */ ## DEF (ENTRY) \xff\xc3 \"s\" // e";
  for (size_t n = 0; n <= line.size(); ++n)
    ASSERT_TRUE(coversEveryByte(std::string_view(line).substr(0, n))) << n;
}

}  // namespace
