#include "gui/made_windows.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

#include "gui/fonts.h"
#include "gui/text_bytes.h"

namespace trel::gui {

namespace {

// Sizes and positions come from program registers; keep them within what a screen can use.
constexpr int kMaxExtent = 8192;

int clampExtent(int value) {
  return std::clamp(value, 0, kMaxExtent);
}

}  // namespace

MadeForm::MadeForm(std::string name, ClickHandler onClick)
    : QWidget(nullptr, Qt::Window), name_(std::move(name)), onClick_(std::move(onClick)) {
  setAttribute(Qt::WA_QuitOnClose, false);
}

void MadeForm::setPixel(int x, int y, uint32_t colour) {
  if (x < 0 || y < 0 || x >= kMaxExtent || y >= kMaxExtent) return;
  uint32_t key = static_cast<uint32_t>(y / kTile) << 16 | static_cast<uint32_t>(x / kTile);
  QImage& tile = tiles_[key];
  if (tile.isNull()) {
    tile = QImage(kTile, kTile, QImage::Format_ARGB32);
    tile.fill(Qt::transparent);
  }
  QRgb rgb = qRgb(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
  tile.setPixel(x % kTile, y % kTile, rgb);
  update(x, y, 1, 1);
}

QColor MadeForm::pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= kMaxExtent || y >= kMaxExtent) return QColor();
  auto it = tiles_.find(static_cast<uint32_t>(y / kTile) << 16 | static_cast<uint32_t>(x / kTile));
  if (it == tiles_.end()) return QColor();
  QColor c = QColor::fromRgba(it->second.pixel(x % kTile, y % kTile));
  return c.alpha() ? c : QColor();
}

void MadeForm::paintEvent(QPaintEvent* event) {
  if (tiles_.empty()) return;
  QPainter p(this);
  const QRect area = event->rect();
  const int firstX = std::max(0, area.left()) / kTile, lastX = std::max(0, area.right()) / kTile;
  const int firstY = std::max(0, area.top()) / kTile, lastY = std::max(0, area.bottom()) / kTile;
  for (int ty = firstY; ty <= lastY; ++ty)
    for (int tx = firstX; tx <= lastX; ++tx) {
      auto it = tiles_.find(static_cast<uint32_t>(ty) << 16 | static_cast<uint32_t>(tx));
      if (it != tiles_.end()) p.drawImage(tx * kTile, ty * kTile, it->second);
    }
}

void MadeForm::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && onClick_) onClick_("TForm", name_);
}

MadeLabel::MadeLabel(std::string name, const QString& caption, QWidget* parent,
                     ClickHandler onClick)
    : QLabel(caption, parent), name_(std::move(name)), onClick_(std::move(onClick)) {
  setFont(labelFont());
  QPalette pal = palette();
  pal.setColor(QPalette::WindowText, Qt::black);
  setPalette(pal);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void MadeLabel::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && onClick_) onClick_("TLabel", name_);
}

MadeWindows::~MadeWindows() = default;

uint64_t MadeWindows::makeForm(const std::string& name, const std::string& caption, int width,
                               int height) {
  auto form = std::make_unique<MadeForm>(freshName(name), onClick_);
  form->setWindowTitle(fromBytes(caption));
  form->resize(std::max(1, clampExtent(width)), std::max(1, clampExtent(height)));
  form->show();
  uint64_t handle = static_cast<uint64_t>(form->winId());
  byHandle_[handle] = form.get();
  forms_.push_back(std::move(form));
  return handle;
}

std::string MadeWindows::freshName(const std::string& name) {
  std::string fresh = name;
  for (int n = 2; names_.count(fresh); ++n) fresh = name + "_" + std::to_string(n);
  names_.insert(fresh);
  return fresh;
}

MadeForm* MadeWindows::formByHandle(uint64_t handle) const {
  auto it = byHandle_.find(handle);
  return it == byHandle_.end() ? nullptr : it->second;
}

void MadeWindows::makeLabel(uint64_t form, const std::string& name, const std::string& caption,
                            int left, int top, int height) {
  MadeForm* parent = formByHandle(form);
  auto label = std::make_unique<MadeLabel>(freshName(name), fromBytes(caption), parent, onClick_);
  label->adjustSize();
  label->setGeometry(std::clamp(left, -kMaxExtent, kMaxExtent),
                     std::clamp(top, -kMaxExtent, kMaxExtent), label->width(), std::max(0, height));
  if (parent) {
    label->show();
    label.release();  // the window owns it now
  } else {
    orphans_.push_back(std::move(label));
  }
}

void MadeWindows::drawPixel(uint64_t form, uint32_t colour, int x, int y) {
  if (MadeForm* f = formByHandle(form)) f->setPixel(x, y, colour);
}

}  // namespace trel::gui
