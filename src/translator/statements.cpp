// The data statements: external (a native library call), formula (...) and nothing, with the
// field-cutting rule every statement form shares.
#include "rtl/text.h"
#include "translator/translation.h"

namespace trel {

std::string cutField(std::string& rest, std::string_view separator) {
  size_t p = rest.find(separator);
  std::string field = p == std::string::npos ? std::string() : rest.substr(0, p);
  rest = trim(dropFront(rest, field.size() + 1));
  return field;
}

std::string cutLast(const std::string& rest, std::string_view closing) {
  size_t p = rest.find(closing);
  return p == std::string::npos ? std::string() : rest.substr(0, p);
}

std::string afterKeyword(std::string_view statement, Statement keyword) {
  return trim(dropFront(statement, statementKeyword(keyword).size()));
}

namespace {

// Five argument slots: four cut at commas, the last at the closing parenthesis; an empty slot
// becomes "##0". With fewer than four commas the argument after the last comma is lost or cut.
void cutArguments(StatementFields& fields, std::string& rest) {
  for (int k = 0; k < 4; ++k) fields.args[k] = cutField(rest, ",");
  fields.args[4] = cutLast(rest, ")");
  for (auto& a : fields.args)
    if (a.empty()) a = "##0";
}

std::string argumentMoves(const StatementFields& fields) {
  std::string lines;
  for (int k = 0; k < 5; ++k) {
    if (k) lines += "\r\n";
    lines += "RG" + std::to_string(k + 1) + ":=" + fields.args[k];
  }
  return lines;
}

}  // namespace

void rewriteNothing(Translation& t) {
  t.setEntry(t.index, replaceFirstNoCase(t.entries[t.index], "nothing", "##0,##0,##0,##0,##0,"));
}

void rewriteExternal(Translation& t, const std::string& statement) {
  StatementFields& f = t.fields;
  std::string rest = afterKeyword(statement, Statement::External);
  f.name = cutField(rest, ":");
  f.library = cutField(rest, " ");
  cutArguments(f, rest);
  t.setEntry(t.index, "var " + f.name + "\r\n" + argumentMoves(f) + "\r\nextl " + f.library + "," +
                          f.name + "\r\n" + f.name + ":=RG0");
}

void rewriteFormula(Translation& t, const std::string& statement) {
  StatementFields& f = t.fields;
  f.expression = cutLast(afterKeyword(statement, Statement::Formula), ");");
  // A variable the last run left under exactly this name stands for its value.
  int slot = t.m.table.findSlot(f.expression);
  if (slot >= 0) f.expression = t.m.table.valueAt(slot);
  t.setEntry(t.index, "var formula\r\n@FORMULA " + f.expression + "\r\nformula:=RG0");
}

void rewriteCall(Translation& t, const std::string& statement) {
  StatementFields& f = t.fields;
  std::string rest = afterKeyword(statement, Statement::Call);
  f.name = cutField(rest, "(");
  cutArguments(f, rest);
  t.setEntry(t.index, argumentMoves(f) + "\r\ncall ::" + f.name);
}

void rewriteDef(Translation& t, const std::string& statement) {
  t.fields.name = cutLast(afterKeyword(statement, Statement::Def), ")");
  t.setEntry(t.index, "::" + t.fields.name);
}

}  // namespace trel
