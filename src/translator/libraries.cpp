// %import NAME%: a library's text goes in front of the program.
#include <filesystem>
#include <system_error>

#include "rtl/text.h"
#include "translator/translation.h"

namespace trel {

namespace {

// Lone CR or LF line ends become CR LF; a text that does not end with a line break gets one, so
// it never runs into the line that follows it.
std::string normaliseLibraryText(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      out += "\r\n";
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out.push_back(c);
    }
  }
  if (!out.empty() && out.back() != '\n') out += "\r\n";
  return out;
}

}  // namespace

void importLibrary(Translation& t, const std::string& statement) {
  std::string rest = afterKeyword(statement, Statement::Import);
  size_t percent = rest.find('%');
  std::string name = percent == std::string::npos ? std::string() : rest.substr(0, percent);
  std::error_code ec;
  std::filesystem::path path = std::filesystem::current_path(ec) / "lib" / (name + ".qnlib");
  if (ec || !std::filesystem::is_regular_file(path, ec)) {
    t.errorStop("Can not import! File not found");
    return;
  }
  std::string text;
  try {
    text = readWholeFile(path.string());
  } catch (...) {
    // A library that exists but cannot be read abandons the translation: `code` is left empty.
    t.m.code.clear();
    throw;
  }
  t.m.Memo1 = normaliseLibraryText(text);
  t.imports.push_back({t.importText.size(), t.addFile("lib/" + name + ".qnlib")});
  t.importText += t.m.Memo1;
  // The pass goes on with the next entry. (Starting again from the top would find the entries
  // before this one as it left them: translated, they hold no statement any more, and every
  // import would cost a walk over the whole list.)
  t.setEntry(t.index, "");
}

}  // namespace trel
