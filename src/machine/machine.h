// The machine and the main window's shared state.
//
// The system keeps its shared state in the main window and its controls: the source editor
// (highlvl), the hidden low-level text (code), the program list (ListBox1), the assembly log
// (debug), the "Only translate" box (CheckBox1), the trace memo (outp), the import buffer (Memo1)
// and the console window. Here they are plain members under those names; Qt widgets only show and
// edit them. The interpreter's entry (compile) is a member; the translator (translator/) and the
// commands that use both (shell/) work on a machine from outside.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "machine/assembly_log.h"
#include "machine/console_model.h"
#include "machine/host.h"
#include "machine/program_list.h"
#include "machine/run_frame.h"
#include "machine/source_translator.h"
#include "machine/variable_table.h"

namespace trel {

struct FormulaState;
struct FormulaStateDeleter {
  void operator()(FormulaState* state) const;
};

class Machine {
 public:
  // `translator` serves the nested runs of source files (__NATIVE@@).
  Machine(Host& host, const SourceTranslator& translator);
  ~Machine();
  Machine(const Machine&) = delete;
  Machine& operator=(const Machine&) = delete;

  Host& host;
  const SourceTranslator& translator;

  // --- the main window's controls, with their initial contents
  std::vector<std::string> highlvl{"highlvl"};     // source editor lines
  std::vector<std::string> code{"//This is QN+"};  // hidden low-level text
  ProgramList ListBox1{{"//PARSER"}};              // program list of the last run
  AssemblyLog debug;                               // "Assembly log:"
  bool CheckBox1 = false;                          // "Only translate"
  bool translationStopped = false;                 // the last translation ended with an error stop
  std::vector<std::string> outp{"o", "u", "t", "p"};
  std::string Memo1;     // import buffer of the translator
  ConsoleModel console;  // TForm2
  VariableTable table;   // VariableTable

  // --- interpreter counters and settings
  int32_t pc = 0;  // the program counter, shared by every call of compile and by clicks
  int32_t windowCounter = 0;
  int32_t labelCounter = 0;
  std::string startupDirectory;
  // Every file dialog is followed by this, so relative names resolve against the start-up
  // directory again; nothing happens while it is unknown (empty).
  void restoreStartupDirectory() const;
  // HALT ends only the run when the process was started with a first argument (IDE mode, qn);
  // without one (a standalone program) it ends the process.
  bool firstArgumentPresent = true;
  // Steps allowed to all runs together before "Step limit reached"; 0 for no limit.
  uint64_t maxSteps = 0;
  uint64_t stepsTaken = 0;

  // "Current execution point:" caption: program counter + ": " + working text.
  std::string Label6() const;

  // --- entry points
  // The interpreter: runs `code` on a fresh machine, or the console input box once.
  void compile(RunMode mode);
  // A click on a script-made window or label.
  void MyFormClick(const std::string& senderClass, const std::string& senderName);

  void InitRegisters();

  std::string codeText() const;
  // Replaces `code` by the lines of a text (CR LF, CR or LF between them).
  void setCodeText(std::string_view text);

  // The innermost running call of compile, or null.
  RunFrame* frame = nullptr;
  std::unique_ptr<FormulaState, FormulaStateDeleter> formulaState;

 private:
  friend struct RunFrameScope;
  int32_t label6Pc_ = 0;
  std::string label6Text_ = "0";
  bool label6Initial_ = true;

  friend class Interpreter;
};

// Shows an error the way the application's error display does: a message box with its text.
void showError(Host& host, const std::exception& error);

}  // namespace trel
