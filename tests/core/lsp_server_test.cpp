// qn lsp: scripted JSON-RPC exchanges, framed as an editor sends them, against the language server.
#include "lsp/language_server.h"

#include <gtest/gtest.h>

#include <sstream>

#include "process.h"

using json = nlohmann::json;
using trel::testing::TempDir;

namespace {

std::string frame(const std::string& body) {
  return "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

std::string request(int id, const std::string& method, const json& params = json::object()) {
  return frame(json{{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", params}}.dump());
}

std::string notify(const std::string& method, const json& params) {
  return frame(json{{"jsonrpc", "2.0"}, {"method", method}, {"params", params}}.dump());
}

struct Exchange {
  int status = -1;
  std::vector<json> messages;  // what the server wrote, in order

  // The answer to request `id`.
  json answerTo(int id) const {
    for (const json& m : messages)
      if (m.contains("id") && m["id"] == id) return m;
    return nullptr;
  }
  // The diagnostics last published for `uri`.
  json diagnosticsFor(const std::string& uri) const {
    json found;
    for (const json& m : messages)
      if (m.value("method", "") == "textDocument/publishDiagnostics" && m["params"]["uri"] == uri)
        found = m["params"]["diagnostics"];
    return found;
  }
};

// Runs the server over the whole script and splits its output into messages, checking the framing.
Exchange converse(const std::string& script) {
  std::istringstream in(script);
  std::ostringstream out;
  trel::lsp::ServerOptions options{"test", {std::string(TREL_SOURCE_DIR) + "/data/halp.rtf"}};
  Exchange e;
  e.status = trel::lsp::serve(in, out, options);
  std::string text = out.str();
  size_t at = 0;
  while (at < text.size()) {
    size_t headerEnd = text.find("\r\n\r\n", at);
    EXPECT_NE(headerEnd, std::string::npos);
    if (headerEnd == std::string::npos) break;
    std::string header = text.substr(at, headerEnd - at);
    EXPECT_EQ(header.rfind("Content-Length: ", 0), 0u) << header;
    size_t length = std::stoul(header.substr(16));
    e.messages.push_back(json::parse(text.substr(headerEnd + 4, length)));
    at = headerEnd + 4 + length;
  }
  return e;
}

const std::string kStart = request(1, "initialize", {{"rootUri", nullptr}, {"capabilities", {}}}) +
                           notify("initialized", json::object());
const std::string kEnd = request(99, "shutdown") + notify("exit", json::object());

json at(const std::string& uri, int line, int character) {
  return {{"textDocument", {{"uri", uri}}},
          {"position", {{"line", line}, {"character", character}}}};
}

json opened(const std::string& uri, const std::string& text) {
  return {{"textDocument", {{"uri", uri}, {"languageId", "qn"}, {"version", 1}, {"text", text}}}};
}

}  // namespace

TEST(LanguageServer, DiagnosticsArriveOnOpenAndChangeOnTheLinesQnNames) {
  TempDir dir("lsp");
  // A library that is not there stops the translation; qn names the line from 1.
  const std::string text = "%ECHO a\n%import nosuch%\n%ECHO b\n";
  std::string file = dir.write("open.qn", text);
  trel::testing::ProcessResult qn =
      trel::testing::runProcess(TREL_QN_PATH, {"translate", file}, {});
  std::string uri = "file://" + file;
  std::string fixed = "%ECHO a\nJUMP ::nowhere\n";
  Exchange e = converse(
      kStart + notify("textDocument/didOpen", opened(uri, text)) +
      notify("textDocument/didChange", {{"textDocument", {{"uri", uri}, {"version", 2}}},
                                        {"contentChanges", json::array({{{"text", fixed}}})}}) +
      kEnd);
  EXPECT_EQ(e.status, 0);
  // The first publication answers the open.
  json first;
  for (const json& m : e.messages)
    if (m.value("method", "") == "textDocument/publishDiagnostics") {
      first = m["params"]["diagnostics"];
      break;
    }
  ASSERT_EQ(first.size(), 2u) << first.dump();  // the error, and the warning on the same line
  EXPECT_EQ(first[0]["severity"], 1);
  EXPECT_EQ(first[1]["severity"], 2);
  size_t colon = qn.err.find(file + ":");
  ASSERT_NE(colon, std::string::npos) << qn.err;
  int qnLine = std::stoi(qn.err.substr(colon + file.size() + 1));
  EXPECT_EQ(first[0]["range"]["start"]["line"], qnLine - 1);
  EXPECT_NE(qn.err.find(first[0]["message"].get<std::string>()), std::string::npos);
  // After the change: a warning for the jump to a label no line defines, on line 1 (from 0).
  json second = e.diagnosticsFor(uri);
  ASSERT_EQ(second.size(), 1u) << second.dump();
  EXPECT_EQ(second[0]["severity"], 2);
  EXPECT_EQ(second[0]["range"]["start"]["line"], 1);
  EXPECT_EQ(second[0]["range"]["end"]["character"], 14);
}

TEST(LanguageServer, SymbolsDefinitionsAndLibraries) {
  TempDir dir("lsp");
  dir.write("lib/tools.qnlib",
            "JUMP ::tools.end\n::twice\nRG0:=RG1\nRG0+RG1\nRETURN\n::tools.end\n");
  const std::string text =
      "%import tools%\n"     // 0
      "call greet(,,,,)\n"   // 1
      "call twice(2,,,,)\n"  // 2
      "JUMP ::done\n"        // 3
      "def (greet)\n"        // 4
      "RETURN\n"             // 5
      "::done\n";            // 6
  std::string file = dir.write("projects/main.qn", text);
  std::string uri = "file://" + file;
  Exchange e =
      converse(kStart + notify("textDocument/didOpen", opened(uri, text)) +
               request(2, "textDocument/documentSymbol", {{"textDocument", {{"uri", uri}}}}) +
               request(3, "textDocument/definition", at(uri, 1, 7)) +
               request(4, "textDocument/definition", at(uri, 3, 8)) +
               request(5, "textDocument/definition", at(uri, 0, 3)) +
               request(6, "textDocument/definition", at(uri, 2, 6)) +
               request(7, "textDocument/definition", at(uri, 5, 2)) + kEnd);
  json symbols = e.answerTo(2)["result"];
  ASSERT_EQ(symbols.size(), 2u) << symbols.dump();
  EXPECT_EQ(symbols[0]["name"], "greet");
  EXPECT_EQ(symbols[0]["range"]["start"]["line"], 4);
  EXPECT_EQ(symbols[1]["name"], "::done");
  EXPECT_EQ(symbols[1]["range"]["start"]["line"], 6);
  EXPECT_EQ(e.answerTo(3)["result"]["range"]["start"]["line"], 4);  // call greet -> def (greet)
  EXPECT_EQ(e.answerTo(4)["result"]["range"]["start"]["line"], 6);  // JUMP ::done -> ::done
  std::string library = "file://" + dir.path() + "/lib/tools.qnlib";
  EXPECT_EQ(e.answerTo(5)["result"]["uri"], library);  // %import tools% -> the library
  EXPECT_EQ(e.answerTo(6)["result"]["uri"], library);  // call twice -> ::twice in the library
  EXPECT_EQ(e.answerTo(6)["result"]["range"]["start"]["line"], 1);
  EXPECT_TRUE(e.answerTo(7)["result"].is_null());  // RETURN defines nothing
  // The library is found from the folder above the document, so nothing is reported missing.
  EXPECT_TRUE(e.diagnosticsFor(uri).empty()) << e.diagnosticsFor(uri).dump();
}

TEST(LanguageServer, HoverQuotesTheGuideAndCompletionOffersWhatTheProgramHas) {
  const std::string uri = "file:///nowhere/hover.qn";
  // "é" is two bytes but one UTF-16 unit: positions after it count units, not bytes.
  const std::string text = "var total\ntotal:=é\n%ECHO total\n@FORMULA SQRT(16)\ndef (sum)\n";
  Exchange e = converse(kStart + notify("textDocument/didOpen", opened(uri, text)) +
                        request(2, "textDocument/hover", at(uri, 2, 2)) +
                        request(3, "textDocument/hover", at(uri, 3, 11)) +
                        request(4, "textDocument/hover", at(uri, 1, 8)) +
                        request(5, "textDocument/completion", at(uri, 0, 0)) + kEnd);
  json echo = e.answerTo(2)["result"];
  ASSERT_TRUE(echo.is_object()) << e.answerTo(2).dump();
  EXPECT_NE(echo["contents"]["value"].get<std::string>().find("ECHO"), std::string::npos);
  EXPECT_EQ(echo["range"]["start"]["character"], 0);
  EXPECT_EQ(echo["range"]["end"]["character"], 5);
  std::string sqrt = e.answerTo(3)["result"]["contents"]["value"];
  EXPECT_NE(sqrt.find("formula function SQRT, 1 argument"), std::string::npos) << sqrt;
  EXPECT_NE(sqrt.find("SQRT: "), std::string::npos) << sqrt;  // the guide's entry
  EXPECT_TRUE(e.answerTo(4)["result"].is_null());  // past the end of "total:=é": nothing there

  std::map<std::string, int> items;
  const json completion = e.answerTo(5);
  for (const json& item : completion["result"]["items"])
    items[item["label"].get<std::string>()] = item["kind"].get<int>();
  EXPECT_EQ(items["total"], 6);   // a declared variable
  EXPECT_EQ(items["sum"], 3);     // a procedure
  EXPECT_EQ(items["MIDSTR"], 3);  // a formula function
  EXPECT_EQ(items["WHILE"], 14);  // a keyword
  EXPECT_EQ(items.count("<>"), 0u);
}

TEST(LanguageServer, MalformedMessagesGetErrorsAndTheServerGoesOn) {
  Exchange e = converse(request(1, "textDocument/hover", at("file:///a.qn", 0, 0)) +  // too early
                        kStart + frame("{not json") + "Content-Type: x\r\n\r\n" +
                        "X-Junk: " + std::string(1 << 20, 'x') + "\r\n\r\n" + frame("[1,2]") +
                        request(2, "no/such/method") +
                        request(3, "textDocument/hover", {{"textDocument", 5}}) +
                        request(4, "shutdown") + kEnd);
  ASSERT_EQ(e.messages.size(), 10u);
  EXPECT_EQ(e.messages[0]["error"]["code"], -32002);
  EXPECT_TRUE(e.messages[1]["result"].contains("capabilities"));
  EXPECT_EQ(e.messages[2]["error"]["code"], -32700);
  EXPECT_TRUE(e.messages[2]["id"].is_null());
  EXPECT_EQ(e.messages[3]["error"]["code"], -32700);  // a header block without Content-Length
  EXPECT_EQ(e.messages[4]["error"]["code"], -32700);  // a header line of a megabyte
  EXPECT_EQ(e.messages[5]["error"]["code"], -32600);
  EXPECT_EQ(e.messages[6]["error"]["code"], -32601);
  EXPECT_EQ(e.messages[7]["error"]["code"], -32602);
  EXPECT_TRUE(e.messages[8]["result"].is_null());  // shutdown; later requests are refused
  EXPECT_EQ(e.answerTo(99)["error"]["code"], -32600);
  EXPECT_EQ(e.status, 0);
}

TEST(LanguageServer, EndsWithStatusOneWithoutShutdownOrAtTheEndOfInput) {
  EXPECT_EQ(converse(kStart + notify("exit", json::object())).status, 1);
  EXPECT_EQ(converse(kStart + "Content-Length: 500\r\n\r\n{\"cut").status, 1);
}
