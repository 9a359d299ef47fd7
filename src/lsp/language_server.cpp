#include "lsp/language_server.h"

#include <filesystem>
#include <set>

#include "editor/syntax_scanner.h"
#include "formula/function_table.h"
#include "lsp/message_framing.h"
#include "lsp/text_position.h"
#include "rtl/text.h"

namespace trel::lsp {

namespace {

using json = nlohmann::json;

// Protocol constants.
constexpr int kSyncFull = 1;
constexpr int kSeverityError = 1, kSeverityWarning = 2;
constexpr int kSymbolFunction = 12, kSymbolKey = 20;
constexpr int kCompletionFunction = 3, kCompletionVariable = 6, kCompletionKeyword = 14;

json position(size_t line, size_t character) {
  return {{"line", line}, {"character", character}};
}

json range(size_t line, size_t startCharacter, size_t endCharacter) {
  return {{"start", position(line, startCharacter)}, {"end", position(line, endCharacter)}};
}

// The whole of line `line` of `lines` (an empty range past the last line).
json lineRange(const std::vector<std::string>& lines, size_t line) {
  return range(line, 0, line < lines.size() ? utf16Length(lines[line]) : 0);
}

json answer(const json& id, json result) {
  return {{"jsonrpc", "2.0"}, {"id", id}, {"result", std::move(result)}};
}

json failure(const json& id, int code, const std::string& message) {
  return {{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", code}, {"message", message}}}};
}

json notification(const std::string& method, json params) {
  return {{"jsonrpc", "2.0"}, {"method", method}, {"params", std::move(params)}};
}

// A request whose parameters do not fit; answered with kInvalidParams.
struct InvalidParams {
  std::string why;
};

const json& member(const json& object, const char* name) {
  if (!object.is_object() || !object.contains(name))
    throw InvalidParams{"missing " + std::string(name)};
  return object.at(name);
}

std::string stringMember(const json& object, const char* name) {
  const json& v = member(object, name);
  if (!v.is_string()) throw InvalidParams{std::string(name) + " must be a string"};
  return v.get<std::string>();
}

size_t countMember(const json& object, const char* name) {
  const json& v = member(object, name);
  if (!v.is_number_unsigned() && !(v.is_number_integer() && v.get<int64_t>() >= 0))
    throw InvalidParams{std::string(name) + " must be a number from 0"};
  return v.get<size_t>();
}

std::string documentUri(const json& params) {
  return stringMember(member(params, "textDocument"), "uri");
}

// Line and byte offset of a request's position, clamped to the document.
std::pair<size_t, size_t> bytePosition(const QnDocument& doc, const json& params) {
  const json& at = member(params, "position");
  size_t line = countMember(at, "line");
  size_t character = countMember(at, "character");
  if (line >= doc.lines().size()) return {line, 0};
  return {line, byteOffsetOf(doc.lines()[line], character)};
}

// Applies one change of didChange: a whole new text, or the replacement of a range.
void applyChange(std::string& text, const json& change) {
  std::string replacement = stringMember(change, "text");
  if (!change.contains("range")) {
    text = std::move(replacement);
    return;
  }
  std::vector<size_t> starts;
  std::vector<std::string> lines = splitAtLineBreaks(text, &starts);
  auto offset = [&](const json& at) {
    size_t line = countMember(at, "line");
    if (line >= lines.size()) return text.size();
    return starts[line] + byteOffsetOf(lines[line], countMember(at, "character"));
  };
  const json& r = member(change, "range");
  size_t from = offset(member(r, "start")), to = offset(member(r, "end"));
  if (to < from) std::swap(from, to);
  text.replace(from, to - from, replacement);
}

std::string functionSummary(const FTableItem& f) {
  std::string count = f.count == kAnyCount ? "any number of arguments"
                      : f.count == 1       ? "1 argument"
                                           : std::to_string(f.count) + " arguments";
  return "formula function " + std::string(f.name) + ", " + count;
}

const FTableItem* formulaFunction(std::string_view word) {
  std::string upper = upperCase(word);
  for (const FTableItem& f : kFunctionTable)
    if (f.name == upper) return &f;
  return nullptr;
}

}  // namespace

LanguageServer::LanguageServer(ServerOptions options) : options_(std::move(options)) {}

json LanguageServer::frameError(const std::string& why) {
  return failure(nullptr, rpc::kParseError, why);
}

std::vector<json> LanguageServer::handle(std::string_view body) {
  std::vector<json> out;
  json message = json::parse(body, nullptr, false);
  if (message.is_discarded()) {
    out.push_back(failure(nullptr, rpc::kParseError, "the message is not valid JSON"));
    return out;
  }
  if (!message.is_object() || !message.contains("method") || !message["method"].is_string()) {
    json id = message.is_object() && message.contains("id") ? message["id"] : json(nullptr);
    // An answer from the client to a request of ours needs no answer; we send none, so ignore it.
    if (message.is_object() && (message.contains("result") || message.contains("error")))
      return out;
    out.push_back(failure(id, rpc::kInvalidRequest, "a request needs a method name"));
    return out;
  }
  const std::string method = message["method"];
  const bool isRequest = message.contains("id");
  const json id = isRequest ? message["id"] : json(nullptr);
  if (isRequest && !id.is_string() && !id.is_number_integer()) {
    out.push_back(failure(nullptr, rpc::kInvalidRequest, "the id must be a number or a string"));
    return out;
  }
  const json params = message.contains("params") ? message["params"] : json::object();

  if (!initialized_ && method != "initialize" && method != "exit") {
    if (isRequest)
      out.push_back(failure(id, rpc::kServerNotInitialized, "initialize has not been sent"));
    return out;
  }
  if (shutdownRequested_ && method != "exit") {
    if (isRequest) out.push_back(failure(id, rpc::kInvalidRequest, "the server is shutting down"));
    return out;
  }
  std::vector<json> notifications;
  try {
    json result = dispatch(method, params, notifications);
    if (isRequest) {
      if (result.is_discarded())
        out.push_back(failure(id, rpc::kMethodNotFound, "unknown method " + method));
      else
        out.push_back(answer(id, std::move(result)));
    }
  } catch (const InvalidParams& e) {
    if (isRequest) out.push_back(failure(id, rpc::kInvalidParams, method + ": " + e.why));
  } catch (const json::exception& e) {
    if (isRequest) out.push_back(failure(id, rpc::kInvalidParams, method + ": " + e.what()));
  }
  out.insert(out.end(), notifications.begin(), notifications.end());
  return out;
}

// Answers the result of a request (or nothing for a notification); a discarded value for a
// method the server does not know.
json LanguageServer::dispatch(const std::string& method, const json& params,
                              std::vector<json>& notifications) {
  if (method == "initialize") return initialize(params);
  if (method == "initialized") return nullptr;
  if (method == "shutdown") {
    shutdownRequested_ = true;
    return nullptr;
  }
  if (method == "exit") {
    exited_ = true;
    return nullptr;
  }
  if (method == "textDocument/didOpen") {
    const json& doc = member(params, "textDocument");
    open(stringMember(doc, "uri"), stringMember(doc, "text"), notifications);
    return nullptr;
  }
  if (method == "textDocument/didChange") {
    change(params, notifications);
    return nullptr;
  }
  if (method == "textDocument/didSave") {
    std::string uri = documentUri(params);
    if (texts_.count(uri)) notifications.push_back(publishDiagnostics(uri));
    return nullptr;
  }
  if (method == "textDocument/didClose") {
    std::string uri = documentUri(params);
    texts_.erase(uri);
    notifications.push_back(notification("textDocument/publishDiagnostics",
                                         {{"uri", uri}, {"diagnostics", json::array()}}));
    return nullptr;
  }
  if (method == "textDocument/documentSymbol") return documentSymbols(documentUri(params));
  if (method == "textDocument/definition") return definition(params);
  if (method == "textDocument/hover") return hover(params);
  if (method == "textDocument/completion") return completion(params);
  if (method.starts_with("$/")) return nullptr;  // optional notifications: cancel, trace, progress
  return json(json::value_t::discarded);
}

json LanguageServer::initialize(const json& params) {
  initialized_ = true;
  if (params.is_object()) {
    if (params.contains("rootUri") && params["rootUri"].is_string())
      workspaceRoot_ = pathOfUri(params["rootUri"].get<std::string>()).value_or("");
    else if (params.contains("rootPath") && params["rootPath"].is_string())
      workspaceRoot_ = params["rootPath"].get<std::string>();
  }
  json capabilities = {
      {"textDocumentSync", {{"openClose", true}, {"change", kSyncFull}, {"save", true}}},
      {"documentSymbolProvider", true},
      {"definitionProvider", true},
      {"hoverProvider", true},
      {"completionProvider", {{"triggerCharacters", {"%", "@"}}}},
  };
  return {{"capabilities", capabilities},
          {"serverInfo", {{"name", "qn lsp"}, {"version", options_.version}}}};
}

void LanguageServer::open(const std::string& uri, std::string text,
                          std::vector<json>& notifications) {
  texts_[uri] = std::move(text);
  notifications.push_back(publishDiagnostics(uri));
}

void LanguageServer::change(const json& params, std::vector<json>& notifications) {
  std::string uri = documentUri(params);
  auto it = texts_.find(uri);
  if (it == texts_.end()) throw InvalidParams{"the document is not open: " + uri};
  const json& changes = member(params, "contentChanges");
  if (!changes.is_array()) throw InvalidParams{"contentChanges must be a list"};
  std::string text = it->second;
  for (const json& c : changes) applyChange(text, c);
  it->second = std::move(text);
  notifications.push_back(publishDiagnostics(uri));
}

std::optional<QnDocument> LanguageServer::document(const std::string& uri) const {
  std::optional<std::string> path = pathOfUri(uri);
  auto open = texts_.find(uri);
  if (open != texts_.end()) return QnDocument(path.value_or(uri), open->second);
  if (!path) return std::nullopt;
  try {
    return QnDocument(*path, readWholeFile(*path));
  } catch (...) {
    return std::nullopt;
  }
}

std::string LanguageServer::libraryRoot(const QnDocument& doc) const {
  return doc.libraryRoot(workspaceRoot_);
}

json LanguageServer::publishDiagnostics(const std::string& uri) const {
  json list = json::array();
  if (auto doc = document(uri)) {
    const auto& lines = doc->lines();
    const auto imports = doc->imports();
    for (const Diagnostic& d : doc->translationDiagnostics(libraryRoot(*doc))) {
      size_t line = d.line > 0 ? static_cast<size_t>(d.line - 1) : 0;
      std::string message = d.message;
      if (d.file != doc->path()) {
        // A line of an imported library: shown on the %import line that brought it in.
        message = d.file + ":" + std::to_string(d.line) + ": " + message;
        line = 0;
        for (const auto& [name, at] : imports)
          if (d.file == "lib/" + name + ".qnlib") line = at;
      }
      if (!lines.empty()) line = std::min(line, lines.size() - 1);
      json r = lineRange(lines, line);
      if (d.column > 0 && line < lines.size())
        r["start"]["character"] = utf16ColumnOf(lines[line], static_cast<size_t>(d.column - 1));
      list.push_back({{"range", r},
                      {"severity", d.severity == Diagnostic::Severity::Error ? kSeverityError
                                                                             : kSeverityWarning},
                      {"source", "qn"},
                      {"message", message}});
    }
  }
  return notification("textDocument/publishDiagnostics", {{"uri", uri}, {"diagnostics", list}});
}

json LanguageServer::documentSymbols(const std::string& uri) const {
  json list = json::array();
  auto doc = document(uri);
  if (!doc) return list;
  for (const SourceSymbol& s : doc->symbols()) {
    json r = lineRange(doc->lines(), s.line);
    bool procedure = s.kind == SourceSymbol::Kind::Procedure;
    list.push_back({{"name", s.name},
                    {"detail", procedure ? "procedure" : "label"},
                    {"kind", procedure ? kSymbolFunction : kSymbolKey},
                    {"range", r},
                    {"selectionRange", r}});
  }
  return list;
}

json LanguageServer::definition(const json& params) const {
  auto doc = document(documentUri(params));
  if (!doc) return nullptr;
  auto [line, offset] = bytePosition(*doc, params);
  if (line >= doc->lines().size()) return nullptr;
  namespace fs = std::filesystem;
  const fs::path root = libraryRoot(*doc);
  std::error_code ec;
  auto location = [&](const std::string& path, size_t at, const std::vector<std::string>& lines) {
    return json{{"uri", uriOfPath(path)}, {"range", lineRange(lines, at)}};
  };
  if (auto library = doc->importAt(line)) {
    fs::path file = root / "lib" / (*library + ".qnlib");
    if (!fs::is_regular_file(file, ec)) return nullptr;
    return json{{"uri", uriOfPath(file.string())}, {"range", range(0, 0, 0)}};
  }
  auto word = wordAt(doc->lines()[line], offset);
  if (!word) return nullptr;
  auto label = doc->labelReferenceAt(line, word->text);
  if (!label) return nullptr;
  // A method of a class is called as CLASS.NAME and defined as NAME.
  std::vector<std::string> candidates = {*label};
  if (size_t dot = label->rfind('.'); dot != std::string::npos && dot > 2)
    candidates.push_back("::" + label->substr(dot + 1));
  for (const std::string& wanted : candidates) {
    if (auto at = doc->labelLine(wanted)) return location(doc->path(), *at, doc->lines());
    for (const auto& [name, importLine] : doc->imports()) {
      fs::path file = root / "lib" / (name + ".qnlib");
      try {
        QnDocument library(file.string(), readWholeFile(file.string()));
        if (auto at = library.labelLine(wanted))
          return location(file.string(), *at, library.lines());
      } catch (...) {
        continue;  // a library that cannot be read defines nothing
      }
    }
  }
  return nullptr;
}

const Guide& LanguageServer::guide() const {
  if (!guide_) {
    guide_ = Guide();
    for (const std::string& path : options_.guidePaths) {
      Guide g = Guide::fromFile(path);
      if (!g.empty()) {
        guide_ = std::move(g);
        break;
      }
    }
  }
  return *guide_;
}

json LanguageServer::hover(const json& params) const {
  auto doc = document(documentUri(params));
  if (!doc) return nullptr;
  auto [line, offset] = bytePosition(*doc, params);
  if (line >= doc->lines().size()) return nullptr;
  auto word = wordAt(doc->lines()[line], offset);
  if (!word) return nullptr;
  std::string text;
  if (const FTableItem* f = formulaFunction(word->text)) text = functionSummary(*f);
  if (auto entry = guide().entryFor(word->text)) text += (text.empty() ? "" : "\n\n") + *entry;
  if (text.empty()) return nullptr;
  const std::string& l = doc->lines()[line];
  return {{"contents", {{"kind", "markdown"}, {"value", text}}},
          {"range", range(line, utf16ColumnOf(l, word->start), utf16ColumnOf(l, word->end))}};
}

json LanguageServer::completion(const json& params) const {
  json items = json::array();
  std::set<std::string> seen;
  auto add = [&](std::string label, int kind, const std::string& detail) {
    if (label.empty() || !seen.insert(label).second) return;
    items.push_back({{"label", std::move(label)}, {"kind", kind}, {"detail", detail}});
  };
  if (auto doc = document(documentUri(params))) {
    for (const std::string& v : doc->variables()) add(v, kCompletionVariable, "variable");
    for (const SourceSymbol& s : doc->symbols())
      if (s.kind == SourceSymbol::Kind::Procedure) add(s.name, kCompletionFunction, "procedure");
  }
  for (const FTableItem& f : kFunctionTable)
    add(std::string(f.name), kCompletionFunction, functionSummary(f));
  for (std::string_view k : syntaxKeywords()) {
    const unsigned char first = static_cast<unsigned char>(k.front());
    if ((first >= 'A' && first <= 'Z') || first == '%' || first == '@')
      add(trim(k), kCompletionKeyword, "keyword");
  }
  return {{"isIncomplete", false}, {"items", items}};
}

int serve(std::istream& in, std::ostream& out, ServerOptions options) {
  LanguageServer server(std::move(options));
  while (!server.exited()) {
    Frame frame = readFrame(in);
    std::vector<json> replies;
    switch (frame.kind) {
      case Frame::Kind::End:
        return 1;  // the client went away without exit
      case Frame::Kind::BadHeader:
        replies.push_back(LanguageServer::frameError("a message needs a Content-Length header"));
        break;
      case Frame::Kind::TooLarge:
        replies.push_back(LanguageServer::frameError("the message is too large"));
        break;
      case Frame::Kind::Message:
        replies = server.handle(frame.body);
        break;
    }
    for (const json& reply : replies)
      writeFrame(out, reply.dump(-1, ' ', false, json::error_handler_t::replace));
  }
  return server.exitStatus();
}

}  // namespace trel::lsp
