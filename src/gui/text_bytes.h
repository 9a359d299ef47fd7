// The core's texts are bytes; the windows show and edit them as UTF-8.
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace trel::gui {

inline QString fromBytes(std::string_view bytes) {
  return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

inline std::string toBytes(const QString& text) {
  QByteArray utf8 = text.toUtf8();
  return std::string(utf8.constData(), static_cast<size_t>(utf8.size()));
}

}  // namespace trel::gui
