// `qn lsp`: a language server for QN+ (JSON-RPC 2.0 over the framing of message_framing.h). It
// keeps the open documents and answers with what the IDE knows: the translator's errors and
// warnings as diagnostics, the function list and the labels as symbols, the definition of a
// procedure, label or library, the guide's entry as hover, and completion of keywords, formula
// functions, variables and procedures. A malformed message gets an error answer and the server
// goes on; "exit" ends it.
#pragma once

#include <istream>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "lsp/guide.h"
#include "lsp/qn_document.h"

namespace trel::lsp {

struct ServerOptions {
  std::string version;                  // serverInfo.version
  std::vector<std::string> guidePaths;  // halp.rtf: the first one that can be read
};

// JSON-RPC error codes the server answers with.
namespace rpc {
inline constexpr int kParseError = -32700, kInvalidRequest = -32600, kMethodNotFound = -32601,
                     kInvalidParams = -32602, kServerNotInitialized = -32002;
}

class LanguageServer {
 public:
  explicit LanguageServer(ServerOptions options);

  // One message's JSON text in; the messages to write back (the answer, notifications), in order.
  std::vector<nlohmann::json> handle(std::string_view body);
  // The answer to a frame whose header could not be read or whose body is too large.
  static nlohmann::json frameError(const std::string& why);

  bool exited() const { return exited_; }
  // The status `exit` ends the process with: 0 after a shutdown request, else 1.
  int exitStatus() const { return shutdownRequested_ ? 0 : 1; }

 private:
  using json = nlohmann::json;

  json dispatch(const std::string& method, const json& params, std::vector<json>& notifications);
  json initialize(const json& params);
  void open(const std::string& uri, std::string text, std::vector<json>& notifications);
  void change(const json& params, std::vector<json>& notifications);
  json publishDiagnostics(const std::string& uri) const;
  json documentSymbols(const std::string& uri) const;
  json definition(const json& params) const;
  json hover(const json& params) const;
  json completion(const json& params) const;

  // The document at a URI: the open one, else the file on disk; nothing when neither exists.
  std::optional<QnDocument> document(const std::string& uri) const;
  std::string libraryRoot(const QnDocument& doc) const;
  const Guide& guide() const;

  ServerOptions options_;
  std::map<std::string, std::string> texts_;  // open documents: URI -> text
  std::string workspaceRoot_;
  bool initialized_ = false;
  bool shutdownRequested_ = false;
  bool exited_ = false;
  mutable std::optional<Guide> guide_;
};

// Serves until "exit" or the end of input; answers the process's exit status.
int serve(std::istream& in, std::ostream& out, ServerOptions options);

}  // namespace trel::lsp
