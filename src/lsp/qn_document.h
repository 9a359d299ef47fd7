// What the language server reads from a QN+ source: its procedures and labels, its variables and
// libraries, where a name is defined, and what the translator says about it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "machine/diagnostic.h"

namespace trel::lsp {

struct SourceSymbol {
  enum class Kind { Procedure, Label };
  Kind kind;
  std::string name;  // a procedure's name as the IDE's function list shows it; a label with "::"
  size_t line;       // from 0
};

class QnDocument {
 public:
  // `path`: the file's path (diagnostics name it); `text`: its contents.
  QnDocument(std::string path, std::string_view text);

  const std::string& path() const { return path_; }
  // The lines as the editor counts them (CR LF, lone CR and lone LF each end one).
  const std::vector<std::string>& lines() const { return lines_; }

  // The procedures the IDE's function list shows ("def (" lines), then the label lines.
  std::vector<SourceSymbol> symbols() const;
  // Names declared by "var NAME" lines, in order, each once.
  std::vector<std::string> variables() const;
  // NAME of every "%import NAME%" line, with its line.
  std::vector<std::pair<std::string, size_t>> imports() const;

  // The folder %import reads lib/NAME.qnlib from: the nearest folder at or above the file's that
  // holds lib/, else `fallback` when given, else the file's own folder.
  std::string libraryRoot(const std::string& fallback = {}) const;

  // The label a word names where it stands on `line`: "::x" for a label operand or a label line,
  // "::NAME" for the NAME of a "call NAME(...)" line; nothing otherwise.
  std::optional<std::string> labelReferenceAt(size_t line, const std::string& word) const;
  // The line that defines the label ("::x" alone on the line, or the def of a procedure).
  std::optional<size_t> labelLine(const std::string& label) const;
  // The library an "%import NAME%" line names, when `line` is one.
  std::optional<std::string> importAt(size_t line) const;

  // Translates a copy of the text with the library root as the current folder, and answers the
  // error that stopped it (if any) and the warnings, as qn translate --warnings reports them.
  std::vector<Diagnostic> translationDiagnostics(const std::string& root) const;

 private:
  std::string path_;
  std::string text_;
  std::vector<std::string> lines_;
};

}  // namespace trel::lsp
