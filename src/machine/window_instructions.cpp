// Script-made windows: %MAKE_FORM, %MAKE_LABEL, %DRAW_FORM, and clicks on them.
#include "machine/instructions.h"
#include "rtl/errors.h"
#include "rtl/integer_text.h"

namespace trel {

Outcome runMakeForm(Machine& m, RunFrame& f) {
  int32_t n = ++m.windowCounter;
  std::string caption = m.table.GetVariable("RG1");
  int32_t width = 0, height = 0;
  bool sized = tryTextToInt(m.table.GetVariable("RG2"), width) &&
               tryTextToInt(m.table.GetVariable("RG3"), height);
  // The window is made before its size is read, so it stays open when the size is not a number.
  uint64_t handle =
      m.host.makeForm("formx" + intToText(n), caption, sized ? width : 0, sized ? height : 0);
  std::string handleVar = "form" + intToText(n) + ".handle";
  m.table.DeclareVariable(handleVar);
  m.table.SetVariable(handleVar, std::to_string(handle));
  if (!sized) {
    textToInt(m.table.GetVariable("RG2"));
    textToInt(m.table.GetVariable("RG3"));
  }
  m.console.addLine(caption + " as form" + intToText(n) + ".handle " + std::to_string(handle));
  f.currentWindow = handle;
  return Outcome::Continue;
}

Outcome runMakeLabel(Machine& m, RunFrame& f) {
  int32_t n = ++m.labelCounter;
  m.table.DeclareVariable("labelka" + intToText(n) + ".handle");
  std::string caption = m.table.GetVariable("RG1");
  int32_t left = textToInt(m.table.GetVariable("RG2"));
  int32_t top = textToInt(m.table.GetVariable("RG3"));
  m.host.makeLabel(f.currentWindow, "label" + intToText(n), caption, left, top, 32);
  return Outcome::Continue;
}

Outcome runDrawForm(Machine& m, RunFrame& f) {
  f.dropKeyword(Instruction::DrawForm);
  std::string_view t = trimView(f.text());
  std::string colour(textBefore(t, " "));
  t = trimView(dropFront(t, colour.size()));
  std::string x = trim(textBefore(t, " "));
  t = trimView(dropFront(t, textBefore(t, " ").size()));
  std::string y(t);
  int32_t c = textToInt(valueOrLiteral(m, colour));
  int32_t xi = textToInt(valueOrLiteral(m, x));
  int32_t yi = textToInt(valueOrLiteral(m, y));
  if (f.currentWindow == 0)
    throw Error("%DRAW_FORM: there is no window to draw on; make one with %MAKE_FORM in this run");
  m.host.drawPixel(f.currentWindow, static_cast<uint32_t>(c), xi, yi);
  return Outcome::Continue;
}

void Machine::MyFormClick(const std::string& senderClass, const std::string& senderName) {
  table.DeclareVariable("__SENDERCLASS__");
  table.SetVariable("__SENDERCLASS__", senderClass);
  table.DeclareVariable("__SENDERNAME__");
  table.SetVariable("__SENDERNAME__", senderName);
  // Every handler line enters like a call; with several, the last one's code runs first and its
  // RETURN leads into the one before.
  for (int32_t i = 0; i < ListBox1.size(); ++i) {
    if (ListBox1.line(i).find("::formclick") == std::string::npos) continue;
    debug.append("GOT THE SYSTEM MESSAGE!");
    int32_t returnPoint = pc + 1000;
    if (returnPoint > 9999)
      throw Error("Click while line " + intToText(pc) +
                  " runs: a return point can only be kept for lines 0 to 8999");
    table.pushFront("FL2", intToText(returnPoint));
    pc = i;
  }
}

}  // namespace trel
