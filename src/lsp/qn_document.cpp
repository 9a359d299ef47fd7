#include "lsp/qn_document.h"

#include <filesystem>
#include <set>

#include "machine/machine.h"
#include "machine/quiet_host.h"
#include "rtl/errors.h"
#include "rtl/text.h"
#include "shell/main_form.h"
#include "translator/statement_table.h"
#include "translator/translator.h"

namespace trel::lsp {

namespace {

constexpr std::string_view kLabelMark = "::";

// The text after a statement's keyword, when the trimmed line begins with it (in any case).
std::optional<std::string> afterStatement(const std::string& line, Statement statement) {
  std::string t = trim(line);
  std::string_view keyword = statementKeyword(statement);
  if (!startsWithNoCase(t, keyword)) return std::nullopt;
  return t.substr(keyword.size());
}

// NAME of "def (NAME)": the text before the last ")", as the translator cuts it.
std::optional<std::string> defName(const std::string& line) {
  auto rest = afterStatement(line, Statement::Def);
  if (!rest) return std::nullopt;
  return trim(rest->substr(0, std::min(rest->rfind(')'), rest->size())));
}

// NAME of "call NAME(...)": the text before the first "(".
std::optional<std::string> callName(const std::string& line) {
  auto rest = afterStatement(line, Statement::Call);
  if (!rest) return std::nullopt;
  return trim(rest->substr(0, std::min(rest->find('('), rest->size())));
}

// Sets the current folder for the life of the object (the translator reads lib/ from there).
class CurrentFolder {
 public:
  explicit CurrentFolder(const std::string& folder) {
    std::error_code ec;
    saved_ = std::filesystem::current_path(ec);
    if (!folder.empty()) std::filesystem::current_path(folder, ec);
  }
  ~CurrentFolder() {
    std::error_code ec;
    if (!saved_.empty()) std::filesystem::current_path(saved_, ec);
  }
  CurrentFolder(const CurrentFolder&) = delete;
  CurrentFolder& operator=(const CurrentFolder&) = delete;

 private:
  std::filesystem::path saved_;
};

}  // namespace

QnDocument::QnDocument(std::string path, std::string_view text)
    : path_(std::move(path)), text_(text), lines_(splitAtLineBreaks(text)) {}

std::vector<SourceSymbol> QnDocument::symbols() const {
  std::vector<SourceSymbol> out;
  // The function list is the IDE's own: the form computes it from the editor lines.
  QuietHost host;
  TForm1 form(host, {"base.exe"});
  form.machine.highlvl = lines_;
  form.highlvlChange();
  for (const std::string& entry : form.explorer) {
    size_t colon = entry.find(": ");
    if (colon == std::string::npos) continue;
    out.push_back({SourceSymbol::Kind::Procedure, entry.substr(colon + 2),
                   static_cast<size_t>(std::stoul(entry.substr(0, colon)))});
  }
  for (size_t i = 0; i < lines_.size(); ++i) {
    std::string t = trim(lines_[i]);
    if (t.size() > kLabelMark.size() && t.starts_with(kLabelMark))
      out.push_back({SourceSymbol::Kind::Label, t, i});
  }
  return out;
}

std::vector<std::string> QnDocument::variables() const {
  std::vector<std::string> out;
  std::set<std::string> seen;
  for (const std::string& line : lines_) {
    std::string t = trim(line);
    if (!startsWithNoCase(t, "VAR ")) continue;
    std::string name = trim(std::string_view(t).substr(4));
    if (!name.empty() && seen.insert(name).second) out.push_back(name);
  }
  return out;
}

std::vector<std::pair<std::string, size_t>> QnDocument::imports() const {
  std::vector<std::pair<std::string, size_t>> out;
  for (size_t i = 0; i < lines_.size(); ++i)
    if (auto name = importAt(i)) out.emplace_back(*name, i);
  return out;
}

std::optional<std::string> QnDocument::importAt(size_t line) const {
  if (line >= lines_.size()) return std::nullopt;
  auto rest = afterStatement(lines_[line], Statement::Import);
  if (!rest) return std::nullopt;
  size_t percent = rest->find('%');
  if (percent == std::string::npos || percent == 0) return std::nullopt;
  return rest->substr(0, percent);
}

std::string QnDocument::libraryRoot(const std::string& fallback) const {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path folder = fs::absolute(fs::path(path_), ec).parent_path();
  for (fs::path at = folder; !at.empty(); at = at.parent_path()) {
    if (fs::is_directory(at / "lib", ec)) return at.string();
    if (at == at.parent_path()) break;
  }
  return fallback.empty() ? folder.string() : fallback;
}

std::optional<std::string> QnDocument::labelReferenceAt(size_t line,
                                                        const std::string& word) const {
  if (line >= lines_.size() || word.empty()) return std::nullopt;
  if (word.starts_with(kLabelMark) && word.size() > kLabelMark.size()) return word;
  if (auto name = callName(lines_[line]); name && *name == word) return "::" + word;
  if (auto name = defName(lines_[line]); name && *name == word) return "::" + word;
  return std::nullopt;
}

std::optional<size_t> QnDocument::labelLine(const std::string& label) const {
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (trim(lines_[i]) == label) return i;
    if (auto name = defName(lines_[i]); name && "::" + *name == label) return i;
  }
  return std::nullopt;
}

std::vector<Diagnostic> QnDocument::translationDiagnostics(const std::string& root) const {
  QuietHost host;
  Machine m(host, sourceTranslator());
  m.sourceName = path_;
  m.highlvl = splitFileLines(text_);
  std::vector<Diagnostic> out;
  CurrentFolder folder(root);
  try {
    translate(m);
    lintTranslation(m);
  } catch (const std::exception& e) {
    out.push_back({Diagnostic::Severity::Error, path_, 1, 0, errorText(e)});
  }
  if (m.translationError) out.push_back(*m.translationError);
  out.insert(out.end(), m.translationWarnings.begin(), m.translationWarnings.end());
  return out;
}

}  // namespace trel::lsp
