#include "ui/utilities/AccessiblePopups.h"

#include <QAccessibleObject>
#include <QGuiApplication>
#include <QWindow>

namespace tavrin {
namespace {

class ApplicationWithPopups final : public QAccessibleApplication {
  public:
    int childCount() const override { return static_cast<int>(windows().size()); }
    QAccessibleInterface* child(int index) const override {
        const QObjectList all = windows();
        return index >= 0 && index < all.size() ? QAccessible::queryAccessibleInterface(all.at(index))
                                                : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child ? static_cast<int>(windows().indexOf(child->object())) : -1;
    }

  private:
    // The toolkit's own list, less its rule that pop-ups do not count.
    static QObjectList windows() {
        QObjectList out;
        for (QWindow* window : QGuiApplication::topLevelWindows()) {
            if (window->type() == Qt::Desktop) continue;
            if (window->type() == Qt::Popup && !window->isVisible()) continue;
            if (QAccessibleInterface* root = window->accessibleRoot())
                if (root->object()) out.append(root->object());
        }
        return out;
    }
};

QAccessibleInterface* applicationInterface(const QString&, QObject* object) {
    return object == qApp ? new ApplicationWithPopups : nullptr;
}

}  // namespace

void includePopupsInAccessibilityTree() {
    QAccessible::installFactory(applicationInterface);
}

}  // namespace tavrin
