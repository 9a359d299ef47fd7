// translate: one top-to-bottom pass over the source lines that rewrites statements in place.
//
// A statement is recognised by the keyword its trimmed text begins with (letter case ignored);
// every line that begins with none passes unchanged, so low-level code is valid source. Rewritten
// entries may hold several lines joined by CR LF; they become separate lines only at the end.
#include <array>

#include "rtl/text.h"
#include "translator/statement_table.h"
#include "translator/translation.h"
#include "translator/translator.h"

namespace trel {

namespace {

// The entries joined by CR LF, each passed through `transform` first; `starts` receives where
// each entry begins in the result.
template <typename Transform>
std::string joinEntries(const std::vector<std::string>& entries, Transform transform,
                        std::vector<size_t>& starts) {
  std::string all;
  for (size_t i = 0; i < entries.size(); ++i) {
    if (i) all += "\r\n";
    starts.push_back(all.size());
    all += transform(entries[i]);
  }
  return all;
}

// The entry each line comes from, by where the line begins in the joined text.
std::vector<SourceLocation> originsOfLines(const std::vector<size_t>& lineStarts,
                                           const std::vector<size_t>& entryStarts,
                                           const std::vector<SourceLocation>& origins) {
  std::vector<SourceLocation> out;
  out.reserve(lineStarts.size());
  size_t entry = 0;
  for (size_t start : lineStarts) {
    while (entry + 1 < entryStarts.size() && entryStarts[entry + 1] <= start) ++entry;
    out.push_back(entry < origins.size() ? origins[entry] : SourceLocation{});
  }
  return out;
}

// Replaces every ";" in the whole working list by a line break and splits it into entries again;
// the pieces of an entry keep its place in the source.
void splitAtSemicolons(Translation& t) {
  std::vector<size_t> entryStarts, lineStarts;
  std::string all = joinEntries(
      t.entries, [](const std::string& e) { return replaceAll(e, ";", "\r\n"); }, entryStarts);
  std::vector<std::string> lines = splitAtLineBreaks(all, &lineStarts);
  t.origins = originsOfLines(lineStarts, entryStarts, t.origins);
  t.setEntries(std::move(lines));
}

}  // namespace

Translation::Translation(Machine& machine) : m(machine) {
  map.files.push_back(machine.sourceName);
  origins.resize(machine.highlvl.size());
  for (size_t i = 0; i < origins.size(); ++i) origins[i] = {0, static_cast<int32_t>(i + 1)};
  setEntries(machine.highlvl);
}

SourceLocation Translation::origin(size_t i) const {
  return i < origins.size() ? origins[i] : SourceLocation{0, 1};
}

int32_t Translation::addFile(std::string name) {
  map.files.push_back(std::move(name));
  return static_cast<int32_t>(map.files.size() - 1);
}

void Translation::warn(size_t i, std::string message) {
  m.translationWarnings.push_back(
      diagnosticAt(map, origin(i), std::move(message), Diagnostic::Severity::Warning));
}

void Translation::setEntry(size_t i, std::string text) {
  entries[i] = std::move(text);
  blocks.update(i, entries[i]);
}

void Translation::setEntries(std::vector<std::string> list) {
  entries = std::move(list);
  blocks.assign(entries);
}

void Translation::errorStop(const std::string& message) {
  m.host.showMessage(message);
  m.translationError = diagnosticAt(map, origin(index), message);
  m.host.diagnostic(*m.translationError);
  m.CheckBox1 = true;
  stopped = true;
}

void Translation::run() {
  index = 0;
  while (!stopped && !entries.empty()) {
    const size_t count = entries.size();
    const std::string statement = trim(entries[index]);
    const std::string upper = upperCase(statement);
    for (const StatementTest& test : kStatementTests) {
      if (stopped) break;
      if (!startsWith(upper, upperCase(test.keyword))) continue;
      if (test.statement == Statement::StraySeparator && statement.size() >= 3) {
        // Only the semicolon itself is tested before the log line; the length decides after it.
        m.debug.append("Translate  [" + upper + "]");
        continue;
      }
      if (test.statement == Statement::Split && statement.size() < 3) continue;
      m.debug.append("Translate  [" + upper + "]");
      switch (test.statement) {
        case Statement::StraySeparator:
          errorStop("No semicolon at: " + std::to_string(index));
          break;
        case Statement::Import:
          importLibrary(*this, statement);
          break;
        case Statement::Nothing:
          rewriteNothing(*this);
          break;
        case Statement::Split:
          splitAtSemicolons(*this);
          break;
        case Statement::ClassHeader:
          rewriteClassHeader(*this);
          break;
        case Statement::ClassProperty:
          rewriteClassProperty(*this);
          break;
        case Statement::ClassMethod:
          rewriteClassMethod(*this);
          break;
        case Statement::ClassEnd:
          rewriteClassEnd(*this);
          break;
        case Statement::ClassInherit:
          rewriteClassInherit(*this);
          break;
        case Statement::External:
          rewriteExternal(*this, statement);
          break;
        case Statement::If:
          rewriteIf(*this, statement);
          break;
        case Statement::While:
          rewriteWhile(*this, statement);
          break;
        case Statement::Call:
          rewriteCall(*this, statement);
          break;
        case Statement::Def:
          rewriteDef(*this, statement);
          break;
        case Statement::Formula:
          rewriteFormula(*this, statement);
          break;
      }
    }
    if (stopped || index + 1 == count) break;
    ++index;
  }

  // End phase: the import text, then the entries joined by CR LF, split at every line break,
  // then "HALT".
  std::vector<std::string> lines;
  std::vector<SourceLocation> locations;
  if (!entries.empty() || !importText.empty()) {
    std::vector<size_t> entryStarts, lineStarts;
    std::string all = joinEntries(
        entries, [](const std::string& e) { return e; }, entryStarts);
    for (size_t& start : entryStarts) start += importText.size();
    lines = splitAtLineBreaks(importText + all, &lineStarts);
    locations = originsOfLines(lineStarts, entryStarts, origins);
    // Library lines: each library's text is whole lines ended by CR LF, so the lines that begin
    // inside it are its lines in order.
    size_t library = 0;
    int32_t lineInLibrary = 0;
    for (size_t k = 0; k < lineStarts.size() && lineStarts[k] < importText.size(); ++k) {
      size_t before = library;
      while (library + 1 < imports.size() && imports[library + 1].offset <= lineStarts[k])
        ++library;
      lineInLibrary = (k == 0 || library != before) ? 1 : lineInLibrary + 1;
      locations[k] = {imports[library].file, lineInLibrary};
    }
  }
  lines.emplace_back("HALT");
  // The appended HALT belongs to the end of the program.
  locations.push_back({0, std::max<int32_t>(1, static_cast<int32_t>(m.highlvl.size()))});
  map.locations = std::move(locations);
  m.code = std::move(lines);
  m.codeMap = std::move(map);
}

void translate(Machine& machine) {
  machine.translationStopped = false;
  machine.translationError.reset();
  machine.translationWarnings.clear();
  Translation t(machine);
  t.run();
  machine.translationStopped = t.stopped;
}

namespace {

class Translator : public SourceTranslator {
 public:
  void translate(Machine& machine) const override { trel::translate(machine); }
};

}  // namespace

const SourceTranslator& sourceTranslator() {
  static const Translator translator;
  return translator;
}

}  // namespace trel
