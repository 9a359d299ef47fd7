// qn eval FORMULA [--answers FILE] [--max-steps N]: compiles and computes the formula with the
// settings of the main window's formula component and no variables, and prints the result text on
// standard output, or the error message on standard error (exit status 1). INPUT and MSG ask
// through the terminal host. A FORMULA of "-" is read from standard input (for formulas longer than
// a command-line argument may be). With
// --max-steps a formula that runs on and on stops with "Step limit reached" (exit status 3) after
// about N times a few thousand instructions.
#include <cstdio>
#include <iostream>
#include <iterator>

#include "app/qn/qn_commands.h"
#include "formula/art_formula.h"
#include "machine/formula_instruction.h"
#include "rtl/errors.h"
#include "rtl/text.h"
#include "shell/terminal_host.h"

namespace trel::qn {

namespace {

class EmptyVariables : public FormulaVariables {
 public:
  int count() const override { return 0; }
  int find(std::string_view, bool) override { return -1; }
};

bool parsePositive(const std::string& text, uint64_t& value) {
  if (text.empty() || text.size() > 18 || text.find_first_not_of("0123456789") != std::string::npos)
    return false;
  value = std::stoull(text);
  return value > 0;
}

}  // namespace

int evalCommand(const Args& args) {
  TerminalHost host;
  std::string formula;
  bool haveFormula = false;
  uint64_t maxSteps = 0;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--answers") {
      std::string text;
      if (i + 1 >= args.size()) return usageError("--answers needs a file name");
      if (!readInputFile(args[++i], text)) return 2;
      for (auto& line : splitFileLines(text)) host.answers.push_back(line);
    } else if (args[i] == "--max-steps") {
      if (i + 1 >= args.size() || !parsePositive(args[i + 1], maxSteps))
        return usageError("--max-steps needs a positive number");
      ++i;
    } else if (!haveFormula) {
      formula = args[i];
      haveFormula = true;
    } else {
      return usageError("eval takes one formula (quote it): " + args[i]);
    }
  }
  if (!haveFormula) return usageError("eval needs a formula");
  if (formula == "-")
    formula.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());

  TArtFormula F;
  FormulaHostBridge bridge(host, nullptr);
  bridge.maxSteps = maxSteps;
  F.host = &bridge;
  EmptyVariables none;
  int status = 0;
  std::string output;
  try {
    output = F.CompileAndCompute(formula, none);
  } catch (const LimitError& e) {
    output = errorText(e);
    status = 3;
  } catch (const std::exception& e) {
    output = errorText(e);
    status = 1;
  }
  host.flush();
  std::FILE* stream = status == 0 ? stdout : stderr;
  std::fwrite(output.data(), 1, output.size(), stream);
  std::fputc('\n', stream);
  return status;
}

}  // namespace trel::qn
