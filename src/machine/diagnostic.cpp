#include "machine/diagnostic.h"

namespace trel {

std::string Diagnostic::format() const {
  std::string out = file + ":" + std::to_string(line);
  if (column > 0) out += ":" + std::to_string(column);
  out += severity == Severity::Error ? ": error: " : ": warning: ";
  // One diagnostic is one line: line breaks inside the message become blanks.
  for (size_t i = 0; i < message.size(); ++i) {
    char c = message[i];
    if (c == '\r' && i + 1 < message.size() && message[i + 1] == '\n') ++i;
    out += (c == '\r' || c == '\n') ? ' ' : c;
  }
  return out;
}

Diagnostic diagnosticAt(const SourceMap& map, SourceLocation location, std::string message,
                        Diagnostic::Severity severity) {
  Diagnostic d;
  d.severity = severity;
  d.file = map.fileName(location.file);
  d.line = location.line;
  d.message = std::move(message);
  return d;
}

}  // namespace trel
