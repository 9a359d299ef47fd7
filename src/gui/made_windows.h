// Windows and labels that running programs make (%MAKE_FORM, %MAKE_LABEL, %DRAW_FORM). They live
// until the application ends; closing one only hides it. Each run names its windows formx1,
// formx2 ... and its labels label1, label2 ... again; a name that a window or label of an earlier
// run still holds gets "_2" (or the next free number) added, so a click always tells which one it
// was. Pixels are kept in a backing image, so
// they survive every repaint. A click on a window or label is passed on with the control's class
// name ("TForm" or "TLabel") and its component name.
#pragma once

#include <QImage>
#include <QLabel>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace trel::gui {

using ClickHandler = std::function<void(const std::string& senderClass, const std::string& name)>;

class MadeForm : public QWidget {
  Q_OBJECT
 public:
  MadeForm(std::string name, ClickHandler onClick);
  const std::string& componentName() const { return name_; }
  // Sets one pixel; colour is red in the lowest byte, then green, then blue.
  void setPixel(int x, int y, uint32_t colour);
  QColor pixel(int x, int y) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  std::string name_;
  ClickHandler onClick_;
  // The pixels drawn, in tiles of kTile x kTile made when a pixel first lands in them (a window
  // costs memory for what was drawn on it, not for its size); transparent where nothing was drawn.
  static constexpr int kTile = 64;
  std::unordered_map<uint32_t, QImage> tiles_;
};

class MadeLabel : public QLabel {
  Q_OBJECT
 public:
  MadeLabel(std::string name, const QString& caption, QWidget* parent, ClickHandler onClick);
  const std::string& componentName() const { return name_; }

 protected:
  void mousePressEvent(QMouseEvent* event) override;

 private:
  std::string name_;
  ClickHandler onClick_;
};

class MadeWindows {
 public:
  explicit MadeWindows(ClickHandler onClick) : onClick_(std::move(onClick)) {}
  ~MadeWindows();

  // Makes and shows a window; answers its native handle.
  uint64_t makeForm(const std::string& name, const std::string& caption, int width, int height);
  // A label on the window with that handle; with no such window it is made without a parent and
  // stays hidden.
  void makeLabel(uint64_t form, const std::string& name, const std::string& caption, int left,
                 int top, int height);
  void drawPixel(uint64_t form, uint32_t colour, int x, int y);

  MadeForm* formByHandle(uint64_t handle) const;
  const std::vector<std::unique_ptr<MadeForm>>& forms() const { return forms_; }
  const std::vector<std::unique_ptr<MadeLabel>>& orphanLabels() const { return orphans_; }

 private:
  // `name`, or the first of name_2, name_3 ... that no control made before holds.
  std::string freshName(const std::string& name);

  ClickHandler onClick_;
  std::unordered_set<std::string> names_;
  std::vector<std::unique_ptr<MadeForm>> forms_;
  std::unordered_map<uint64_t, MadeForm*> byHandle_;
  std::vector<std::unique_ptr<MadeLabel>> orphans_;
};

}  // namespace trel::gui
