// Warnings about a translated program: what the translation left that cannot work as written.
// They change nothing in the translation; the if and while warnings come from the pass itself.
#include <algorithm>
#include <filesystem>
#include <set>
#include <tuple>
#include <unordered_set>

#include "rtl/text.h"
#include "translator/statement_table.h"
#include "translator/translator.h"

namespace trel {

namespace {

// The jump instructions whose operand is a label, as a line of code begins with them.
constexpr std::string_view kJumps[] = {"CALL", "JUMP", "IF =", "IF !=", "IF >", "IF <"};

}  // namespace

void lintTranslation(Machine& m) {
  const SourceMap& map = m.codeMap;
  if (map.locations.size() != m.code.size()) return;
  std::set<std::pair<int32_t, int32_t>> warned;
  for (const Diagnostic& d : m.translationWarnings)
    if (d.file == map.fileName(0)) warned.insert({0, d.line});
  auto warn = [&](SourceLocation at, std::string message) {
    if (!warned.insert({at.file, at.line}).second) return;
    m.translationWarnings.push_back(
        diagnosticAt(map, at, std::move(message), Diagnostic::Severity::Warning));
  };

  // %import of a library that is not there (the translation stops at the first one).
  const std::string_view import = statementKeyword(Statement::Import);
  for (size_t i = 0; i < m.highlvl.size(); ++i) {
    std::string statement = trim(m.highlvl[i]);
    if (!startsWithNoCase(statement, upperCase(import))) continue;
    std::string rest = trim(statement.substr(import.size()));
    std::string name = "lib/" + rest.substr(0, rest.find('%')) + ".qnlib";
    std::error_code ec;
    if (rest.find('%') == std::string::npos || !std::filesystem::is_regular_file(name, ec))
      warn({0, static_cast<int32_t>(i + 1)}, "%import of a library that does not exist: " + name);
  }

  // Jumps and calls to labels no line defines; a translation that stopped early left statements
  // untranslated, whose text says nothing about labels.
  if (m.translationStopped) return;
  std::unordered_set<std::string> lines(m.code.begin(), m.code.end());
  for (size_t i = 0; i < m.code.size(); ++i) {
    std::string line = trim(m.code[i]);
    if (line.find('"') != std::string::npos) continue;
    for (std::string_view jump : kJumps) {
      if (!startsWithNoCase(line, jump)) continue;
      std::string label = trim(line.substr(jump.size()));
      if (label.empty() || lines.count(label)) break;
      SourceLocation at = map.locations[i];
      std::string source =
          at.file == 0 && at.line >= 1 && static_cast<size_t>(at.line) <= m.highlvl.size()
              ? trim(m.highlvl[static_cast<size_t>(at.line - 1)])
              : std::string();
      if (jump == "CALL" && startsWithNoCase(source, "CALL ") && label.rfind("::", 0) == 0)
        warn(at, "call of a procedure no def names: " + label.substr(2));
      else
        warn(at, std::string(jump) + " to a label no line defines: " + label);
      break;
    }
  }
  std::stable_sort(m.translationWarnings.begin(), m.translationWarnings.end(),
                   [](const Diagnostic& a, const Diagnostic& b) {
                     return std::tie(a.file, a.line) < std::tie(b.file, b.line);
                   });
}

}  // namespace trel
