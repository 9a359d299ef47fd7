#include "gui/editor_accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

#include <set>
#include <vector>

namespace trel::gui {

namespace {

QString& editorClassName() {
  static QString name;
  return name;
}

// Told by the activation observer; the platform's own flag answers before the first telling.
bool& toldListening() {
  static bool listening = false;
  return listening;
}

// An editor's interface while nothing listens: its role, name and place, no text.
class PlainEditorInterface : public QAccessibleWidget {
 public:
  explicit PlainEditorInterface(QWidget* editor)
      : QAccessibleWidget(editor, QAccessible::EditableText) {
    live().insert(this);
  }
  ~PlainEditorInterface() override { live().erase(this); }

  static std::set<PlainEditorInterface*>& live() {
    static std::set<PlainEditorInterface*> interfaces;
    return interfaces;
  }
};

// Asked with the most derived class name first: an answer here comes before the library's answer
// for its own base class.
QAccessibleInterface* plainWhileInactive(const QString& className, QObject* object) {
  if (QAccessible::isActive() || toldListening() || !object || !object->isWidgetType() ||
      className != editorClassName())
    return nullptr;
  return new PlainEditorInterface(static_cast<QWidget*>(object));
}

class DropPlainOnActivation : public QAccessible::ActivationObserver {
 public:
  void accessibilityActiveChanged(bool active) override {
    toldListening() = active;
    if (!active) return;
    // Deleting through the cache also forgets the editor's entry in it; each deletion takes the
    // interface out of the live set, hence the copy.
    const std::vector<PlainEditorInterface*> plain(PlainEditorInterface::live().begin(),
                                                   PlainEditorInterface::live().end());
    for (PlainEditorInterface* iface : plain)
      QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(iface));
  }
};

}  // namespace

void holdBackEditorAccessibilityWhileInactive(const QMetaObject& editorClass) {
  if (!editorClassName().isEmpty()) return;
  editorClassName() = QString::fromLatin1(editorClass.className());
  QAccessible::installFactory(plainWhileInactive);
  QAccessible::installActivationObserver(new DropPlainOnActivation);  // for the process's life
}

}  // namespace trel::gui
