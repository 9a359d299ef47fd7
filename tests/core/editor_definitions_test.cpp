// The language definitions written for other editors hold exactly the IDE's keywords: each file's
// keyword patterns, with their word-boundary guards and escapes undone, give syntaxKeywords().
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <sstream>

#include "editor/syntax_scanner.h"
#include "rtl/text.h"

namespace {

std::string xmlUnescape(std::string s) {
  for (auto [from, to] : {std::pair{"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}})
    s = trel::replaceAll(s, from, to);
  return s;
}

// Removes a guard such as "(?<![...])" from the front or "(?![...])" from the back.
std::string withoutGuard(std::string p, const std::string& open, const std::string& close,
                         bool front) {
  if (front && p.rfind(open, 0) == 0) return p.substr(p.find(close) + close.size());
  if (!front && p.size() >= close.size() &&
      p.compare(p.size() - close.size(), close.size(), close) == 0) {
    size_t at = p.rfind(open);
    if (at != std::string::npos) return p.substr(0, at);
  }
  return p;
}

std::string unescape(const std::string& p) {
  std::string out;
  for (size_t i = 0; i < p.size(); ++i) {
    if (p[i] == '\\' && i + 1 < p.size()) ++i;
    out += p[i];
  }
  return out;
}

// The keywords of a file: `line` picks the keyword patterns (its group 1 is the pattern).
std::vector<std::string> keywordsIn(const std::string& path, const std::regex& line, bool vim) {
  std::istringstream in(trel::readWholeFile(path));
  std::vector<std::string> out;
  std::string text;
  std::smatch m;
  while (std::getline(in, text)) {
    if (!std::regex_search(text, m, line)) continue;
    std::string p = vim ? trel::replaceAll(m[1].str(), "\\\"", "\"") : xmlUnescape(m[1].str());
    if (vim) {
      p = p.substr(4);  // "\c\v"
      p = withoutGuard(p, "([", "])@<!", true);
      p = withoutGuard(p, "([", "])@!", false);
    } else {
      p = withoutGuard(p, "(?<![", "])", true);
      p = withoutGuard(p, "(?![", "])", false);
    }
    out.push_back(unescape(p));
  }
  std::sort(out.begin(), out.end());
  return out;
}

std::vector<std::string> ideKeywords() {
  std::vector<std::string> k(trel::syntaxKeywords().begin(), trel::syntaxKeywords().end());
  std::sort(k.begin(), k.end());
  return k;
}

}  // namespace

TEST(EditorDefinitions, EveryEditorGetsTheIdesKeywordsAndNothingElse) {
  const std::string dir = TREL_EDITOR_DEFINITIONS_DIR;
  EXPECT_EQ(keywordsIn(dir + "/qnplus.xml",
                       std::regex(R"re(attribute="Keyword" insensitive="true" String="(.*)"/>)re"),
                       false),
            ideKeywords());
  EXPECT_EQ(keywordsIn(dir + "/qnplus.lang",
                       std::regex(R"re(style-ref="keyword"><match>\(\?i\)(.*)</match>)re"), false),
            ideKeywords());
  EXPECT_EQ(keywordsIn(dir + "/vim/syntax/qn.vim",
                       std::regex(R"re(^syn match qnKeyword "(.*)"$)re"), true),
            ideKeywords());
}
