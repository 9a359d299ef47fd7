#include "gui/value_text.h"

#include <string>

#include "gui/text_bytes.h"

namespace trel::gui {

namespace {

const char kHexDigits[] = "0123456789ABCDEF";

std::string_view shownPart(std::string_view value, bool& cut) {
  cut = value.size() > kShownValueBytes;
  return cut ? value.substr(0, kShownValueBytes) : value;
}

}  // namespace

QString readableValue(std::string_view value) {
  bool cut = false;
  std::string text;
  for (unsigned char c : shownPart(value, cut)) {
    if (c < 32 || c == 127 || c == '\\') {
      text += "\\x";
      text += kHexDigits[c >> 4];
      text += kHexDigits[c & 15];
    } else {
      text += static_cast<char>(c);
    }
  }
  QString shown = fromBytes(text);
  if (cut) shown += QChar(0x2026);
  return shown;
}

QString hexValue(std::string_view value) {
  bool cut = false;
  std::string text;
  for (unsigned char c : shownPart(value, cut)) {
    if (!text.empty()) text += ' ';
    text += kHexDigits[c >> 4];
    text += kHexDigits[c & 15];
  }
  QString shown = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
  if (cut) shown += QChar(0x2026);
  return shown;
}

}  // namespace trel::gui
