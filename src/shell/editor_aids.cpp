// The editor aids and file commands: function list, low-level viewer, log, help, New, Open, Save.
#include <algorithm>
#include <filesystem>
#include <system_error>

#include "rtl/errors.h"
#include "rtl/integer_text.h"
#include "rtl/text.h"
#include "shell/main_form.h"

namespace trel {

namespace {

// Larger files are refused by Open: the editor would hold them, but every keystroke would copy
// them and the IDE would stop feeling like an editor.
constexpr uintmax_t kMaxEditorFileBytes = 64u << 20;

std::string currentDirectory() {
  std::error_code ec;
  std::string dir = std::filesystem::current_path(ec).string();
  return ec ? std::string(".") : dir;
}

// The text between the list entry's start and its first ": ".
int32_t entryLineNumber(const std::string& entry) {
  size_t colon = entry.find(": ");
  return textToInt(entry.substr(0, colon == std::string::npos ? entry.size() : colon));
}

// Sets the current directory back to the start-up directory when a file command ends, also when
// it ends with an error.
struct StartupDirectoryRestorer {
  const Machine& m;
  ~StartupDirectoryRestorer() { m.restoreStartupDirectory(); }
};

}  // namespace

std::string TForm1::highlvlText() const {
  std::string out;
  for (size_t i = 0; i < machine.highlvl.size(); ++i) {
    if (i) out += highlvlLineBreak;
    out += machine.highlvl[i];
  }
  return out;
}

void TForm1::loadHighlvl(std::string_view fileText) {
  size_t brk = fileText.find_first_of("\r\n");
  if (brk == std::string_view::npos)
    highlvlLineBreak = "\r\n";
  else if (fileText[brk] == '\n')
    highlvlLineBreak = "\n";
  else
    highlvlLineBreak = brk + 1 < fileText.size() && fileText[brk + 1] == '\n' ? "\r\n" : "\r";
  machine.highlvl = splitFileLines(fileText);
}

void TForm1::highlvlChange() {
  explorer.clear();
  explorerHoldsLowLevel = false;
  for (size_t i = 0; i < machine.highlvl.size(); ++i) {
    if (machine.highlvl[i].find("def (") == std::string::npos) continue;
    std::string rest(dropFront(trimView(machine.highlvl[i]), 5));
    size_t close = rest.find(");");
    if (close != std::string::npos)
      rest.erase(close, 2);
    else if ((close = rest.find(')')) != std::string::npos)
      rest.erase(close, 1);
    explorer.push_back(intToText(static_cast<int64_t>(i)) + ": " + rest);
  }
}

void TForm1::explorerClick(int index) {
  if (index < 0 || static_cast<size_t>(index) >= explorer.size()) return;
  int32_t n = entryLineNumber(explorer[static_cast<size_t>(index)]);
  if (explorerHoldsLowLevel) {
    // A low-level entry names a program-list line: show it in the viewer.
    Button6Click();
    lowLevelSelectedLine = n;
    return;
  }
  std::string wanted =
      n >= 0 && static_cast<size_t>(n) < machine.highlvl.size() ? machine.highlvl[n] : "";
  std::string whole;
  for (const std::string& line : machine.highlvl) {
    whole += line;
    whole += "\r\n";
  }
  // The first occurrence wins, also when it lies inside another line.
  size_t at = whole.find(wanted);
  selStart = at == std::string::npos ? 0 : static_cast<int>(at);
  selLength = at == std::string::npos ? 0 : static_cast<int>(wanted.size());
}

void TForm1::Listlowlevelproc1Click() {
  if (machine.ListBox1.empty()) return;
  explorer.clear();
  explorerHoldsLowLevel = true;
  for (int32_t i = 0; i < machine.ListBox1.size(); ++i) {
    const std::string& line = machine.ListBox1.line(i);
    if (line.find("::") == std::string::npos) continue;
    explorer.push_back(intToText(i) + ": " + std::string(dropFront(trimView(line), 2)));
  }
}

void TForm1::Button6Click() {
  lowLevelMemo1.clear();
  for (const std::string& line : machine.ListBox1.lines()) {
    lowLevelMemo1 += line;
    lowLevelMemo1 += "\r\n";
  }
  lowLevelSelectedLine = -1;

  // Before the first run no slot has been named at all; afterwards a free slot is named "00".
  std::vector<int> used;
  if (machine.table.clearCount() == 0) {
    used = machine.table.namedSlots();
    std::sort(used.begin(), used.end());
  } else {
    for (int slot = 0; slot < VariableTable::kSlotCount; ++slot)
      if (machine.table.isOccupied(slot)) used.push_back(slot);
  }
  static constexpr char kHexDigits[] = "0123456789ABCDEF";
  std::string dump = "Variables count: " + intToText(static_cast<int64_t>(used.size())) + "\r\n";
  for (int slot : used) {
    const std::string& value = machine.table.valueAt(slot);
    dump += machine.table.nameAt(slot);
    dump += "\r\nHEX ";
    for (unsigned char c : value) {
      dump += kHexDigits[c >> 4];
      dump += kHexDigits[c & 15];
    }
    dump += "\r\nPCHAR: ";
    dump.append(value.data(), std::min(value.size(), value.find('\0')));
    dump += "\r\n";
  }
  lowLevelMemo2 = std::move(dump);
  lowLevelVisible = true;
}

void TForm1::Button5Click() {
  writeFileAtomically(currentDirectory() + "/log.txt", machine.debug.text());
}

void TForm1::Button8Click() {
  RichEdit1 = readWholeFile("halp.rtf");
  helpVisible = true;
}

void TForm1::New1Click() {
  machine.highlvl.clear();
  host.editorTextReplaced();
  highlvlChange();
}

void TForm1::Button2Click() {
  StartupDirectoryRestorer restore{machine};
  FileDialogRequest request = OpenDialog1(currentDirectory() + "/projects");
  std::optional<std::string> chosen = host.openFileDialog(request);
  if (!chosen) return;
  std::error_code ec;
  if (std::filesystem::is_directory(*chosen, ec))
    throw Error("Cannot open " + *chosen + ": it is a folder");
  uintmax_t size = std::filesystem::file_size(*chosen, ec);
  if (!ec && size > kMaxEditorFileBytes)
    throw Error("Cannot open " + *chosen + ": the file is larger than " +
                intToText(static_cast<int64_t>(kMaxEditorFileBytes >> 20)) +
                " MB; the editor text stays as it was");
  // Read first: a file that cannot be read leaves the editor text as it was.
  std::string text = readWholeFile(*chosen);
  loadHighlvl(text);
  host.editorTextReplaced();
  highlvlChange();
}

void TForm1::Button3Click() {
  StartupDirectoryRestorer restore{machine};
  FileDialogRequest request = SaveDialog1(currentDirectory() + "/projects");
  std::optional<std::string> chosen = host.saveFileDialog(request);
  if (!chosen) return;
  writeFileAtomically(*chosen, highlvlText());
}

}  // namespace trel
