#include "gui/made_windows_icon.h"

#include <QImage>
#include <QPixmap>

#include <optional>

#include "resources/icon_image.h"

namespace trel::gui {

QIcon programIcon(const std::string& executablePath) {
  std::optional<IconPicture> icon = loadProgramIcon(executablePath);
  if (!icon) return {};
  QImage image;
  if (!icon->png.empty()) {
    image.loadFromData(reinterpret_cast<const uchar*>(icon->png.data()),
                       static_cast<int>(icon->png.size()), "PNG");
  } else if (icon->width > 0 && icon->height > 0 &&
             icon->argb.size() ==
                 static_cast<size_t>(icon->width) * static_cast<size_t>(icon->height)) {
    image = QImage(icon->width, icon->height, QImage::Format_ARGB32);
    for (int y = 0; y < icon->height; ++y)
      for (int x = 0; x < icon->width; ++x)
        image.setPixel(x, y,
                       icon->argb[static_cast<size_t>(y) * static_cast<size_t>(icon->width) +
                                  static_cast<size_t>(x)]);
  }
  return image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image));
}

}  // namespace trel::gui
