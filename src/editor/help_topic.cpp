#include "editor/help_topic.h"

#include "editor/syntax_scanner.h"

namespace trel {

namespace {

bool isNameChar(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

unsigned char upper(unsigned char c) {
  return c >= 'a' && c <= 'z' ? c - 32 : c;
}

bool equalsNoCase(std::string_view text, std::string_view word) {
  if (text.size() != word.size()) return false;
  for (size_t i = 0; i < word.size(); ++i)
    if (upper(static_cast<unsigned char>(text[i])) != upper(static_cast<unsigned char>(word[i])))
      return false;
  return true;
}

// The longest name that stands at a place covering the caret. A name that starts or ends with a
// letter must not run on into a longer word there ("VARIABLE" is not "VAR").
void consider(std::string_view line, size_t column, std::string_view name, std::string& best) {
  std::string_view trimmed = name.substr(0, name.find_last_not_of(' ') + 1);
  if (trimmed.empty() || trimmed.size() <= best.size()) return;
  const size_t first = column >= trimmed.size() ? column - trimmed.size() : 0;
  for (size_t at = first; at <= column && at + trimmed.size() <= line.size(); ++at) {
    if (!equalsNoCase(line.substr(at, trimmed.size()), trimmed)) continue;
    const size_t end = at + trimmed.size();
    if (isNameChar(static_cast<unsigned char>(trimmed.front())) && at > 0 &&
        isNameChar(static_cast<unsigned char>(line[at - 1])))
      continue;
    if (isNameChar(static_cast<unsigned char>(trimmed.back())) && end < line.size() &&
        isNameChar(static_cast<unsigned char>(line[end])))
      continue;
    best.assign(trimmed);
    return;
  }
}

}  // namespace

std::string helpTopicAt(std::string_view line, size_t column,
                        const std::vector<std::string_view>& functionNames) {
  if (column > line.size()) column = line.size();
  std::string best;
  for (std::string_view k : syntaxKeywords()) consider(line, column, k, best);
  for (std::string_view f : functionNames) consider(line, column, f, best);
  for (char& c : best) c = static_cast<char>(upper(static_cast<unsigned char>(c)));
  return best;
}

}  // namespace trel
