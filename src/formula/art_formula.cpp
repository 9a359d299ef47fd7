#include "formula/art_formula.h"

#include <atomic>

#include "formula/formula_exception.h"
#include "rtl/decimal_separator.h"
#include "rtl/real_text.h"

namespace trel {

namespace {

// Marks the component busy for one compilation or run: a second one started meanwhile (from a
// dialog or a stop poll that serves the user interface) would tear the first one's state apart.
class BusyScope {
 public:
  explicit BusyScope(bool& busy) : busy_(busy) {
    if (busy_) throw FormulaException("The formula evaluator is already running");
    busy_ = true;
  }
  ~BusyScope() { busy_ = false; }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  bool& busy_;
};

}  // namespace

TArtFormula::TArtFormula() : calc_(*this) {
  setVarNameLiterals("_ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
}

void TArtFormula::setVarNameLiterals(std::string literals) {
  static std::atomic<uint64_t> versions{0};
  literals_ = std::move(literals);
  literalsVersion_ = ++versions;
  alphabet_.fill(false);
  for (char c : literals_) alphabet_[static_cast<unsigned char>(c)] = true;
}

void TArtFormula::copySettings(const TArtFormula& o) {
  UnQuotedString = o.UnQuotedString;
  TestUsedVars = o.TestUsedVars;
  CaseSensitive = o.CaseSensitive;
  Step = o.Step;
  CaseSensitiveString = o.CaseSensitiveString;
  ExternGetVar = o.ExternGetVar;
  NoLeadingZero = o.NoLeadingZero;
  ZeroEmptyString = o.ZeroEmptyString;
  GetVarValue = o.GetVarValue;
  GetVarsCount = o.GetVarsCount;
  setVarNameLiterals(o.literals_);
}

const std::string& TArtFormula::Compile(std::string_view text, FormulaVariables& variables) {
  BusyScope busy(busy_);
  calc_.clear();
  code_.clear();
  fast_.reset();
  restoredId_ = 0;
  arrayFastCount_ = -1;
  DecimalSeparatorScope point('.');
  context_.caseSensitive = CaseSensitive;
  context_.beginCompile(variables);
  compiledCount_ = variables.count();
  LexerSettings settings;
  settings.alphabet = &alphabet_;
  settings.externGetVar = ExternGetVar;
  settings.unquotedString = UnQuotedString;
  settings.noLeadingZero = NoLeadingZero;
  compiler_.compile(text, settings, context_, TestUsedVars, code_);
  fast_.translate(code_);
  return code_;
}

TArtFormula::CompileSettings TArtFormula::compileSettings() const {
  return {UnQuotedString, TestUsedVars, CaseSensitive, ExternGetVar, NoLeadingZero, literals_};
}

void TArtFormula::saveCompiled(Compiled& into) const {
  into.code = code_;
  into.fast = fast_;
  into.count = compiledCount_;
}

void TArtFormula::restoreCompiled(const Compiled& from) {
  BusyScope busy(busy_);
  calc_.clear();
  arrayFastCount_ = -1;
  if (from.id != 0 && from.id == restoredId_) return;
  restoredId_ = from.id;
  code_ = from.code;
  fast_ = from.fast;
  compiledCount_ = from.count;
}

void TArtFormula::checkRunnable(FormulaVariables& variables) const {
  if (code_.empty()) throw FormulaException("No compiled formula to compute");
  if (variables.count() != compiledCount_)
    throw FormulaException("Compute was given " + std::to_string(variables.count()) +
                           " variables, Compile " + std::to_string(compiledCount_));
}

bool TArtFormula::computeFast(FormulaVariables& variables, double& value) {
  if (!fast_.usable() || Step) return false;
  checkRunnable(variables);
  context_.bindValues(variables);
  return fast_.run(context_, value);
}

TFormulaCalc& TArtFormula::runCode(FormulaVariables& variables) {
  checkRunnable(variables);
  calc_.clear();
  context_.caseSensitive = CaseSensitive;
  context_.beginRun(variables);
  try {
    calc_.run(code_);
  } catch (...) {
    context_.endRun(false);
    throw;
  }
  context_.endRun(true);
  if (calc_.top() == 0) throw FormulaException("Formula stack is empty");
  return calc_;
}

TCalcItem TArtFormula::ComputeValue(FormulaVariables& variables) {
  BusyScope busy(busy_);
  double value;
  if (computeFast(variables, value)) return TCalcItem(value);
  return runCode(variables).itemAt(0);
}

std::string TArtFormula::Compute(FormulaVariables& variables) {
  BusyScope busy(busy_);
  double value;
  if (computeFast(variables, value)) return realToText(value);
  TFormulaCalc& calc = runCode(variables);
  return calc.toText(calc.itemAt(0));
}

std::string TArtFormula::CompileAndCompute(std::string_view text, FormulaVariables& variables) {
  Compile(text, variables);
  return Compute(variables);
}

const std::string& TArtFormula::Compile(std::string_view text, int n, const std::string* names) {
  if (n < 0 || (n > 0 && !names))
    throw FormulaException("Compile needs the names of its variables");
  arrayVariables_.setNames(n, names);
  arrayVariables_.setValues(nullptr);
  const std::string& code = Compile(text, arrayVariables_);
  if (fast_.usable()) arrayFastCount_ = n;
  return code;
}

ArrayVariables& TArtFormula::arrayValues(int n, TCalcItem* values) {
  if (n != arrayVariables_.count() || (n > 0 && !values))
    throw FormulaException("Compute was given " + std::to_string(n) + " variables, Compile " +
                           std::to_string(arrayVariables_.count()));
  arrayVariables_.setValues(values);
  return arrayVariables_;
}

std::string TArtFormula::Compute(int n, TCalcItem* values) {
  double value;
  if (computeFastOn(n, values, value)) [[likely]]
    return realToText(value);
  return computeGeneral(n, values);
}

TCalcItem TArtFormula::ComputeValue(int n, TCalcItem* values) {
  double value;
  if (computeFastOn(n, values, value)) [[likely]]
    return TCalcItem(value);
  return computeValueGeneral(n, values);
}

[[gnu::noinline]] std::string TArtFormula::computeGeneral(int n, TCalcItem* values) {
  return Compute(arrayValues(n, values));
}

[[gnu::noinline]] TCalcItem TArtFormula::computeValueGeneral(int n, TCalcItem* values) {
  return ComputeValue(arrayValues(n, values));
}

void TArtFormula::CompileAndCompute(std::string_view text, int n, std::string& result,
                                    TCalcItem* values, const std::string* names) {
  Compile(text, n, names);
  result = Compute(n, values);
}

}  // namespace trel
