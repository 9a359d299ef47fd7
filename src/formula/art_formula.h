// TArtFormula: the formula evaluator as one component. It compiles a formula text against a list
// of variable names into formula code, and computes the code against the variables' values.
//
//   TArtFormula f;
//   std::string result;
//   f.CompileAndCompute("x * 2", 1, result, values, names);   // names {"x"}, values {21} -> "42"
#pragma once

#include <array>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "formula/calc_item.h"
#include "formula/compiler.h"
#include "formula/fast_code.h"
#include "formula/formula_calc.h"
#include "formula/formula_exception.h"
#include "formula/formula_host.h"
#include "formula/formula_variables.h"
#include "formula/variable_context.h"

namespace trel {

// Sets Val to the text of value number n (from 0) of the external variable Vname.
using TArtFormulaGetVarProc =
    std::function<void(const std::string& Vname, int n, std::string& Val, bool wantnumber)>;
// Sets count to the number of values of the external variable Vname.
using TArtFormulaGetVarsCountProc =
    std::function<void(const std::string& Vname, int& count, bool wantnumber)>;

class TArtFormula {
 public:
  TArtFormula();
  TArtFormula(const TArtFormula&) = delete;
  TArtFormula& operator=(const TArtFormula&) = delete;

  // --- settings
  bool UnQuotedString = false;      // an identifier that names nothing is a text of its characters
  bool TestUsedVars = false;        // Compile fails when a given variable is not referred to
  bool CaseSensitive = false;       // variable names are compared exactly
  bool Step = false;                // the host is asked to stop before every instruction
  bool CaseSensitiveString = true;  // text comparisons and POS respect letter case
  bool ExternGetVar = false;     // an identifier that names nothing is fetched through GetVarValue
  bool NoLeadingZero = false;    // a number may begin with "."
  bool ZeroEmptyString = false;  // the empty text counts as the number 0
  TArtFormulaGetVarProc GetVarValue;
  TArtFormulaGetVarsCountProc GetVarsCount;
  // Dialogs and stop requests; without a host INPUT gives the empty text and MSG 0.
  FormulaHost* host = nullptr;

  // The identifier alphabet: a character that occurs in it may start a name.
  void setVarNameLiterals(std::string literals);
  // Takes every setting of another component (not its host).
  void copySettings(const TArtFormula& other);

  // --- operations with names and values as arrays of n entries
  // Returns the code, which is also kept for Compute. Raises FormulaException.
  const std::string& Compile(std::string_view text, int n, const std::string* names);
  // n and the values must match the last Compile; the values receive the variables' final values.
  std::string Compute(int n, TCalcItem* values);
  void CompileAndCompute(std::string_view text, int n, std::string& result, TCalcItem* values,
                         const std::string* names);
  // Compute without turning the formula's value into text.
  TCalcItem ComputeValue(int n, TCalcItem* values);

  // --- the same with the variables given by the host
  const std::string& Compile(std::string_view text, FormulaVariables& variables);
  std::string Compute(FormulaVariables& variables);
  std::string CompileAndCompute(std::string_view text, FormulaVariables& variables);
  // The formula's value itself, without turning it into text.
  TCalcItem ComputeValue(FormulaVariables& variables);

  const std::string& code() const { return code_; }

  // --- keeping compiled code, for a host that runs the same formula again
  // What a compilation depends on besides the text and the lookups of the variables' names.
  struct CompileSettings {
    bool unquotedString = false, testUsedVars = false, caseSensitive = false, externGetVar = false,
         noLeadingZero = false;
    std::string literals;
    bool operator==(const CompileSettings&) const = default;
  };
  CompileSettings compileSettings() const;
  bool hasCompileSettings(const CompileSettings& s) const {
    return hasCompileFlags(s) && s.literals == literals_;
  }
  // Tells the identifier alphabets apart: a new number, unique in the process, each time one is
  // set, so that a host can see cheaply that the settings it compiled with still hold.
  uint64_t literalsVersion() const { return literalsVersion_; }
  // hasCompileSettings for settings taken when literalsVersion() was `version`.
  bool hasCompileSettings(const CompileSettings& s, uint64_t version) const {
    return hasCompileFlags(s) && version == literalsVersion_;
  }
  // The code of the last successful Compile and what Compute needs of it.
  struct Compiled {
    std::string code;
    FastCode fast;
    int count = 0;
    // Tells saved code apart (0: none); code restored twice in a row is not copied again.
    uint64_t id = 0;
  };
  void saveCompiled(Compiled& into) const;
  // Instead of Compile: takes code saved after a Compile of the same text, with the same
  // settings, against variables whose names resolve as they did then.
  void restoreCompiled(const Compiled& from);

  // --- for the evaluator and the built-in functions
  VariableContext& context() { return context_; }
  TFormulaCalc& calc() { return calc_; }
  // Raises FormulaStopped when the host asks to stop.
  void pollStop() {
    if (host && host->stopRequested()) throw FormulaStopped();
  }

 private:
  TFormulaCalc& runCode(FormulaVariables& variables);
  void checkRunnable(FormulaVariables& variables) const;
  // Computes numbers-only code on the fast path; false when the general evaluator must run it.
  bool computeFast(FormulaVariables& variables, double& value);
  ArrayVariables& arrayValues(int n, TCalcItem* values);
  // computeFast on values given as an array, without the general path's checks and set-up:
  // false also when a check would fail, so that the general path raises its error.
  // It binds nothing: the fast path reads the values only, and the general path binds them.
  bool computeFastOn(int n, TCalcItem* values, double& value) const {
    if (n != arrayFastCount_ || Step || busy_ || (!values && n > 0)) return false;
    return fast_.run(values, n, value);
  }
  // ComputeValue and Compute on values given as an array when the fast path gave up; apart, so
  // that the fast path's caller stays small.
  TCalcItem computeValueGeneral(int n, TCalcItem* values);
  std::string computeGeneral(int n, TCalcItem* values);

  bool hasCompileFlags(const CompileSettings& s) const {
    return s.unquotedString == UnQuotedString && s.testUsedVars == TestUsedVars &&
           s.caseSensitive == CaseSensitive && s.externGetVar == ExternGetVar &&
           s.noLeadingZero == NoLeadingZero;
  }

  std::string literals_;
  uint64_t literalsVersion_ = 0;
  std::array<bool, 256> alphabet_{};
  FormulaCompiler compiler_;
  FastCode fast_;
  TFormulaCalc calc_;
  VariableContext context_;
  ArrayVariables arrayVariables_;
  std::string code_;
  int compiledCount_ = 0;
  // The count of the array variables the last Compile used when the fast path can run its code
  // on their values directly; else -1.
  int arrayFastCount_ = -1;
  uint64_t restoredId_ = 0;  // the Compiled::id of the code, when it was restored
  bool busy_ = false;
};

}  // namespace trel
