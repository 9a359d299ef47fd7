// What assistive technology (a screen reader) sees of the source editor. The editor library's
// own interface tells of every caret move by counting the characters from the start of the text
// to the caret, about 10 ns a byte, whether or not anyone listens: 15 ms a keystroke at the end of
// a 100,000-line text. While nothing listens (QAccessible::isActive() is false) the editor gets a
// plain widget interface instead, which tells of nothing; when something starts listening the
// plain interfaces are dropped, so the next question about an editor gets the library's full text
// interface.
#pragma once

#include <QMetaObject>

namespace trel::gui {

// From the first call on, editors of the class `editorClass` get the plain interface while no
// assistive technology listens. Later calls do nothing.
void holdBackEditorAccessibilityWhileInactive(const QMetaObject& editorClass);

}  // namespace trel::gui
