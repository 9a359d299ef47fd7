#include "machine/machine.h"

#include <filesystem>
#include <system_error>

#include "machine/run_frame.h"
#include "rtl/errors.h"

namespace trel {

Machine::Machine(Host& h, const SourceTranslator& t) : host(h), translator(t), console(h) {
  debug.append("debug");
  ListBox1.setWatcher(this);
}

void Machine::beforeListChange() {
  if (label6InList_) {
    label6Text_.assign(ListBox1.line(label6Line_));
    label6InList_ = false;
  }
  for (RunFrame* f = frame; f; f = f->outer) ownWorkText(*f);
}

Machine::~Machine() = default;

void Machine::InitRegisters() {
  table.InitRegisterNames();
  windowCounter = 0;
  labelCounter = 0;
}

std::string Machine::Label6() const {
  if (label6Initial_) return "0";
  return std::to_string(label6Pc_) + ": " +
         (label6InList_ ? ListBox1.line(label6Line_) : label6Text_);
}

void Machine::restoreStartupDirectory() const {
  if (startupDirectory.empty()) return;
  std::error_code ignored;
  std::filesystem::current_path(startupDirectory, ignored);
}

std::string Machine::codeText() const {
  return joinCrLf(code);
}

void Machine::setCodeText(std::string_view text) {
  if (text.empty())
    code.clear();
  else
    code = splitAtLineBreaks(text);
}

void showError(Host& host, const std::exception& error) {
  host.showMessage(errorText(error));
}

std::optional<Diagnostic> Machine::errorDiagnostic(const std::exception& error) const {
  std::exception_ptr current = std::current_exception();
  if (!current || current != errorPoint.error || errorPoint.location.line < 1) return std::nullopt;
  return diagnosticAt(ListBox1.sourceMap(), errorPoint.location, errorText(error));
}

void showError(Machine& machine, const std::exception& error) {
  showError(machine.host, error);
  if (std::optional<Diagnostic> d = machine.errorDiagnostic(error)) machine.host.diagnostic(*d);
}

}  // namespace trel
