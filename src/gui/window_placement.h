// Where windows go on the screen: every window the IDE places stands wholly on the screen it
// opens on, as far as its size allows.
#pragma once

#include <QPoint>
#include <QRect>

class QWidget;

namespace trel::gui {

// The frame moved (not resized) into `room`: pushed left and up off the far edges, then right and
// down onto the near ones, so a frame larger than the room keeps its top-left corner visible.
QRect fitInto(QRect frame, const QRect& room);

// The available area of the screen that holds `point` (the primary screen when none does).
QRect roomAround(const QPoint& point);

// The frame's size as it will be once the window manager has framed the window: before the
// window is first shown, Qt knows only the client area, so the usual decoration is added.
QSize expectedFrameSize(const QWidget& window);

// Moves a top-level window so that its frame, with its top-left corner wanted at `topLeft`,
// lies on the screen there.
void placeWindow(QWidget& window, const QPoint& topLeft);
// Centres a top-level window on the screen that holds `centre` (its real size, frame included).
void centreWindow(QWidget& window, const QPoint& centre);
// Centres it on the primary screen's available area.
void centreOnPrimaryScreen(QWidget& window);

}  // namespace trel::gui
