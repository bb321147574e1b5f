#include "ui/utilities/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>

#include "core/utilities/DialogCentring.h"

namespace tavrin {

void centreOnScreen(QWidget& window) {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    const DialogPlace place =
        centredOn(area.left(), area.top(), area.width(), area.height(), window.width(), window.height());
    window.move(place.left, place.top);
}

void bringUp(QWidget& window) {
    window.show();
    window.raise();
    window.activateWindow();
}

}  // namespace tavrin
