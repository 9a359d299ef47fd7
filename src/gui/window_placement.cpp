#include "gui/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace trel::gui {

namespace {

// A title bar and thin borders, as most window managers draw them; used only before the first
// show, when the real decoration is not known yet.
constexpr int kTitleBar = 30;
constexpr int kBorder = 2;

}  // namespace

QRect fitInto(QRect frame, const QRect& room) {
  if (room.isEmpty()) return frame;
  frame.moveRight(std::min(frame.right(), room.right()));
  frame.moveBottom(std::min(frame.bottom(), room.bottom()));
  frame.moveLeft(std::max(frame.left(), room.left()));
  frame.moveTop(std::max(frame.top(), room.top()));
  return frame;
}

QRect roomAround(const QPoint& point) {
  QScreen* screen = QGuiApplication::screenAt(point);
  if (!screen) screen = QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry() : QRect();
}

QSize expectedFrameSize(const QWidget& window) {
  QSize size = window.size();
  QRect frame = window.frameGeometry();
  if (window.testAttribute(Qt::WA_WState_Created) && frame.size() != size) return frame.size();
  if (window.windowFlags() & Qt::FramelessWindowHint) return size;
  if (QGuiApplication::platformName() == QLatin1String("offscreen")) return size;
  return size + QSize(2 * kBorder, kTitleBar + kBorder);
}

void placeWindow(QWidget& window, const QPoint& topLeft) {
  QSize frameSize = expectedFrameSize(window);
  QRect frame = fitInto(QRect(topLeft, frameSize), roomAround(topLeft));
  // move() places the frame's top-left corner of a top-level window.
  if (frame.topLeft() != window.frameGeometry().topLeft() || !window.isVisible())
    window.move(frame.topLeft());
}

void centreWindow(QWidget& window, const QPoint& centre) {
  QRect frame(QPoint(), expectedFrameSize(window));
  frame.moveCenter(centre);
  placeWindow(window, frame.topLeft());
}

void centreOnPrimaryScreen(QWidget& window) {
  QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  centreWindow(window, screen->availableGeometry().center());
}

}  // namespace trel::gui
