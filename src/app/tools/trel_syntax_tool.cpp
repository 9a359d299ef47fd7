// trel-syntax-tool OUTDIR: writes QN+ language definitions for other editors from the keyword list
// the IDE's editor colours (editor/syntax_scanner.h), so the two never disagree:
//   OUTDIR/qnplus.xml          KSyntaxHighlighting (Kate, KWrite, KDevelop, Qt Creator)
//   OUTDIR/qnplus.lang         GtkSourceView (gedit, GNOME Text Editor, Meld, Builder)
//   OUTDIR/vim/syntax/qn.vim   Vim, with OUTDIR/vim/ftdetect/qn.vim for *.qn and *.qnlib
//
// Every keyword becomes one pattern of its own, matched without regard to case, with the word
// boundaries the editor keeps: a keyword that starts with a letter never starts inside a word or
// number, one that ends in a letter is never followed by a letter or "_". A line that holds "//"
// anywhere is a comment as a whole, because QN+ ignores such a line entirely; nothing else is one.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "editor/syntax_scanner.h"

namespace {

namespace fs = std::filesystem;

constexpr char kLanguageName[] = "QN+";
constexpr char kMimeType[] = "text/x-qnplus";

bool isLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Word characters, as character-class contents of each regular-expression dialect.
struct Dialect {
  std::string before;  // what may not precede a keyword that starts with a letter
  std::string after;   // what may not follow one that ends in a letter
  std::string (*escape)(std::string_view);
  std::string (*wrap)(const Dialect&, std::string_view keyword);
};

// Perl-style patterns (KSyntaxHighlighting and GtkSourceView): every character that is not a
// letter, digit or blank is escaped.
std::string escapePerl(std::string_view k) {
  std::string out;
  for (char c : k) {
    if (!isLetter(c) && !(c >= '0' && c <= '9') && c != ' ') out += '\\';
    out += c;
  }
  return out;
}

std::string wrapPerl(const Dialect& d, std::string_view k) {
  std::string p;
  if (isLetter(k.front())) p += "(?<![" + d.before + "])";
  p += d.escape(k);
  if (isLetter(k.back())) p += "(?![" + d.after + "])";
  return p;
}

// Vim's very magic mode: every character but letters, digits, "_" and blanks is escaped.
std::string escapeVim(std::string_view k) {
  std::string out;
  for (char c : k) {
    if (!isLetter(c) && !(c >= '0' && c <= '9') && c != ' ' && c != '_') out += '\\';
    out += c;
  }
  return out;
}

std::string wrapVim(const Dialect& d, std::string_view k) {
  std::string p = "\\c\\v";
  if (isLetter(k.front())) p += "([" + d.before + "])@<!";
  p += d.escape(k);
  if (isLetter(k.back())) p += "([" + d.after + "])@!";
  return p;
}

const Dialect kPerl = {"A-Za-z0-9_.\\x{80}-\\x{10FFFF}", "A-Za-z_\\x{80}-\\x{10FFFF}", escapePerl,
                       wrapPerl};
const Dialect kVim = {"A-Za-z0-9_.\\u0080-\\U0010FFFF", "A-Za-z_\\u0080-\\U0010FFFF", escapeVim,
                      wrapVim};

// Longest first: at one place the longer keyword wins ("DEF (ENTRY)" over "DEF", "<>" over "<").
std::vector<std::string_view> keywordsLongestFirst() {
  std::vector<std::string_view> k = trel::syntaxKeywords();
  std::stable_sort(k.begin(), k.end(),
                   [](std::string_view a, std::string_view b) { return a.size() > b.size(); });
  return k;
}

std::string xmlEscape(std::string_view s) {
  std::string out;
  for (char c : s) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string kateDefinition() {
  std::string s =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<!DOCTYPE language>\n"
      "<!-- Written by trel-syntax-tool from the keyword list of Trel's editor. -->\n"
      "<language name=\"" +
      std::string(kLanguageName) +
      "\" section=\"Sources\" version=\"1\" "
      "kateversion=\"5.0\" extensions=\"*.qn;*.qnlib\" mimetype=\"" +
      kMimeType +
      "\" "
      "casesensitive=\"0\">\n"
      "  <highlighting>\n"
      "    <contexts>\n"
      "      <context name=\"Normal\" attribute=\"Normal Text\" lineEndContext=\"#stay\">\n"
      "        <RegExpr attribute=\"Comment\" String=\"^.*//.*$\" column=\"0\"/>\n";
  for (std::string_view k : keywordsLongestFirst())
    s += "        <RegExpr attribute=\"Keyword\" insensitive=\"true\" String=\"" +
         xmlEscape(kPerl.wrap(kPerl, k)) + "\"/>\n";
  s += "        <RegExpr attribute=\"Label\" String=\"::[^\\s]+\"/>\n"
       "      </context>\n"
       "    </contexts>\n"
       "    <itemDatas>\n"
       "      <itemData name=\"Normal Text\" defStyleNum=\"dsNormal\"/>\n"
       "      <itemData name=\"Comment\" defStyleNum=\"dsComment\"/>\n"
       "      <itemData name=\"Keyword\" defStyleNum=\"dsKeyword\"/>\n"
       "      <itemData name=\"Label\" defStyleNum=\"dsFunction\"/>\n"
       "    </itemDatas>\n"
       "  </highlighting>\n"
       "  <general>\n"
       "    <comments>\n"
       "      <comment name=\"singleLine\" start=\"//\"/>\n"
       "    </comments>\n"
       "    <keywords casesensitive=\"0\"/>\n"
       "  </general>\n"
       "</language>\n";
  return s;
}

std::string gtkDefinition() {
  std::string s =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<!-- Written by trel-syntax-tool from the keyword list of Trel's editor. -->\n"
      "<language id=\"qnplus\" name=\"" +
      std::string(kLanguageName) +
      "\" version=\"2.0\" "
      "_section=\"Source\">\n"
      "  <metadata>\n"
      "    <property name=\"mimetypes\">" +
      kMimeType +
      "</property>\n"
      "    <property name=\"globs\">*.qn;*.qnlib</property>\n"
      "    <property name=\"line-comment-start\">//</property>\n"
      "  </metadata>\n"
      "  <styles>\n"
      "    <style id=\"comment\" name=\"Comment\" map-to=\"def:comment\"/>\n"
      "    <style id=\"keyword\" name=\"Keyword\" map-to=\"def:keyword\"/>\n"
      "    <style id=\"label\" name=\"Label\" map-to=\"def:function\"/>\n"
      "  </styles>\n"
      "  <definitions>\n"
      "    <context id=\"qnplus\">\n"
      "      <include>\n"
      "        <context id=\"comment\" style-ref=\"comment\"><match>^.*//.*$</match></context>\n";
  int n = 0;
  for (std::string_view k : keywordsLongestFirst())
    s += "        <context id=\"keyword-" + std::to_string(n++) +
         "\" style-ref=\"keyword\"><match>(?i)" + xmlEscape(kPerl.wrap(kPerl, k)) +
         "</match></context>\n";
  s += "        <context id=\"label\" style-ref=\"label\"><match>::\\S+</match></context>\n"
       "      </include>\n"
       "    </context>\n"
       "  </definitions>\n"
       "</language>\n";
  return s;
}

std::string vimSyntax() {
  std::string s =
      "\" Vim syntax file for QN+, written by trel-syntax-tool from the keyword list of Trel's\n"
      "\" editor. Of two matches at one place the one defined later wins, so longer keywords come\n"
      "\" later and the comment, a line that holds \"//\" anywhere, comes last.\n"
      "if exists(\"b:current_syntax\")\n"
      "  finish\n"
      "endif\n"
      "syn match qnLabel \"::\\S\\+\"\n";
  std::vector<std::string_view> keywords = keywordsLongestFirst();
  std::reverse(keywords.begin(), keywords.end());
  for (std::string_view k : keywords) {
    std::string pattern = kVim.wrap(kVim, k);
    std::string quoted;
    for (char c : pattern) quoted += c == '"' ? std::string("\\\"") : std::string(1, c);
    s += "syn match qnKeyword \"" + quoted + "\"\n";
  }
  s += "syn match qnComment \"^.*//.*$\"\n"
       "hi def link qnComment Comment\n"
       "hi def link qnKeyword Keyword\n"
       "hi def link qnLabel Function\n"
       "let b:current_syntax = \"qn\"\n";
  return s;
}

const char kVimFiletype[] =
    "\" QN+ sources and libraries.\n"
    "autocmd BufRead,BufNewFile *.qn,*.qnlib setfiletype qn\n";

bool write(const fs::path& path, const std::string& text) {
  std::error_code ec;
  fs::create_directories(path.parent_path(), ec);
  std::ofstream out(path, std::ios::binary);
  out << text;
  out.close();
  if (!out) std::fprintf(stderr, "trel-syntax-tool: cannot write %s\n", path.c_str());
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: trel-syntax-tool OUTDIR\n", stderr);
    return 2;
  }
  const fs::path dir = argv[1];
  bool ok = write(dir / "qnplus.xml", kateDefinition()) &&
            write(dir / "qnplus.lang", gtkDefinition()) &&
            write(dir / "vim/syntax/qn.vim", vimSyntax()) &&
            write(dir / "vim/ftdetect/qn.vim", kVimFiletype);
  return ok ? 0 : 1;
}
