// The fonts of the windows. The design names Windows fonts; where a family is missing the
// nearest font of the same kind is taken (a fixed-pitch family stays fixed-pitch, since the editor
// and the console line their text up in columns).
#pragma once

#include <QFont>

namespace trel::gui {

QFont formFont();     // the main window: MS Sans Serif at 11 pixels
QFont editorFont();   // the source editor: Courier New at 13 pixels, fixed pitch
QFont gutterFont();   // the editor's line numbers: Courier New at 11 pixels
QFont consoleFont();  // the console output: Fixedsys
QFont labelFont();    // labels made by programs: MS Sans Serif, 8 point

}  // namespace trel::gui
