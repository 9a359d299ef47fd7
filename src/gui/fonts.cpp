#include "gui/fonts.h"

#include <QFontDatabase>
#include <QFontInfo>

namespace trel::gui {

namespace {

// Point sizes: QScintilla takes its styles' sizes in points (96 dots per inch: 0.75 points a
// pixel).
QFont fixedPitch(const char* family, qreal points) {
  QFont font(QString::fromLatin1(family));
  font.setStyleHint(QFont::Monospace);
  font.setFixedPitch(true);
  font.setPointSizeF(points);
  // Name the family actually found: the editor control looks fonts up by family name alone.
  QFontInfo found(font);
  font.setFamily(found.fixedPitch() ? found.family()
                                    : QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
  return font;
}

QFont sansSerif(const char* family) {
  QFont font(QString::fromLatin1(family));
  font.setStyleHint(QFont::SansSerif);
  return font;
}

}  // namespace

QFont formFont() {
  QFont font = sansSerif("MS Sans Serif");
  font.setPixelSize(11);
  return font;
}

QFont editorFont() {
  return fixedPitch("Courier New", 9.75);
}

QFont gutterFont() {
  return fixedPitch("Courier New", 8.25);
}

QFont consoleFont() {
  return fixedPitch("Fixedsys", 9.75);
}

QFont labelFont() {
  QFont font = sansSerif("MS Sans Serif");
  font.setPointSize(8);
  return font;
}

}  // namespace trel::gui
