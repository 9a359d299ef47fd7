// The splash window: borderless, on top, centred, showing the start-up picture for two seconds.
#pragma once

#include <QImage>
#include <QTimer>
#include <QWidget>

namespace trel::gui {

// The start-up picture, 640 x 400 pixels at 24 bits, drawn by the program itself.
QImage splashPicture();

class SplashWindow : public QWidget {
  Q_OBJECT
 public:
  SplashWindow();
  // Shows the window; its timer hides it after `milliseconds` (Timer1Timer).
  void showFor(int milliseconds);
  const QImage& picture() const { return picture_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage picture_;
  QTimer timer1_;
};

}  // namespace trel::gui
