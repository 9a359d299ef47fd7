// if (...) ... endif and repeat ... while (...): a compare and a jump to a generated label that
// replaces the endif line (downward search) or the repeat line (upward search).
#include "rtl/integer_text.h"
#include "rtl/random.h"
#include "rtl/text.h"
#include "translator/translation.h"

namespace trel {

std::string newLabel(std::string_view prefix) {
  return std::string(prefix) + hexText(static_cast<uint32_t>(randomInt(65535)), 8);
}

namespace {

// X is the text before the first blank (nothing is deleted when there is none), O the text before
// the next blank, Y the text before the first ")".
void cutComparison(StatementFields& f, std::string rest) {
  size_t blank = rest.find(' ');
  f.x = blank == std::string::npos ? std::string() : rest.substr(0, blank);
  rest = trim(dropFront(rest, f.x.size()));
  f.op = cutField(rest, " ");
  f.y = cutLast(rest, ")");
}

// The opcode for the comparison's operator; false for an operator the language does not have.
bool chooseOpcode(StatementFields& f, bool loop) {
  static const struct {
    const char* op;
    const char* ifBlock;  // jumps over the body: the opposite condition
    const char* loopEnd;  // jumps back: the condition itself
  } kOpcodes[] = {{"=", "if !=", "if ="},
                  {"<>", "if =", "if !="},
                  {">", "if <", "if >"},
                  {"<", "if >", "if <"}};
  for (const auto& row : kOpcodes)
    if (f.op == row.op) {
      f.opcode() = loop ? row.loopEnd : row.ifBlock;
      return true;
    }
  return false;
}

bool rejectOperator(Translation& t, const std::string& statement) {
  t.errorStop("Unknown comparison operator \"" + t.fields.op + "\" at: " + std::to_string(t.index) +
              " (" + statement + "); use =, <>, < or >");
  return true;
}

}  // namespace

void rewriteIf(Translation& t, const std::string& statement) {
  StatementFields& f = t.fields;
  t.m.debug.append(std::to_string(t.index) + " founded conditional expression");
  cutComparison(f, afterKeyword(statement, Statement::If));
  std::string label = newLabel("::compare");
  if (!chooseOpcode(f, false) && rejectOperator(t, statement)) return;
  t.setEntry(t.index, "cmp " + f.x + "," + f.y + "\r\n" + f.opcode() + " " + label);

  // Endif search: every entry below that holds "if (" opens a block, and only an exact "endif"
  // closes one; the first endif no inner block claims takes the label.
  long endif = t.blocks.findEndif(t.index);
  if (endif >= 0)
    t.setEntry(static_cast<size_t>(endif), label);
  else
    t.warn(t.index, "if ( without endif: the condition jumps to a label no line defines");
}

void rewriteWhile(Translation& t, const std::string& statement) {
  StatementFields& f = t.fields;
  cutComparison(f, afterKeyword(statement, Statement::While));
  std::string label = newLabel("::rep");
  if (!chooseOpcode(f, true) && rejectOperator(t, statement)) return;
  t.setEntry(t.index, "cmp " + f.x + "," + f.y + "\r\n" + f.opcode() + " " + label);

  // Repeat search, upward: lines still holding "while" are loops not yet translated; only an exact
  // "repeat" line can take the label.
  long repeat = t.blocks.findRepeat(t.index);
  if (repeat >= 0)
    t.setEntry(static_cast<size_t>(repeat), label);
  else
    t.warn(t.index, "while without repeat: the loop has no line to go back to");
}

}  // namespace trel
