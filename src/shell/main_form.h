// TForm1: the main window's state and command handlers, without any widget.
//
// It holds the machine (the interpreter with the state it shares with the window: editor lines,
// code, program list, log, console) beside the controls only the shell uses (the Icon group's
// label, the function list, the low-level viewer and help window contents), and it has the
// window's commands: Run, Export, start-up and close, Build exe, the icon command, the editor aids
// and file commands. The Qt main window shows this state and forwards its menus and buttons here.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "machine/machine.h"

namespace trel {

class TForm1 {
 public:
  // `arguments` are the command-line arguments after the program name.
  TForm1(Host& host, std::vector<std::string> arguments);
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  Host& host;
  Machine machine;

  const std::vector<std::string>& arguments() const { return arguments_; }
  // The first command-line argument, empty when there is none.
  std::string firstArgument() const { return arguments_.empty() ? std::string() : arguments_[0]; }
  // IDE mode: the first argument is exactly "base.exe" (byte for byte).
  bool ideMode() const { return firstArgument() == "base.exe"; }

  // --- controls only the shell uses
  std::string Label3 = "Make Exe first";  // Icon group: the last built file name
  std::vector<std::string> explorer;      // the "Functions" list: entries "N: name"
  // The list holds low-level procedures (List low-level proc) rather than source functions; a click
  // then shows that program-list line in the low-level viewer.
  bool explorerHoldsLowLevel = false;
  int lowLevelSelectedLine = -1;  // program-list line the viewer shows selected, -1 for none
  int selStart = 0;               // editor selection made by explorerClick
  int selLength = 0;
  std::string lowLevelMemo1 = "Memo1";  // low-level viewer, left: the program list
  std::string lowLevelMemo2 = "Memo2";  // low-level viewer, right: the variable dump
  bool lowLevelVisible = false;
  std::string RichEdit1 = "RichEdit1";  // help window: the text of "halp.rtf"
  bool helpVisible = false;
  bool timer1Enabled = true;  // the main window's one-shot 100 ms timer
  bool mainWindowVisible = true;
  std::string highlvlLineBreak = "\r\n";  // line-break style of the editor text

  // --- Build exe and the standalone start
  std::string stubFileName = "base.exe";          // the runtime stub that Build exe copies
  int buildWaitMilliseconds = 700;                // Build exe's pause between copy and write
  std::string executablePath = "/proc/self/exe";  // where the embedded program is read from
  bool startupReportedError = false;              // FormCreate showed an error

  // The editor text as it is written to a file: the lines joined by highlvlLineBreak, no break
  // after the last.
  std::string highlvlText() const;
  // Replaces the editor lines by a file's text and takes over its line-break style (the first
  // break found: CR LF, LF or CR; CR LF when the text has none).
  void loadHighlvl(std::string_view fileText);

  // --- Run, the console's ">>" button and Export (shell/commands.h)
  void Button1Click();
  void ConsoleButton1Click();
  void Button7Click();

  // --- start-up and close (shell/startup.cpp)
  void FormCreate();
  void Timer1Timer();
  void FormClose();

  // --- Build exe (shell/builder.cpp)
  void Button4Click();

  // --- the icon command (shell/icon_command.cpp)
  void Button10Click();

  // --- editor aids, viewer, help and file commands (shell/editor_aids.cpp)
  void highlvlChange();
  void explorerClick(int index);
  void Listlowlevelproc1Click();
  void Button6Click();  // Show low-level
  void Button5Click();  // Save debug log
  void Button8Click();  // Help
  void Button2Click();  // Open
  void Button3Click();  // Save
  void New1Click();

 private:
  std::vector<std::string> arguments_;
};

}  // namespace trel
