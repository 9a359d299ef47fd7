#include "lsp/guide.h"

#include "help/rtf_reader.h"
#include "rtl/text.h"

namespace trel::lsp {

namespace {

// Headings are bold throughout and set larger than the body text.
constexpr int kHeadingHalfPoints = 26;

bool isHeading(const RtfParagraph& p) {
  bool any = false;
  for (const RtfRun& r : p.runs) {
    if (trim(r.text).empty()) continue;
    if (!r.bold || r.halfPoints < kHeadingHalfPoints) return false;
    any = true;
  }
  return any;
}

bool isNameChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// `word` stands in `text` as a whole word at `at`.
bool wholeWordAt(std::string_view text, size_t at, std::string_view word) {
  if (text.substr(at, word.size()) != word) return false;
  bool before = at > 0 && isNameChar(text[at - 1]);
  bool after = at + word.size() < text.size() && isNameChar(text[at + word.size()]);
  return !before && !after;
}

bool mentions(std::string_view text, std::string_view word) {
  for (size_t at = text.find(word); at != std::string_view::npos; at = text.find(word, at + 1))
    if (wholeWordAt(text, at, word)) return true;
  return false;
}

std::string withoutSigil(std::string_view word) {
  while (!word.empty() && (word.front() == '%' || word.front() == '@')) word.remove_prefix(1);
  return upperCase(word);
}

}  // namespace

Guide::Guide(std::string_view rtf) {
  size_t section = 0;
  headings_.push_back("");
  for (const RtfParagraph& p : readRtf(rtf).paragraphs) {
    if (isHeading(p)) {
      headings_.push_back(trim(p.plainText()));
      section = headings_.size() - 1;
      continue;
    }
    Paragraph out{{}, upperCase(p.plainText()), {}, false, section};
    for (const RtfRun& r : p.runs) {
      if (!r.fixedPitch && !trim(r.text).empty()) out.explains = true;
      out.markdown += r.fixedPitch && !trim(r.text).empty() ? "`" + r.text + "`" : r.text;
      if ((r.fixedPitch || r.bold) && !trim(r.text).empty())
        out.leadUpper.push_back(withoutSigil(trimLeft(r.text)));
    }
    if (!trim(out.markdown).empty()) paragraphs_.push_back(std::move(out));
  }
}

Guide Guide::fromFile(const std::string& path) {
  try {
    return Guide(readWholeFile(path));
  } catch (...) {
    return Guide();
  }
}

std::optional<std::string> Guide::entryFor(std::string_view word) const {
  const std::string wanted = withoutSigil(word);
  if (wanted.empty()) return std::nullopt;
  const Paragraph* found = nullptr;
  for (const Paragraph& p : paragraphs_) {
    if (!p.explains) continue;
    for (const std::string& lead : p.leadUpper)
      if (wholeWordAt(lead, 0, wanted)) found = &p;
    if (found) break;
  }
  if (!found)
    for (const Paragraph& p : paragraphs_)
      if (mentions(p.plainUpper, wanted)) {
        found = &p;
        break;
      }
  if (!found) return std::nullopt;
  const std::string& heading = headings_[found->section];
  return (heading.empty() ? std::string() : "**" + heading + "**\n\n") + trim(found->markdown);
}

}  // namespace trel::lsp
