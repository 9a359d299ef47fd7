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
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "machine/assembly_log.h"
#include "machine/console_model.h"
#include "machine/diagnostic.h"
#include "machine/host.h"
#include "machine/line_cache.h"
#include "machine/program_list.h"
#include "machine/run_frame.h"
#include "machine/source_map.h"
#include "machine/source_translator.h"
#include "machine/variable_table.h"

namespace trel {

class Debugger;
struct FormulaState;
struct FormulaStateDeleter {
  void operator()(FormulaState* state) const;
};

class Machine : private ProgramListWatcher {
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
  // Where each line of `code` came from (the translator writes it; code set otherwise has none,
  // and then every line is its own source line in `sourceName`).
  SourceMap codeMap;
  // The name of the file the editor lines came from, as the user named it (file 0 of the map).
  std::string sourceName;
  ProgramList ListBox1{{"//PARSER"}};           // program list of the last run
  AssemblyLog debug;                            // "Assembly log:"
  bool CheckBox1 = false;                       // "Only translate"
  bool translationStopped = false;              // the last translation ended with an error stop
  std::optional<Diagnostic> translationError;   // where it stopped
  std::vector<Diagnostic> translationWarnings;  // what the last translation noticed
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
  // Bytes a run may hold in its variables, log and console before "Memory limit reached"; 0 for
  // no limit. The log and the console bound themselves (a quarter each of the default).
  static constexpr uint64_t kDefaultMaxMemory = uint64_t{1} << 30;
  uint64_t maxMemory = kDefaultMaxMemory;
  // Off: the steps of a run write nothing to the assembly log (qn --no-log); what is written
  // outside them, such as the closing variable count, stays.
  bool traceSteps = true;
  uint64_t memoryInUse() const { return table.bytes() + debug.bytes() + console.bytes(); }
  // Off: every step goes through the instruction handlers, never through a decoded line, and
  // copies its line at once (the tests compare the two).
  bool decodedSteps = true;

  // --- run control
  Debugger* debugger = nullptr;  // watches the steps while attached (the IDE, qn debug)
  bool stopRequested = false;    // the Stop command: every run in progress ends between two steps
  uint64_t lastRunSteps = 0;     // steps the last outermost run took
  // Where the last error left a run: the program-list line and its place in the source.
  struct ErrorPoint {
    std::exception_ptr error;
    RunMode mode = RunMode::Program;
    int32_t pc = -1;
    SourceLocation location;
  };
  ErrorPoint errorPoint;
  // The diagnostic of `error` when it is the one that last left a run at a known source line.
  std::optional<Diagnostic> errorDiagnostic(const std::exception& error) const;

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
  LineCache lineCache_;

  // The caption's text is line label6Line_ of the program list while label6InList_ is set.
  bool label6InList_ = false;
  int32_t label6Line_ = 0;
  // Copies every text still held as a place in the program list (the caption's, each run's
  // working text) before the list changes.
  void beforeListChange() override;
  // Gives the frame's working text its own copy of the line it stands for.
  void ownWorkText(RunFrame& f) {
    if (!f.work.inList) return;
    f.work.text.assign(ListBox1.line(f.work.sourceIndex));
    f.work.inList = false;
  }

  friend class Interpreter;
};

// Shows an error the way the application's error display does: a message box with its text.
void showError(Host& host, const std::exception& error);
// The same for an error that left a run of the machine, followed by its diagnostic (the source
// line it happened at) when it is known. Call it from the handler that caught the error.
void showError(Machine& machine, const std::exception& error);

}  // namespace trel
