// The guide (halp.rtf) as hover text: the paragraph that explains a keyword or a formula function,
// under the heading of its section.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trel::lsp {

class Guide {
 public:
  Guide() = default;
  // `rtf`: the guide file's bytes.
  explicit Guide(std::string_view rtf);
  // The guide read from a file; empty (every lookup answers nothing) when it cannot be read.
  static Guide fromFile(const std::string& path);

  bool empty() const { return paragraphs_.empty(); }
  // Markdown: the section's heading, then the paragraph that explains `word`: the first one whose
  // code or bold text begins with the word and that says something about it (not a line of
  // example code alone), else the first that mentions it. Case is ignored,
  // and so are a leading "%" or "@" (the guide writes %ECHO and ECHO alike).
  std::optional<std::string> entryFor(std::string_view word) const;

 private:
  struct Paragraph {
    std::string markdown;                // code runs in backquotes
    std::string plainUpper;              // the text in upper case, for searching
    std::vector<std::string> leadUpper;  // the code and bold runs, upper case
    bool explains;                       // it has text besides code (it is not an example)
    size_t section;                      // index of its heading paragraph
  };
  std::vector<Paragraph> paragraphs_;
  std::vector<std::string> headings_;
};

}  // namespace trel::lsp
