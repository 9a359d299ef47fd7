// The editor's colouring rules, one character's style per letter:
// K keyword, I identifier, N number, S string, C comment, P preprocessor, . blank, y symbol.
#include "editor/syntax_scanner.h"

#include <gtest/gtest.h>

#include <string>

using trel::LineState;
using trel::scanLine;
using trel::SyntaxSpan;

namespace {

std::string styles(std::string_view line, LineState in = LineState::Normal,
                   LineState* out = nullptr) {
  std::vector<SyntaxSpan> spans;
  LineState end = scanLine(line, in, spans);
  if (out) *out = end;
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
bool coversEveryByte(std::string_view line, LineState in) {
  std::string s = styles(line, in);
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

TEST(SyntaxScanner, CommentsRunToTheEndOfTheLine) {
  EXPECT_EQ(styles("x:=1 // note"), "IKKN.CCCCCCC");
  EXPECT_EQ(styles("a; b"), "ICCC");  // ";" starts a comment too
  EXPECT_EQ(styles("#define x"), "PPPPPPPPP");
  EXPECT_EQ(styles("say \"a;b\""), "III.SSSSS");
  EXPECT_EQ(styles("\"open"), "SSSSS");
}

TEST(SyntaxScanner, BlockCommentsSpanLines) {
  LineState state;
  EXPECT_EQ(styles("x (* a", LineState::Normal, &state), "I.CCCC");
  EXPECT_EQ(state, LineState::ParenComment);
  EXPECT_EQ(styles("b *) y", state, &state), "CCCC.I");
  EXPECT_EQ(state, LineState::Normal);
  EXPECT_EQ(styles("{ one } two"), "CCCCCCC.III");
  EXPECT_EQ(styles("/* a", LineState::Normal, &state), "CCCC");
  EXPECT_EQ(state, LineState::SlashComment);
  EXPECT_EQ(styles("} still", LineState::SlashComment, &state), "CCCCCCC");
}

TEST(SyntaxScanner, AnyBytesAreCovered) {
  EXPECT_EQ(styles(std::string("\x00\xff\xc3(\x01 z", 7)), ".IIy..I");
  EXPECT_EQ(styles(""), "");
}

TEST(SyntaxScanner, EveryPairOfBytesAndEveryCutOfALineIsCoveredInEveryState) {
  const LineState states[] = {LineState::Normal, LineState::ParenComment, LineState::BraceComment,
                              LineState::SlashComment};
  for (LineState in : states) {
    for (int a = 0; a < 256; ++a)
      for (int b = 0; b < 256; ++b) {
        const char pair[] = {static_cast<char>(a), static_cast<char>(b)};
        ASSERT_TRUE(coversEveryByte(std::string_view(pair, 2), in)) << a << ", " << b;
      }
    const std::string line = "IF END x:=a (* b *) { c } /* d */ ## DEF (ENTRY) \xff\xc3 \"s\" // e";
    for (size_t n = 0; n <= line.size(); ++n)
      ASSERT_TRUE(coversEveryByte(std::string_view(line).substr(0, n), in)) << n;
  }
  // A comment still open at the end of an empty line stays open.
  LineState out;
  EXPECT_EQ(styles("", LineState::BraceComment, &out), "");
  EXPECT_EQ(out, LineState::BraceComment);
}

}  // namespace
