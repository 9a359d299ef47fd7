// One translation: the working list the pass rewrites, the import text, and the statement fields.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "machine/machine.h"
#include "translator/block_search.h"
#include "translator/statement_table.h"

namespace trel {

// The fields statements cut from their text. They live for the whole translation: a statement
// that does not set a field leaves the value an earlier statement gave it. The jump opcode of if
// and while shares its field with the second argument of external and call statements.
struct StatementFields {
  std::string name, library, x, op, y, expression;
  std::string args[5];
  std::string& opcode() { return args[1]; }
};

// Statement text cutting, from the front of `rest`:
//  cutField: the text before the first `separator` (taken exactly, empty when there is none);
//    then that many characters plus one are deleted and the remainder is trimmed, so a missing
//    separator deletes one character.
//  cutLast: the text before the first `closing` (empty when there is none); nothing after it
//    is looked at.
std::string cutField(std::string& rest, std::string_view separator);
std::string cutLast(const std::string& rest, std::string_view closing);
// Removes the statement keyword's characters from the front and trims.
std::string afterKeyword(std::string_view statement, Statement keyword);

class Translation {
 public:
  explicit Translation(Machine& machine);
  void run();

  Machine& m;
  // The working list. Change it only through setEntry and setEntries, which keep the block
  // searches up to date.
  std::vector<std::string> entries;
  BlockSearch blocks;
  std::string importText;
  // Where each entry came from, kept beside `entries`, and the map the translation writes.
  std::vector<SourceLocation> origins;
  SourceMap map;
  // Where each imported library's text begins in importText, and its file in the map.
  struct Import {
    size_t offset;
    int32_t file;
  };
  std::vector<Import> imports;
  StatementFields fields;
  size_t index = 0;      // entry being translated
  bool stopped = false;  // an error stop ends the pass

  // Shows the message, checks "Only translate" and ends the pass; the end phase still runs.
  void errorStop(const std::string& message);
  void setEntry(size_t i, std::string text);
  SourceLocation origin(size_t i) const;
  int32_t addFile(std::string name);
  // A warning about entry i (it changes nothing in the translation).
  void warn(size_t i, std::string message);
  void setEntries(std::vector<std::string> list);
};

// The statement rewrites; each replaces entries[t.index] (or, for the split, the whole list).
void rewriteNothing(Translation& t);
void rewriteExternal(Translation& t, const std::string& statement);
void rewriteFormula(Translation& t, const std::string& statement);
void rewriteIf(Translation& t, const std::string& statement);
void rewriteWhile(Translation& t, const std::string& statement);
void rewriteCall(Translation& t, const std::string& statement);
void rewriteDef(Translation& t, const std::string& statement);
void rewriteClassHeader(Translation& t);
void rewriteClassProperty(Translation& t);
void rewriteClassMethod(Translation& t);
void rewriteClassEnd(Translation& t);
void rewriteClassInherit(Translation& t);
void importLibrary(Translation& t, const std::string& statement);

// "::compare" or "::rep" and a random number from 0 to 65534 as eight hexadecimal digits.
std::string newLabel(std::string_view prefix);

}  // namespace trel
