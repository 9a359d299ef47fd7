#include "resources/embedded_code.h"

#include "resources/resources.h"
#include "resources/string_table.h"
#include "rtl/integer_text.h"

namespace trel {

std::string encodeEmbeddedCode(std::string_view program) {
  std::string out;
  out.reserve(program.size() * 2);
  for (char c : program) {
    auto v = static_cast<uint8_t>(c);
    out.push_back("0123456789ABCDEF"[v >> 4]);
    out.push_back("0123456789ABCDEF"[v & 15]);
  }
  return out;
}

void decodeEmbeddedCode(std::string_view entry, std::string& program) {
  entry = entry.substr(0, entry.find_first_of(std::string_view("\0\r\n", 3)));
  program.reserve(program.size() + entry.size() / 2);
  for (size_t p = 0; p < entry.size(); p += 2) {
    std::string_view piece = entry.substr(p, 2);
    int value = 0;
    for (char c : piece) {
      int d = hexDigit(c);
      if (d < 0) throwInvalidInteger(piece);
      value = value * 16 + d;
    }
    if (value != 0) program.push_back(static_cast<char>(value));
  }
}

std::string readEmbeddedEntry(const std::string& executablePath) {
  return readEmbeddedEntry(executablePath, executablePath);
}

std::string readEmbeddedEntry(const std::string& executablePath, const std::string& shownAs) {
  return loadString(loadExecutableResources(executablePath, shownAs).resources,
                    kEmbeddedCodeString);
}

}  // namespace trel
