#include "gui/splash_window.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QScreen>

namespace trel::gui {

QImage splashPicture() {
  QImage image(640, 400, QImage::Format_RGB888);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);

  QLinearGradient sky(0, 0, 0, 400);
  sky.setColorAt(0, QColor(12, 16, 28));
  sky.setColorAt(1, QColor(4, 4, 8));
  p.fillRect(image.rect(), sky);
  QRadialGradient glow(470, 150, 260);
  glow.setColorAt(0, QColor(255, 102, 0, 90));
  glow.setColorAt(1, QColor(255, 102, 0, 0));
  p.fillRect(image.rect(), glow);

  // A column of low-level code fading to the right, the language's own look.
  QFont code("Courier New");
  code.setStyleHint(QFont::Monospace);
  code.setPixelSize(13);
  p.setFont(code);
  const char* lines[] = {"::main",        "  var n", "  n:=10",   "::loop",
                         "  %ECHO n",     "  n-1",   "  CMP n,0", "  IF > ::loop",
                         "  CALL ::done", "HALT",    "::done",    "  RETURN"};
  int y = 48;
  for (const char* line : lines) {
    bool label = line[0] == ':';
    p.setPen(label ? QColor(255, 102, 0, 170) : QColor(200, 200, 200, 120));
    p.drawText(40, y, QString::fromLatin1(line));
    y += 24;
  }

  QFont title("DejaVu Sans");
  title.setStyleHint(QFont::SansSerif);
  title.setPixelSize(96);
  title.setBold(true);
  QPainterPath word;
  word.addText(260, 210, title, QStringLiteral("Trel"));
  QLinearGradient ink(260, 120, 260, 220);
  ink.setColorAt(0, QColor(255, 190, 120));
  ink.setColorAt(1, QColor(255, 102, 0));
  p.fillPath(word, ink);

  QFont sub("DejaVu Sans");
  sub.setPixelSize(20);
  p.setFont(sub);
  p.setPen(QColor(230, 230, 230));
  p.drawText(264, 250, QStringLiteral("QN+ development environment"));
  p.setPen(QColor(255, 102, 0));
  p.drawLine(264, 266, 560, 266);
  sub.setPixelSize(13);
  p.setFont(sub);
  p.setPen(QColor(150, 150, 160));
  p.drawText(264, 292, QStringLiteral("translate  \u00b7  run  \u00b7  build"));
  p.drawText(264, 370, QStringLiteral("starting\u2026"));
  return image;
}

SplashWindow::SplashWindow()
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      picture_(splashPicture()) {
  setWindowTitle(QStringLiteral("Trel"));
  setAttribute(Qt::WA_QuitOnClose, false);
  setFixedSize(638, 405);
  timer1_.setSingleShot(true);
  connect(&timer1_, &QTimer::timeout, this, &QWidget::hide);
}

void SplashWindow::showFor(int milliseconds) {
  if (QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
  show();
  timer1_.start(milliseconds);
}

void SplashWindow::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().color(QPalette::Window));
  // The picture is stretched to 638 x 403, as the window's image control holds it.
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  p.drawImage(QRect(0, 0, 638, 403), picture_);
}

}  // namespace trel::gui
