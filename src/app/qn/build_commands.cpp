// qn build and qn unpack.
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "app/qn/qn_commands.h"
#include "resources/embedded_code.h"
#include "resources/resources.h"
#include "resources/string_table.h"
#include "rtl/errors.h"
#include "rtl/text.h"
#include "shell/main_form.h"
#include "shell/terminal_host.h"
#include "translator/translator.h"

namespace trel::qn {

namespace {

bool isRegularFile(const std::filesystem::path& p) {
  std::error_code ec;
  return std::filesystem::is_regular_file(p, ec);
}

// ./base.exe, else the trel beside this qn (the build places both there).
std::string defaultStub() {
  if (isRegularFile("base.exe")) return "base.exe";
  std::error_code ec;
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec && isRegularFile(self.parent_path() / "trel"))
    return (self.parent_path() / "trel").string();
  return {};
}

}  // namespace

int buildCommand(const Args& args) {
  std::string file, out, stub;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "-o" || a == "--stub") {
      if (i + 1 >= args.size()) return usageError(a + " needs a file name");
      (a == "-o" ? out : stub) = args[++i];
    } else if (!a.empty() && a[0] == '-') {
      return usageError("unknown option " + a);
    } else if (file.empty()) {
      file = a;
    } else {
      return usageError("more than one file given: " + a);
    }
  }
  if (file.empty() || out.empty()) return usageError("usage: qn build FILE -o OUT [--stub PATH]");
  std::string text;
  if (!readInputFile(file, text)) return 2;
  if (stub.empty()) stub = defaultStub();
  if (stub.empty())
    return usageError(
        "no stub found: neither ./base.exe nor a trel beside qn; give one with --stub");
  try {
    loadExecutableResources(stub);
  } catch (const ResourceError& e) {
    return usageError(std::string("the stub cannot be used: ") + errorText(e));
  }

  TerminalHost host;
  host.answers.push_back(out);
  // Started as the IDE is, so the form behaves as it does there.
  TForm1 form(host, {"base.exe"});
  std::error_code ec;
  form.machine.startupDirectory = std::filesystem::current_path(ec).string();
  form.stubFileName = stub;
  form.buildWaitMilliseconds = 0;  // the pause only lets a desktop settle between copy and write
  form.machine.highlvl = splitFileLines(text);
  try {
    translate(form.machine);
    if (form.machine.translationStopped) return 1;
    form.Button4Click();
  } catch (const std::exception& e) {
    showError(host, e);
    return 1;
  }
  return 0;
}

int unpackCommand(const Args& args) {
  if (args.size() != 1) return usageError("usage: qn unpack EXE");
  const std::string& exe = args[0];
  std::string entry;
  try {
    entry = loadString(loadExecutableResources(exe).resources, kEmbeddedCodeString);
  } catch (const Error& e) {
    return usageError(errorText(e));
  }
  if (entry.empty()) return usageError("no program is embedded in \"" + exe + "\"");

  TerminalHost host;
  std::string program;
  int status = 0;
  try {
    decodeEmbeddedCode(entry, program);
  } catch (const Error& e) {
    showError(host, e);  // the program runs what came before the bad piece; show that part
    status = 1;
  }
  if (!program.empty())
    for (const std::string& line : splitAtLineBreaks(program)) {
      std::fwrite(line.data(), 1, line.size(), stdout);
      std::fputc('\n', stdout);
    }
  return status;
}

}  // namespace trel::qn
