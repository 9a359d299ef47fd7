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

// Replaces every ";" in the whole working list by a line break and splits it into entries again.
void splitAtSemicolons(Translation& t) {
  std::string all = replaceAll(joinCrLf(t.entries), ";", "\r\n");
  t.setEntries(splitAtLineBreaks(all));
}

}  // namespace

Translation::Translation(Machine& machine) : m(machine) {
  setEntries(machine.highlvl);
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
  if (!entries.empty() || !importText.empty())
    lines = splitAtLineBreaks(importText + joinCrLf(entries));
  lines.emplace_back("HALT");
  m.code = std::move(lines);
}

void translate(Machine& machine) {
  machine.translationStopped = false;
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
