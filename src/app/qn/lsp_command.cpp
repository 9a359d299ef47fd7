// qn lsp: the language server on standard input and output. The guide that hover quotes is the
// halp.rtf of the current folder (a start-up directory), else the installed one
// (PREFIX/share/trel beside PREFIX/bin/qn), else the one beside qn in a build folder.
#include <filesystem>
#include <iostream>

#include "app/qn/qn_commands.h"
#include "app/version_line.h"
#include "lsp/language_server.h"

namespace trel::qn {

int lspCommand(const Args& args) {
  for (const std::string& a : args)
    if (a != "--stdio") return usageError("lsp takes no arguments but --stdio: " + a);
  lsp::ServerOptions options;
  options.version = TREL_VERSION;
  options.guidePaths.push_back("halp.rtf");
  std::error_code ec;
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec) {
    options.guidePaths.push_back((self.parent_path() / "../share/trel/halp.rtf").string());
    options.guidePaths.push_back((self.parent_path() / "halp.rtf").string());
  }
  std::ios::sync_with_stdio(false);
  return lsp::serve(std::cin, std::cout, std::move(options));
}

}  // namespace trel::qn
